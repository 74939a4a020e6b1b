// The attribute component's command (position 205) through Kelvaro.dll: it
// deletes the limits stored with its target and opens all three channels to
// -180..180, whichever shape the target is; without a stored record it changes
// nothing; a host failure inside it reaches the host after the stream has
// been released. The panel component opens the panel and links a joint first,
// so the effect shows on real sliders and in what is saved afterwards.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <vector>
#include "component_calls.h"
#include "joint/release_guard.h"
#include "kelvaro_module.h"
#include "simhost/host_main_window.h"
#include "simhost/host_catch.h"
#include "simhost/sim_host.h"
#include "simhost/sim_scene.h"
#include "simhost/sim_shape.h"

namespace {

constexpr int position_notify_relink = 28;
constexpr int position_create_window = 30;
constexpr int position_destroy_window = 31;
constexpr int position_open_panel = 32;
constexpr int position_run_command = 205;
constexpr int32_t limits_key = 0x40a00030;
constexpr int sliders[3] = {1001, 1002, 1003};  // Pitch, Yaw, Roll
constexpr uint32_t junk = 0xDDDDDDDD;

const std::vector<float> narrow_limits = {-90, 45, -30, 60, -10, 20};
const std::vector<float> open_limits = {-180, 180, -180, 180, -180, 180};

HWND find_panel(HWND owner)
{
    HWND found = nullptr;
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT))
        if (GetWindow(w, GW_OWNER) == owner)
            found = w;
    return found;
}

class AttributeCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        main_window = create_host_main_window();
        ASSERT_NE(main_window, nullptr);
        host.set_main_window(main_window);
        panel_component = create_component(plugin_kind, 0);
        command = create_component(attribute_kind, 0);
        ASSERT_NE(panel_component, nullptr);
        ASSERT_NE(command, nullptr);
    }

    void TearDown() override
    {
        // The link lets go of this host's handles while the host is still
        // there (the module outlives the test when all run in one process).
        if (panel != nullptr) {
            SimScene& empty = host.add_scene();
            call_position(panel_component, position_notify_relink,
                          {junk, as_word(empty.handle()), junk, junk, junk, junk, junk});
            EXPECT_EQ(host.outstanding_references(), 0) << host.outstanding_report();
        }
        call_position(panel_component, position_destroy_window, {junk, junk, junk});
        DestroyWindow(main_window);
        EXPECT_TRUE(host.errors().empty()) << host.errors().front();
    }

    // The panel open and linked to a joint whose limits are narrow.
    SimShape& open_panel_on_linked_joint()
    {
        SimShape& joint = host.scene().add_ball_joint("Elbow");
        joint.set_stream_floats(limits_key, narrow_limits);
        host.scene().select(joint);
        call_position(panel_component, position_create_window, {junk, as_word(host.application()), junk});
        call_position(panel_component, position_open_panel, {as_word(host.application()), as_word(host.scene().handle()), junk});
        panel = find_panel(main_window);
        EXPECT_NE(panel, nullptr);
        EXPECT_EQ(selections(), (std::vector<int>{-90, 45, -30, 60, -10, 20}));
        return joint;
    }

    // The sliders' selection ranges, Pitch, Yaw, Roll.
    std::vector<int> selections() const
    {
        std::vector<int> result;
        for (int id : sliders) {
            result.push_back(static_cast<int>(SendDlgItemMessageA(panel, id, TBM_GETSELSTART, 0, 0)));
            result.push_back(static_cast<int>(SendDlgItemMessageA(panel, id, TBM_GETSELEND, 0, 0)));
        }
        return result;
    }

    uint8_t run_command(SimShape* target)
    {
        const uint32_t eax = call_position(command, position_run_command,
                                           {as_word(target != nullptr ? target->shape_handle() : nullptr), junk});
        return static_cast<uint8_t>(eax);
    }

    // What the link holds for its shape, as the panel's next save writes it.
    std::vector<float> limits_saved_for(SimShape& linked)
    {
        linked.set_stream_floats(limits_key, {});
        call_position(panel_component, position_notify_relink,
                      {junk, as_word(host.scene().handle()), junk, junk, junk, junk, junk});
        return linked.stream_floats(limits_key);
    }

    SimHost host;
    HWND main_window = nullptr;
    HWND panel = nullptr;
    ComponentObject* panel_component = nullptr;
    ComponentObject* command = nullptr;
};

}  // namespace

TEST_F(AttributeCommand, OnTheLinkedShapeDeletesItsLimitsAndOpensEveryChannel)
{
    SimShape& joint = open_panel_on_linked_joint();
    host.clear_calls();
    EXPECT_EQ(run_command(&joint), 0) << "the command answers false";
    EXPECT_FALSE(joint.has_stream(limits_key));
    ASSERT_EQ(host.call_count(SimOperation::delete_attribute_stream), 1);
    const SimCall& deletion = host.calls(SimOperation::delete_attribute_stream)[0];
    EXPECT_EQ(deletion.ints, (std::vector<int32_t>{limits_key, 0}));
    EXPECT_EQ(host.calls(SimOperation::find_attribute_stream)[0].ints, (std::vector<int32_t>{limits_key, 0}));
    EXPECT_EQ(selections(), (std::vector<int>{-180, 180, -180, 180, -180, 180}));
    EXPECT_EQ(host.stream_references(joint), 0) << "the found stream is released";
    EXPECT_EQ(limits_saved_for(joint), open_limits);
}

TEST_F(AttributeCommand, OnAnotherShapeDeletesThatShapesLimitsAndStillOpensTheLinkedChannels)
{
    SimShape& joint = open_panel_on_linked_joint();
    SimShape& other = host.scene().add_ball_joint("Knee");
    other.set_stream_floats(limits_key, {-1, 1, -2, 2, -3, 3});
    EXPECT_EQ(run_command(&other), 0);
    EXPECT_FALSE(other.has_stream(limits_key));
    EXPECT_EQ(joint.stream_floats(limits_key), narrow_limits) << "the linked shape's record stays";
    EXPECT_EQ(selections(), (std::vector<int>{-180, 180, -180, 180, -180, 180}));
    EXPECT_EQ(host.stream_references(other), 0);
    EXPECT_EQ(limits_saved_for(joint), open_limits);
}

TEST_F(AttributeCommand, WithoutStoredLimitsChangesNothing)
{
    SimShape& joint = open_panel_on_linked_joint();
    SimShape& bare = host.scene().add_ball_joint("Wrist");
    host.clear_calls();
    EXPECT_EQ(run_command(&bare), 0);
    EXPECT_EQ(host.call_count(SimOperation::find_attribute_stream), 1);
    EXPECT_EQ(host.call_count(SimOperation::delete_attribute_stream), 0);
    EXPECT_EQ(selections(), (std::vector<int>{-90, 45, -30, 60, -10, 20}));
    EXPECT_EQ(limits_saved_for(joint), narrow_limits);
}

TEST_F(AttributeCommand, WithoutAPanelStillDeletesTheRecord)
{
    SimShape& shape = host.scene().add_ball_joint("Elbow");
    shape.set_stream_floats(limits_key, narrow_limits);
    EXPECT_EQ(run_command(&shape), 0);
    EXPECT_FALSE(shape.has_stream(limits_key));
    EXPECT_EQ(host.outstanding_references(), 0) << host.outstanding_report();
}

TEST_F(AttributeCommand, WithoutATargetDoesNothing)
{
    EXPECT_EQ(run_command(nullptr), 0);
    EXPECT_TRUE(host.calls().empty());
}

TEST_F(AttributeCommand, AHostFailureWhileDeletingReachesTheHostWithTheStreamReleased)
{
    SimShape& joint = open_panel_on_linked_joint();
    host.fail_call(SimOperation::delete_attribute_stream, 1, 77);
    ExceptionChainRecord* chain_before = exception_chain_head();
    HostCatch caught;
    const bool returned = host_try([&] { run_command(&joint); }, &caught);
    EXPECT_FALSE(returned);
    EXPECT_TRUE(caught.is_int);
    EXPECT_EQ(caught.int_value, 77);
    EXPECT_EQ(exception_chain_head(), chain_before);
    EXPECT_EQ(host.stream_references(joint), 0) << "released on the way out";
    EXPECT_TRUE(joint.has_stream(limits_key)) << "the failed delete had no effect";
    EXPECT_EQ(selections(), (std::vector<int>{-90, 45, -30, 60, -10, 20})) << "nothing after the failure ran";
}

TEST_F(AttributeCommand, AHostFailureWhileFindingReachesTheHost)
{
    SimShape& shape = host.scene().add_ball_joint("Elbow");
    shape.set_stream_floats(limits_key, narrow_limits);
    host.fail_call(SimOperation::find_attribute_stream, 1, 3);
    HostCatch caught;
    EXPECT_FALSE(host_try([&] { run_command(&shape); }, &caught));
    EXPECT_EQ(caught.int_value, 3);
    EXPECT_EQ(host.outstanding_references(), 0) << host.outstanding_report();
    EXPECT_TRUE(shape.has_stream(limits_key));
}
