#pragma once
// What the joint tests share: a simulated host with its scene, the panel made
// from template 101 with a small recording dialog procedure of our own (so the
// link's operations act on real trackbars and edit boxes), and a clean
// JointLink and PanelState for every test.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>
#include "joint/joint_link.h"
#include "panel/panel_state.h"
#include "simhost/sim_host.h"
#include "simhost/sim_scene.h"
#include "simhost/sim_shape.h"

// One notification the recording panel received: an edit's EN_CHANGE (with
// the edit's text and its slider's position at that moment) or a WM_HSCROLL.
struct PanelMessage {
    UINT message;
    int control_id;
    int code;
    int depth;  // nesting of the panel procedure when it arrived: 1 = not nested
    std::string text;
    int slider_position;
};

// The messages received while `recording` is set; the depth counter shows
// re-entrant ones.
struct PanelRecorder {
    std::vector<PanelMessage> messages;
    bool recording = false;
    int depth = 0;
};
extern PanelRecorder panel_recorder;

// The panel window of template 101 with the recording procedure, sliders set
// to -180..180 as the real panel's initialisation does. Stored in
// panel_state.panel_window for its lifetime.
class TestPanel {
public:
    TestPanel();
    ~TestPanel();
    HWND window() const { return window_; }
    HWND control(int id) const { return GetDlgItem(window_, id); }
    std::string text(int id) const;
    int slider_position(int id) const;
    int selection_start(int id) const;
    int selection_end(int id) const;
    bool enabled(int id) const { return IsWindowEnabled(control(id)) != FALSE; }

private:
    HWND window_ = nullptr;
};

class JointTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A ball joint in the scene, selected alone.
    SimShape& add_selected_joint(const std::string& name = "Joint");
    // add_selected_joint, then relink.
    SimShape& link_new_joint(const std::string& name = "Joint");

    // Exactly the references JointLink keeps are outstanding with the host.
    void expect_only_kept_references();

    SimScene& scene() { return host.scene(); }

    SimHost host;
    TestPanel panel;
};

// Floats equal to single precision: within a few units in the last place of
// the larger, with an absolute floor for values near 0.
#define EXPECT_FLOAT_NEAR(a, b) EXPECT_NEAR((a), (b), 2e-6 + 4e-7 * std::fabs(static_cast<double>(b)))
