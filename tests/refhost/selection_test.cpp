// Picking shapes: the viewport's keys, a click in the view and the shape list,
// each telling the plug-in, whose panel lets go when two are picked.
#include <windows.h>
#include "panel/resource.h"
#include "refhost_fixture.h"
#include "desktop/message_pump.h"
#include "desktop/real_input.h"

// A click in the view then activates the host, and its panel (an owned
// window) stays above it, as on Windows: a drag of the panel's slider turns
// the joint the click picked.
TEST(Selection, TheViewportsKeysStepAddAndClearAndAClickLeavesThePanelAboveTheHost)
{
    TestHost host = make_host(sample_scene_path());
    host->show(SW_SHOW);
    host->open_panel();
    HWND panel = host->panel_window();
    ASSERT_TRUE(pump_until([&] { return IsWindowVisible(panel) != 0; }));
    activate_for_input(host->window(), host->viewport());
    const int relinks = host->relink_notifications();

    press_key(VK_RIGHT);
    press_key(VK_RIGHT);
    ASSERT_TRUE(pump_until([&] { return host->scene().selection().size() == 1 &&
                                        host->scene().selection()[0]->name() == "Elbow"; }));
    EXPECT_TRUE(pump_until([&] { return IsWindowEnabled(GetDlgItem(panel, IDC_PITCH_SLIDER)) != 0; }));

    key_down(VK_SHIFT);
    press_key(VK_RIGHT);
    key_up(VK_SHIFT);
    ASSERT_TRUE(pump_until([&] { return host->scene().selection().size() == 2; }));
    EXPECT_EQ(names_of(host->scene().selection()), (std::vector<std::string>{"Elbow", "Wrist"}));
    EXPECT_TRUE(pump_until([&] { return !IsWindowEnabled(GetDlgItem(panel, IDC_PITCH_SLIDER)); }));

    press_key(VK_ESCAPE);
    ASSERT_TRUE(pump_until([&] { return host->scene().selection().empty(); }));
    EXPECT_EQ(host->relink_notifications(), relinks + 4);  // one per change

    SimShape* elbow = host->scene().find("Elbow");
    const POINT joint = to_screen(host->viewport(), host->view().client_point(*elbow));
    SetWindowPos(panel, nullptr, joint.x + 40, joint.y - 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    activate_for_input(panel);
    ASSERT_TRUE(reaches(host->viewport(), joint));
    click_at(joint);
    ASSERT_TRUE(pump_until(
        [&] { return GetForegroundWindow() == host->window() && host->scene().selection().size() == 1; }));
    pump_for(300);  // what the click's activation does to the stacking
    const Quaternion before = elbow->rotation();
    ASSERT_TRUE(drag_thumb(GetDlgItem(panel, IDC_PITCH_SLIDER), 40, 8, true)) << "the panel's slider is covered";
    EXPECT_TRUE(pump_until([&] { return elbow->rotation().x != before.x; }));
}

TEST(Selection, TheShapeListPicksWhatItsItemsName)
{
    TestHost host = make_host(sample_scene_path());
    HWND list = host->shape_list();
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    ASSERT_EQ(count, static_cast<LRESULT>(host->scene().shapes().size()));
    // The list as the user changes it: items selected, then the notification.
    for (LRESULT i = 0; i < count; ++i) {
        char text[64] = "";
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        const std::string item = text;
        const bool pick = item.find("Shoulder") != std::string::npos || item.find("Hand") != std::string::npos;
        SendMessageA(list, LB_SETSEL, pick, i);
    }
    SendMessageA(host->window(), WM_COMMAND, MAKEWPARAM(0, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(names_of(host->scene().selection()), (std::vector<std::string>{"Shoulder", "Hand"}));

    // A pick in the viewport shows in the list.
    host->select({host->scene().find("Wrist")});
    int selected = 0;
    for (LRESULT i = 0; i < count; ++i) {
        if (SendMessageA(list, LB_GETSEL, i, 0) > 0) {
            ++selected;
            EXPECT_EQ(reinterpret_cast<SimShape*>(SendMessageA(list, LB_GETITEMDATA, i, 0))->name(), "Wrist");
        }
    }
    EXPECT_EQ(selected, 1);
}

