// The panel component's own positions, driven through Kelvaro.dll as the host
// drives them: 30 makes the panel hidden and once, 32 opens it (relinking only
// when it was not open), 28 and 29 follow the host's scene notifications, 31
// destroys the panel. None of them writes through its first argument.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <cstring>
#include <vector>
#include "component_calls.h"
#include "kelvaro_module.h"
#include "simhost/host_main_window.h"
#include "simhost/sim_host.h"
#include "simhost/sim_scene.h"
#include "simhost/sim_shape.h"
#include "desktop/slider_press.h"

namespace {

constexpr int position_notify_relink = 28;
constexpr int position_notify_refresh = 29;
constexpr int position_create_window = 30;
constexpr int position_destroy_window = 31;
constexpr int position_open_panel = 32;
constexpr int32_t limits_key = 0x40a00030;
constexpr int pitch_slider = 1001;
constexpr uint32_t junk = 0xDDDDDDDD;

struct OwnedDialogs {
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK collect_owned_dialog(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<OwnedDialogs*>(context);
    char class_name[16] = {};
    GetClassNameA(window, class_name, sizeof class_name);
    if (GetWindow(window, GW_OWNER) == search->owner && lstrcmpA(class_name, "#32770") == 0)
        search->found.push_back(window);
    return TRUE;
}

class PanelOperations : public ::testing::Test {
protected:
    void SetUp() override
    {
        main_window = create_host_main_window();
        ASSERT_NE(main_window, nullptr);
        host.set_main_window(main_window);
        component = create_component(plugin_kind, 0);
        ASSERT_NE(component, nullptr);
        std::memset(flag, 0xAA, sizeof flag);
    }

    void TearDown() override
    {
        // The link lets go of this host's handles while the host is still
        // there (the module outlives the test when all run in one process):
        // a shown panel follows a new empty scene, a hidden one opens on it.
        SimScene& empty = host.add_scene();
        notify_relink(empty);
        open(host.application(), empty);
        EXPECT_EQ(host.outstanding_references(), 0) << host.outstanding_report();
        call_position(component, position_destroy_window, {as_word(flag), junk, junk});
        DestroyWindow(main_window);
        EXPECT_EQ(flag_bytes_written(), 0) << "positions 28 to 32 write nothing through their first argument";
        EXPECT_TRUE(host.errors().empty()) << host.errors().front();
    }

    // The panels the module has made, owned by the host's main window.
    std::vector<HWND> panels() const
    {
        OwnedDialogs search{main_window, {}};
        EnumThreadWindows(GetCurrentThreadId(), collect_owned_dialog, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    HWND panel() const
    {
        const std::vector<HWND> all = panels();
        return all.size() == 1 ? all[0] : nullptr;
    }

    void create_window() { call_position(component, position_create_window, {as_word(flag), as_word(host.application()), junk}); }
    void open(HostApplication* application, SimScene& scene)
    {
        call_position(component, position_open_panel, {as_word(application), as_word(scene.handle()), junk});
    }
    void notify_relink(SimScene& scene)
    {
        call_position(component, position_notify_relink, {as_word(flag), as_word(scene.handle()), junk, junk, junk, junk, junk});
    }
    void notify_refresh(SimScene& scene)
    {
        call_position(component, position_notify_refresh, {as_word(flag), as_word(scene.handle()), junk, junk, junk});
    }

    // A ball joint selected alone in the scene, its pitch limits stored as given.
    SimShape& selected_joint(SimScene& scene, const char* name, float pitch_minimum, float pitch_maximum)
    {
        SimShape& joint = scene.add_ball_joint(name);
        joint.set_stream_floats(limits_key, {pitch_minimum, pitch_maximum, -180, 180, -180, 180});
        scene.select(joint);
        return joint;
    }

    int pitch_selection_start() const
    {
        return static_cast<int>(SendDlgItemMessageA(panel(), pitch_slider, TBM_GETSELSTART, 0, 0));
    }
    int pitch_selection_end() const
    {
        return static_cast<int>(SendDlgItemMessageA(panel(), pitch_slider, TBM_GETSELEND, 0, 0));
    }

    int flag_bytes_written() const
    {
        int written = 0;
        for (uint8_t b : flag)
            written += b != 0xAA;
        return written;
    }

    // Calls of one operation on the handles of one scene.
    int calls_in(SimScene& scene, SimOperation operation) const
    {
        int count = 0;
        for (const SimCall& call : host.calls(operation))
            count += call.scene == &scene;
        return count;
    }

    // Calls of any operation on the handles of one scene.
    int calls_in(SimScene& scene) const
    {
        int count = 0;
        for (const SimCall& call : host.calls())
            count += call.scene == &scene;
        return count;
    }

    SimHost host;
    SimHost other_host;  // a second application, alive until TearDown has let go of it
    HWND main_window = nullptr;
    ComponentObject* component = nullptr;
    uint8_t flag[8];
};

}  // namespace

TEST_F(PanelOperations, CreateWindowMakesOneHiddenPanelOwnedByTheHostsWindowAndDestroyEndsIt)
{
    create_window();
    ASSERT_EQ(panels().size(), 1u);
    HWND first = panel();
    EXPECT_FALSE(IsWindowVisible(first));

    // A second component, a second request: still the one panel.
    ComponentObject* other = create_component(plugin_kind, 0);
    call_position(other, position_create_window, {as_word(flag), as_word(host.application()), junk});
    EXPECT_EQ(panels(), std::vector<HWND>{first});

    call_position(other, position_destroy_window, {as_word(flag), junk, junk});
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(panels().empty());
}

TEST_F(PanelOperations, OpenStoresTheSceneRelinksAndShows)
{
    SimShape& joint = selected_joint(host.scene(), "Elbow", -90, 45);
    create_window();
    open(host.application(), host.scene());
    ASSERT_NE(panel(), nullptr);
    EXPECT_TRUE(IsWindowVisible(panel()));
    EXPECT_EQ(pitch_selection_start(), -90);
    EXPECT_EQ(pitch_selection_end(), 45);
    EXPECT_EQ(joint.references(), 2) << "the joint is linked: its shape and joint handles are held";
}

TEST_F(PanelOperations, OpenWhileShownStoresTheHostAndSceneButNeitherRelinksNorShows)
{
    selected_joint(host.scene(), "Elbow", -90, 45);
    create_window();
    open(host.application(), host.scene());
    ASSERT_TRUE(IsWindowVisible(panel()));

    // Hidden behind the module's back, so a ShowWindow would show.
    ShowWindow(panel(), SW_HIDE);
    other_host.set_main_window(main_window);
    selected_joint(other_host.scene(), "Knee", -10, 10);
    host.clear_calls();
    open(other_host.application(), other_host.scene());
    EXPECT_EQ(other_host.calls().size(), 0u) << "no relink";
    EXPECT_EQ(host.calls().size(), 0u);
    EXPECT_FALSE(IsWindowVisible(panel())) << "no ShowWindow";
    EXPECT_EQ(pitch_selection_start(), -90);

    // The end of a drag asks the stored host for its automatic keying.
    HWND slider = GetDlgItem(panel(), pitch_slider);
    press_slider(slider);
    SendMessageA(panel(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(other_host.call_count(SimOperation::current_scene), 1);
    EXPECT_EQ(host.call_count(SimOperation::current_scene), 0);
}

TEST_F(PanelOperations, NotifyRelinkWhileHiddenOnlyStoresTheScene)
{
    SimScene& first = host.scene();
    SimShape& elbow = selected_joint(first, "Elbow", -90, 45);
    create_window();
    open(host.application(), first);
    SendMessageA(panel(), WM_COMMAND, IDCANCEL, 0);  // the user closes the panel
    ASSERT_FALSE(IsWindowVisible(panel()));

    SimScene& second = host.add_scene();
    selected_joint(second, "Knee", -10, 10);
    elbow.set_stream_floats(limits_key, {1, 2, 3, 4, 5, 6});
    host.clear_calls();
    notify_relink(second);
    EXPECT_EQ(host.calls().size(), 0u) << "neither limits saved nor relinked";
    EXPECT_EQ(elbow.stream_floats(limits_key), (std::vector<float>{1, 2, 3, 4, 5, 6}));

    // Opened again, the panel links in the scene that was stored.
    open(host.application(), second);
    EXPECT_EQ(pitch_selection_start(), -10);
}

TEST_F(PanelOperations, NotifyRelinkWhileShownSavesTheLinkedShapesLimitsThenRelinksToTheNewScene)
{
    SimScene& first = host.scene();
    SimShape& elbow = selected_joint(first, "Elbow", -90, 45);
    create_window();
    open(host.application(), first);
    elbow.set_stream_floats(limits_key, {});  // so the save shows

    SimScene& second = host.add_scene();
    SimShape& knee = selected_joint(second, "Knee", -10, 10);
    host.clear_calls();
    notify_relink(second);

    EXPECT_EQ(elbow.stream_floats(limits_key), (std::vector<float>{-90, 45, -180, 180, -180, 180}));
    EXPECT_EQ(pitch_selection_start(), -10);
    EXPECT_EQ(knee.references(), 2);
    // The save came before the new scene was looked at.
    const auto& calls = host.calls();
    size_t save = calls.size(), look = calls.size();
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].operation == SimOperation::open_stream_for_write && save == calls.size())
            save = i;
        if (calls[i].operation == SimOperation::active_shape_count && look == calls.size())
            look = i;
    }
    EXPECT_LT(save, look);
}

TEST_F(PanelOperations, NotifyRelinkWithNothingLinkedSavesNothing)
{
    create_window();
    open(host.application(), host.scene());  // nothing selected: not linked
    SimScene& second = host.add_scene();
    selected_joint(second, "Knee", -10, 10);
    host.clear_calls();
    notify_relink(second);
    EXPECT_EQ(host.call_count(SimOperation::open_stream_for_write), 0);
    EXPECT_EQ(calls_in(second, SimOperation::active_shape_count), 1);
}

TEST_F(PanelOperations, NotifyRefreshFollowsTheSceneOnlyWhenShownAndThePanelIsNotActive)
{
    SimScene& first = host.scene();
    selected_joint(first, "Elbow", -90, 45);
    create_window();
    open(host.application(), first);

    SimScene& second = host.add_scene();
    selected_joint(second, "Knee", -10, 10);

    SetActiveWindow(panel());
    ASSERT_EQ(GetActiveWindow(), panel());
    host.clear_calls();
    notify_refresh(second);
    EXPECT_EQ(host.calls().size(), 0u) << "our own panel is active: the change is ours";

    SetActiveWindow(main_window);
    ASSERT_EQ(GetActiveWindow(), main_window);
    notify_refresh(second);
    EXPECT_EQ(calls_in(second, SimOperation::active_shape_count), 1);
    EXPECT_EQ(pitch_selection_start(), -10);

    SendMessageA(panel(), WM_COMMAND, IDCANCEL, 0);
    host.clear_calls();
    notify_refresh(first);
    EXPECT_EQ(host.call_count(SimOperation::active_shape_count), 0) << "a hidden panel is not relinked";
}

TEST_F(PanelOperations, EarlyReturnsStoreTheSceneAndTheNextRelinkUsesTheNewestOne)
{
    auto scene_with_joint = [&](float pitch_minimum) -> SimScene& {
        SimScene& scene = host.add_scene();
        selected_joint(scene, "Joint", pitch_minimum, 90);
        return scene;
    };
    create_window();

    // 28 while the panel is hidden; then 32 opens it.
    SimScene& hidden = scene_with_joint(-10);
    SimScene& opened = scene_with_joint(-20);
    host.clear_calls();
    notify_relink(hidden);
    EXPECT_EQ(host.calls().size(), 0u);
    open(host.application(), opened);
    EXPECT_EQ(calls_in(hidden), 0);
    EXPECT_EQ(pitch_selection_start(), -20);

    // 29 while the panel is the active window; then 28 relinks.
    SimScene& ours = scene_with_joint(-30);
    SimScene& relinked = scene_with_joint(-40);
    SetActiveWindow(panel());
    ASSERT_EQ(GetActiveWindow(), panel());
    host.clear_calls();
    notify_refresh(ours);
    EXPECT_EQ(host.calls().size(), 0u);
    SetActiveWindow(main_window);
    notify_relink(relinked);
    EXPECT_EQ(calls_in(ours), 0);
    EXPECT_EQ(pitch_selection_start(), -40);

    // 32 while the panel is shown; then 29 relinks.
    SimScene& reopened = scene_with_joint(-50);
    SimScene& refreshed = scene_with_joint(-60);
    host.clear_calls();
    open(host.application(), reopened);
    EXPECT_EQ(host.calls().size(), 0u);
    ASSERT_NE(GetActiveWindow(), panel());
    notify_refresh(refreshed);
    EXPECT_EQ(calls_in(reopened), 0);
    EXPECT_EQ(pitch_selection_start(), -60);
}

TEST_F(PanelOperations, ReleasingAComponentWhileItsPanelIsOpenLeavesTheWindowAndTheLinkWorking)
{
    SimShape& elbow = selected_joint(host.scene(), "Elbow", -90, 45);
    ComponentObject* opener = create_component(plugin_kind, 0);
    ASSERT_NE(opener, nullptr);
    call_position(opener, position_create_window, {as_word(flag), as_word(host.application()), junk});
    call_position(opener, position_open_panel, {as_word(host.application()), as_word(host.scene().handle()), junk});
    using release_operation = unsigned long(__stdcall*)(ComponentObject*);
    ASSERT_EQ(reinterpret_cast<release_operation>(opener->table[2])(opener), 0u);

    ASSERT_NE(panel(), nullptr);
    EXPECT_TRUE(IsWindowVisible(panel()));
    // A drag step still turns the linked joint: 30 degrees about Pitch.
    HWND slider = GetDlgItem(panel(), pitch_slider);
    press_slider(slider);
    SendMessageA(slider, TBM_SETPOS, TRUE, 30);
    SendMessageA(panel(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 30), reinterpret_cast<LPARAM>(slider));
    EXPECT_NEAR(elbow.rotation().x, 0.2588190f, 1e-6f);

    // And another component's notification still relinks it.
    selected_joint(host.scene(), "Knee", -10, 10);
    notify_relink(host.scene());
    EXPECT_EQ(pitch_selection_start(), -10);
    EXPECT_EQ(elbow.stream_floats(limits_key), (std::vector<float>{-90, 45, -180, 180, -180, 180}));
}
