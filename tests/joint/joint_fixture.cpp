#include "joint_fixture.h"
#include <commctrl.h>
#include <cmath>
#include "module/module_instance.h"
#include "panel/resource.h"

PanelRecorder panel_recorder;

namespace {

INT_PTR on_init_dialog(HWND window)
{
    for (int id : {IDC_PITCH_SLIDER, IDC_YAW_SLIDER, IDC_ROLL_SLIDER}) {
        SendDlgItemMessageA(window, id, TBM_SETRANGE, TRUE, MAKELONG(-180, 180));
        SendDlgItemMessageA(window, id, TBM_SETSEL, TRUE, MAKELONG(-180, 180));
    }
    return TRUE;
}

void record(HWND window, UINT message, int control_id, int code)
{
    if (!panel_recorder.recording)
        return;
    PanelMessage entry{message, control_id, code, panel_recorder.depth, "", 0};
    if (message == WM_COMMAND) {
        char text[64] = {};
        GetDlgItemTextA(window, control_id, text, sizeof text);
        entry.text = text;
        if (const AxisControls* controls = axis_controls_for_edit(control_id))
            entry.slider_position =
                static_cast<int>(SendDlgItemMessageA(window, controls->slider_id, TBM_GETPOS, 0, 0));
    }
    panel_recorder.messages.push_back(entry);
}

INT_PTR CALLBACK test_panel_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    ++panel_recorder.depth;
    INT_PTR result = FALSE;
    switch (message) {
    case WM_INITDIALOG:
        result = on_init_dialog(window);
        break;
    case WM_COMMAND:
        if (HIWORD(wparam) == EN_CHANGE)
            record(window, message, LOWORD(wparam), HIWORD(wparam));
        break;
    case WM_HSCROLL:
        record(window, message, GetDlgCtrlID(reinterpret_cast<HWND>(lparam)), LOWORD(wparam));
        break;
    }
    --panel_recorder.depth;
    return result;
}

}  // namespace

TestPanel::TestPanel()
{
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    module_instance = GetModuleHandleA(nullptr);
    window_ = CreateDialogParamA(module_instance, MAKEINTRESOURCEA(IDD_JOINT_PANEL), nullptr, test_panel_proc, 0);
    panel_state.panel_window = window_;
}

TestPanel::~TestPanel()
{
    panel_state.panel_window = nullptr;
    if (window_ != nullptr)
        DestroyWindow(window_);
}

std::string TestPanel::text(int id) const
{
    char text[128] = {};
    GetDlgItemTextA(window_, id, text, sizeof text);
    return text;
}

int TestPanel::slider_position(int id) const
{
    return static_cast<int>(SendDlgItemMessageA(window_, id, TBM_GETPOS, 0, 0));
}

int TestPanel::selection_start(int id) const
{
    return static_cast<int>(SendDlgItemMessageA(window_, id, TBM_GETSELSTART, 0, 0));
}

int TestPanel::selection_end(int id) const
{
    return static_cast<int>(SendDlgItemMessageA(window_, id, TBM_GETSELEND, 0, 0));
}

void JointTest::SetUp()
{
    ASSERT_NE(panel.window(), nullptr);
    joint_link = JointLink{};
    joint_link.host = host.application();
    joint_link.scene = host.scene().handle();
    panel_recorder = PanelRecorder{};
}

void JointTest::TearDown()
{
    panel_recorder.recording = false;
    // Give back what the link keeps while the host still exists.
    host.clear_faults();
    unlink();
    EXPECT_EQ(host.outstanding_references(), 0) << host.outstanding_report();
    EXPECT_TRUE(host.errors().empty()) << host.errors().front();
    joint_link = JointLink{};
}

SimShape& JointTest::add_selected_joint(const std::string& name)
{
    SimShape& joint = scene().add_ball_joint(name);
    scene().select(joint);
    return joint;
}

SimShape& JointTest::link_new_joint(const std::string& name)
{
    SimShape& joint = add_selected_joint(name);
    relink();
    return joint;
}

// The link keeps one counted reference each to its shape and its joint; its
// part and guide are borrowed.
void JointTest::expect_only_kept_references()
{
    int kept = 0;
    for (HostUnknown* handle : {static_cast<HostUnknown*>(joint_link.shape), static_cast<HostUnknown*>(joint_link.joint)}) {
        if (handle == nullptr)
            continue;
        ++kept;
        EXPECT_EQ(host.references(handle), 1);
    }
    EXPECT_EQ(host.outstanding_references(), kept) << host.outstanding_report();
    EXPECT_TRUE(host.errors().empty()) << host.errors().front();
}
