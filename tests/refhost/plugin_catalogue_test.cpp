// The module as the reference host sees it: the components listed through the
// exports, the Plug-ins menu in both languages, the command component made
// and released for each use, and the notifications the host sends.
#include <windows.h>
#include <commctrl.h>
#include "simhost/component_calls.h"
#include "refhost/host_commands.h"
#include "refhost_fixture.h"
#include "desktop/message_pump.h"

namespace {

std::string menu_text(HWND window, int command)
{
    char text[128] = "";
    GetMenuStringA(GetMenu(window), command, text, sizeof text, MF_BYCOMMAND);
    return text;
}

}  // namespace

TEST(PluginCatalogue, ListsThePanelAsResidentAndTheCommandAsMadeOnUse)
{
    TestHost host = make_host(sample_scene_path());
    std::vector<PluginComponent>& components = host->plugin().components();
    ASSERT_EQ(components.size(), 2u);

    const PluginComponent& panel = components[0];
    EXPECT_TRUE(IsEqualGUID(panel.kind, refhost_plugin_kind));
    EXPECT_EQ(panel.id, 0x40a00030);
    EXPECT_TRUE(panel.resident);
    ASSERT_NE(panel.object, nullptr);
    EXPECT_EQ(component_id_of(panel.object), 0x40a00030);

    const PluginComponent& command = components[1];
    EXPECT_TRUE(IsEqualGUID(command.kind, refhost_attribute_kind));
    EXPECT_EQ(command.id, 0x40a00031);
    EXPECT_FALSE(command.resident);
    EXPECT_EQ(command.object, nullptr);

    // Position 30 at start-up made the panel's window, hidden, owned by ours.
    HWND window = host->panel_window();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(GetWindow(window, GW_OWNER), host->window());

    // Closing the host: position 31 destroys it, and the module goes.
    host->destroy();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(GetModuleHandleA("Kelvaro.dll"), nullptr);
}

TEST(PluginCatalogue, PluginsMenuFollowsTheLanguageSwitch)
{
    TestHost host = make_host(sample_scene_path(), false);
    EXPECT_EQ(menu_text(host->window(), cmd_plugin_first), "Kelvaro...");
    EXPECT_EQ(menu_text(host->window(), cmd_plugin_first + 1), "Clear Kelvaro Attribute");

    host->set_language(true);  // code page 932 bytes, as the module hands them over
    EXPECT_EQ(menu_text(host->window(), cmd_plugin_first), "Kelvaro\x91\x80\x8d\xec...");
    EXPECT_EQ(menu_text(host->window(), cmd_plugin_first + 1), "Kelvaro\x91\xae\x90\xab\x83N\x83\x8a\x83\x41");

    host->set_language(false);
    EXPECT_EQ(menu_text(host->window(), cmd_plugin_first), "Kelvaro...");
}

TEST(PluginCatalogue, AClickOnThePanelEntryOpensThePanelOnTheSelectedJoint)
{
    TestHost host = make_host(sample_scene_path());
    host->show(SW_SHOW);
    SimShape* wrist = host->scene().find("Wrist");
    host->select({wrist});
    PostMessageA(host->window(), WM_COMMAND, MAKEWPARAM(cmd_plugin_first, 0), 0);
    HWND panel = host->panel_window();
    ASSERT_TRUE(pump_until([&] { return IsWindowVisible(panel) != 0; }));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(panel, 1001)));
    EXPECT_NE(host->scene().find("#Kelvaro_Guide"), nullptr);

    // A click on nothing in the viewport selects nothing: the panel lets go.
    SendMessageA(host->viewport(), WM_LBUTTONDOWN, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(host->scene().selection().empty());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel, 1001)));
    EXPECT_EQ(host->scene().find("#Kelvaro_Guide"), nullptr);
}

TEST(PluginCatalogue, TheCommandClearsTheLimitsOfTheSelectedShapeAndTellsThePanel)
{
    TestHost host = make_host(sample_scene_path());
    SimShape* elbow = host->scene().find("Elbow");
    SimShape* wrist = host->scene().find("Wrist");
    elbow->set_stream_floats(0x40a00030, {-10, 10, -20, 20, -30, 30});
    wrist->set_stream_floats(0x40a00030, {-1, 1, -2, 2, -3, 3});
    host->select({elbow});
    const int refreshes = host->refresh_notifications();

    EXPECT_EQ(host->run_attribute_command(), 0);  // the command answers false
    EXPECT_FALSE(elbow->has_stream(0x40a00030));
    EXPECT_TRUE(wrist->has_stream(0x40a00030));  // not selected: kept
    EXPECT_EQ(host->refresh_notifications(), refreshes + 1);
    EXPECT_EQ(host->host().outstanding_references(), 0) << host->host().outstanding_report();
}

TEST(PluginCatalogue, SelectionRelinksAndTimeRefreshesWithTheKeyedPose)
{
    TestHost host = make_host(sample_scene_path());
    SimShape* elbow = host->scene().find("Elbow");
    elbow->add_key(0, Quaternion(1, 0, 0, 0));
    elbow->add_key(40, Quaternion(0.7071068f, 0, 0, 0.7071068f));

    const int relinks = host->relink_notifications();
    host->select({elbow});
    EXPECT_EQ(host->relink_notifications(), relinks + 1);
    EXPECT_EQ(GetWindowTextLengthA(host->keys_label()), static_cast<int>(std::string("Keys of Elbow: 0 40").size()));

    // The timeline's trackbar reports a move: the scene's time, the keyed
    // pose, and a refresh for the plug-in.
    const int refreshes = host->refresh_notifications();
    SendMessageA(host->time_slider(), TBM_SETPOS, TRUE, 20);
    SendMessageA(host->window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 20),
                 reinterpret_cast<LPARAM>(host->time_slider()));
    EXPECT_EQ(host->scene().current_time(), 20.0f);
    EXPECT_EQ(host->refresh_notifications(), refreshes + 1);
    EXPECT_NEAR(elbow->rotation().w, 0.9238795f, 1e-6f);  // 45 degrees about z
    EXPECT_NEAR(elbow->rotation().z, 0.3826834f, 1e-6f);
}

TEST(PluginCatalogue, TheViewShowsAJointTurnedByThePluginWithoutBeingAsked)
{
    TestHost host = make_host(sample_scene_path());
    host->show(SW_SHOW);
    SimShape* elbow = host->scene().find("Elbow");
    SimShape* wrist = host->scene().find("Wrist");
    host->select({elbow});
    host->open_panel();
    HWND panel = host->panel_window();
    ASSERT_TRUE(pump_until([&] { return IsWindowVisible(panel) != 0; }));
    pump_pending();
    const POINT before = host->view().painted_point(*wrist);
    ASSERT_EQ(before.x, host->view().client_point(*wrist).x);

    // RESET turns the elbow back to no rotation through the host's
    // set_rotation; the host repaints on its own, and the wrist moves.
    SendMessageA(GetDlgItem(panel, 1011), BM_CLICK, 0, 0);
    EXPECT_EQ(elbow->rotation().w, 1.0f);
    const POINT now = host->view().client_point(*wrist);
    EXPECT_NE(now.y, before.y);
    EXPECT_TRUE(pump_until([&] {
        const POINT painted = host->view().painted_point(*wrist);
        return painted.x == now.x && painted.y == now.y;
    }));
}
