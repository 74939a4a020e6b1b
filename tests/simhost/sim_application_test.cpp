// The simulated application answers with the switches the test set and hands
// out the scene that is current at the moment it is asked.
#include <gtest/gtest.h>
#include "simhost/simhost.h"

TEST(SimApplication, AnswersWithTheSwitchesAsSet)
{
    SimHost host;
    HostApplication* app = host.application();
    EXPECT_FALSE(app->host_uses_japanese(0));
    EXPECT_FALSE(app->auto_key_enabled());
    EXPECT_EQ(app->main_window(), nullptr);

    const HWND window = reinterpret_cast<HWND>(0x1234);
    host.set_uses_japanese(true);
    host.set_auto_key(true);
    host.set_main_window(window);
    EXPECT_TRUE(app->host_uses_japanese(0));
    EXPECT_TRUE(app->auto_key_enabled());
    EXPECT_EQ(app->main_window(), window);
    EXPECT_EQ(host.calls(SimOperation::host_uses_japanese).back().ints, std::vector<int32_t>{0});
}

TEST(SimApplication, HandsOutTheSceneCurrentWhenAsked)
{
    SimHost host;
    SimScene& first = host.scene();
    SimScene& second = host.add_scene();
    EXPECT_EQ(&host.scene(), &first);  // adding does not switch
    host.set_current_scene(second);
    HostScene* scene = host.application()->current_scene();
    EXPECT_EQ(host.account_of(scene)->scene(), &second);
    EXPECT_EQ(second.references(), 1);
    EXPECT_EQ(first.references(), 0);
    scene->Release();
    EXPECT_EQ(host.scenes(), (std::vector<SimScene*>{&first, &second}));
}
