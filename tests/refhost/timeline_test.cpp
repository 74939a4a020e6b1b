// The timeline: the key strip follows the picked joint, lines up with the
// trackbar, and a click on it goes to a key's time with its pose.
#include <windows.h>
#include <commctrl.h>
#include "refhost_fixture.h"
#include "desktop/message_pump.h"

TEST(Timeline, TheKeyStripShowsThePickedJointsKeysUnderTheTrackbarsThumb)
{
    TestHost host = make_host(sample_scene_path());
    host->show(SW_SHOW);
    SimShape* elbow = host->scene().find("Elbow");
    SimShape* wrist = host->scene().find("Wrist");
    elbow->add_key(0, Quaternion(1, 0, 0, 0));
    elbow->add_key(40, Quaternion(0, 0, 0, 1));
    host->select({elbow});
    EXPECT_EQ(host->key_strip().key_times(), (std::vector<float>{0, 40}));

    // Each time's mark stands where the thumb stands at that time.
    for (float time : {0.0f, 40.0f, 100.0f}) {
        host->set_time(time);
        RECT thumb;
        SendMessageA(host->time_slider(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        POINT centre = {(thumb.left + thumb.right) / 2, 0};
        MapWindowPoints(host->time_slider(), host->key_strip().window(), &centre, 1);
        EXPECT_NEAR(host->key_strip().x_of(time), centre.x, 2) << "at time " << time;
    }

    host->select({wrist});
    EXPECT_TRUE(host->key_strip().key_times().empty());
}

TEST(Timeline, AClickOnTheStripGoesToTheNearestKeyWithItsPose)
{
    TestHost host = make_host(sample_scene_path());
    host->show(SW_SHOW);
    SimShape* elbow = host->scene().find("Elbow");
    elbow->add_key(10, Quaternion(1, 0, 0, 0));
    elbow->add_key(70, Quaternion(0, 1, 0, 0));
    host->select({elbow});
    const int refreshes = host->refresh_notifications();

    const int x = host->key_strip().x_of(70) - 3;
    SendMessageA(host->key_strip().window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 5));
    EXPECT_EQ(host->scene().current_time(), 70.0f);
    EXPECT_EQ(SendMessageA(host->time_slider(), TBM_GETPOS, 0, 0), 70);
    EXPECT_EQ(elbow->rotation().x, 1.0f);
    EXPECT_EQ(host->refresh_notifications(), refreshes + 1);
}

TEST(Timeline, TheAutoKeyBoxIsTheApplicationsSwitch)
{
    TestHost host = make_host(sample_scene_path());
    EXPECT_FALSE(host->host().auto_key());
    SendMessageA(host->auto_key_box(), BM_CLICK, 0, 0);
    EXPECT_TRUE(host->host().auto_key());
    SendMessageA(host->auto_key_box(), BM_CLICK, 0, 0);
    EXPECT_FALSE(host->host().auto_key());
}
