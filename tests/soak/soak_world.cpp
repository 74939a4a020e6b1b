#include "simhost/host_main_window.h"
#include "soak_world.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "joint/joint_link.h"
#include "joint/release_guard.h"
#include "panel/panel_state.h"
#include "panel/panel_window.h"
#include "panel/resource.h"
#include "desktop/message_pump.h"
#include "desktop/real_input.h"
#include "desktop/slider_press.h"
#include "math/rotation_reference.h"
#include "window_nesting.h"

namespace {

const char position_key[] = "Software\\TAVIREK\\Kelvaro";
const int slider_ids[3] = {IDC_PITCH_SLIDER, IDC_YAW_SLIDER, IDC_ROLL_SLIDER};
// Window-procedure nesting (of a probe chain of 40) below which no more host
// faults are sent through the window system, and below which the run stops
// as the test environment's failure.
constexpr int nesting_for_window_faults = 32;
constexpr int nesting_the_panel_needs = 24;
const int edit_ids[3] = {IDC_PITCH_EDIT, IDC_YAW_EDIT, IDC_ROLL_EDIT};
constexpr size_t trail_length = 12;
// How far, in radians, a step's turn of the joint may be from what its angles
// say: float rounding in the panel and the host, far below a degree's 0.017.
constexpr double turn_tolerance = 1e-5;
// The host calls of a let-go's key, any of which may fail.
const char* const key_calls[] = {"current_scene", "active_shape", "as_part", "joint_handle", "auto_key_enabled",
                                 "motion_enabled", "current_time", "key_count", "key_time", "insert_key",
                                 "set_key_rotation"};

// Per operation: how often it is drawn, out of the sum, and whether the soak
// can also make it as real input.
const struct { int weight; bool real_form; } operation_draws[static_cast<int>(SoakOperation::count)] = {
    {8, false},   // select
    {3, false},   // store_limits
    {6, false},   // relink
    {6, false},   // refresh
    {14, true},   // drag
    {6, true},    // page_click
    {14, true},   // type_text
    {5, false},   // paste_text
    {4, true},    // limits_dialog
    {4, true},    // undo
    {3, true},    // reset
    {3, true},    // close_panel
    {5, false},   // open_panel
    {2, true},    // autoshade
    {3, false},   // clear_attribute
    {10, false},  // auto_key_and_time
    {5, false},   // host_fault
    {3, true},    // wander
};

int slot_of_slider(int slider_id)
{
    for (int i = 0; i < 3; ++i)
        if (slider_ids[i] == slider_id)
            return i;
    return -1;
}

int slot_of_edit(int edit_id)
{
    for (int i = 0; i < 3; ++i)
        if (edit_ids[i] == edit_id)
            return i;
    return -1;
}

void set_key(BYTE key, bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[key] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

// The box reported its text changed (typed; any later report is the panel's own).
bool box_changed(const MessageRecorder& recorder, int edit_id)
{
    const std::vector<int> codes = recorder.command_codes(edit_id);
    return std::find(codes.begin(), codes.end(), EN_CHANGE) != codes.end();
}

bool read_position(std::string* data)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, position_key, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    BYTE bytes[64];
    DWORD size = sizeof bytes;
    const bool found = RegQueryValueExA(key, "Pos", nullptr, nullptr, bytes, &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (found)
        data->assign(reinterpret_cast<char*>(bytes), size);
    return found;
}

void restore_position(bool existed, const std::string& data)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, position_key, 0, KEY_WRITE, &key) != ERROR_SUCCESS)
        return;
    if (existed)
        RegSetValueExA(key, "Pos", 0, REG_DWORD, reinterpret_cast<const BYTE*>(data.data()),
                       static_cast<DWORD>(data.size()));
    else
        RegDeleteValueA(key, "Pos");
    RegCloseKey(key);
}

// The trackbar Microsoft documents, played over Wine's: a let-go lets the capture go
// before it notifies, and a drag that loses the capture ends there and then.
struct { bool playing, dragging; WNDPROC wine_procedure; } documented_trackbar;

LRESULT CALLBACK documented_trackbar_proc(HWND slider, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message != WM_CAPTURECHANGED || !documented_trackbar.playing)
        return CallWindowProcA(documented_trackbar.wine_procedure, slider, message, wparam, lparam);
    for (int code : {TB_THUMBPOSITION, TB_ENDTRACK})
        if (documented_trackbar.dragging)
            SendMessageA(GetParent(slider), WM_HSCROLL, code, reinterpret_cast<LPARAM>(slider));
    documented_trackbar.dragging = false;
    return 0;
}

// While a real gesture's button or key is down, what the sliders report, with
// the position each trackbar holds as it notifies and whether Ctrl is down.
struct SliderReport { int slider_id, code, position; bool ctrl; };
struct { bool recording; std::vector<SliderReport> reports; WNDPROC panel_procedure; } slider_reports;

LRESULT CALLBACK reporting_panel_proc(HWND panel, UINT message, WPARAM wparam, LPARAM lparam)
{
    HWND slider = reinterpret_cast<HWND>(lparam);
    if (message == WM_HSCROLL && slider_reports.recording && slider != nullptr)
        slider_reports.reports.push_back({GetDlgCtrlID(slider), LOWORD(wparam),
                                          static_cast<short>(SendMessageA(slider, TBM_GETPOS, 0, 0)),
                                          GetKeyState(VK_CONTROL) < 0});
    return CallWindowProcA(slider_reports.panel_procedure, panel, message, wparam, lparam);
}

bool is_unit(const Quaternion& q)
{
    const double n = static_cast<double>(q.w) * q.w + static_cast<double>(q.x) * q.x +
                     static_cast<double>(q.y) * q.y + static_cast<double>(q.z) * q.z;
    return std::fabs(n - 1.0) < 1e-4;
}

}  // namespace

const char* soak_operation_name(SoakOperation operation)
{
    static const char* const names[] = {
        "select", "store_limits", "relink", "refresh", "drag", "page_click", "type_text", "paste_text",
        "limits_dialog", "undo", "reset", "close_panel", "open_panel", "autoshade", "clear_attribute",
        "auto_key_and_time", "host_fault", "wander",
    };
    return names[static_cast<int>(operation)];
}

SoakWorld::SoakWorld(uint32_t seed) : seed_(seed), random_(seed), scene_(host_.scene())
{
    had_stored_position_ = read_position(&stored_position_);
    if (const char* share = std::getenv("KELVARO_SOAK_REAL_SHARE"))
        real_share_ = std::atoi(share);
    host_.set_call_logging(false);

    shapes_.push_back(&scene_.add_ball_joint("Shoulder"));
    SimShape& arm = scene_.add_part("Arm");
    shapes_.push_back(&arm);
    shapes_.push_back(&scene_.add_ball_joint("Elbow", &arm));
    shapes_.push_back(&scene_.add_ball_joint("Wrist", &arm));
    shapes_.push_back(&scene_.add_shape("Sphere", sim_shape_kind_other));
    shapes_[2]->set_rotation(Quaternion(0.9659258f, 0.2588190f, 0, 0));
    shapes_[2]->set_center(Vector3(10, 20, 30));
    shapes_[3]->set_stream_floats(panel_component_id, {-45.5f, 45.5f, -90, 90, 0, 0});
    scene_.select(*shapes_[0]);

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    host_window_ = create_host_main_window();
    // Shown, so that hiding the panel or ending a dialog has a window to activate.
    ShowWindow(host_window_, SW_SHOWNOACTIVATE);
    host_.set_main_window(host_window_);
    create_panel_window(host_.application());
    commands_.watch(panel_state.panel_window);
    slider_reports.panel_procedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        panel_state.panel_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&reporting_panel_proc)));
    for (int id : slider_ids)
        documented_trackbar.wine_procedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(GetDlgItem(
            panel_state.panel_window, id), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&documented_trackbar_proc)));
    open();
}

SoakWorld::~SoakWorld()
{
    set_key(VK_CONTROL, false);
    set_key(VK_LBUTTON, false);
    host_.clear_faults();
    HostCatch caught;
    host_try([] { unlink(); }, &caught);
    destroy_panel_window();
    DestroyWindow(host_window_);
    pump_pending();
    restore_position(had_stored_position_, stored_position_);
}

// ---- the host's side -----------------------------------------------------

// What the panel component does when the user opens the plug-in.
void SoakWorld::open()
{
    joint_link.host = host_.application();
    joint_link.scene = scene_.handle();
    if (panel_state.shown == 1)
        return;
    told_ = single_selected_joint();
    relink();
    after_link_attempt();
    ShowWindow(panel_state.panel_window, SW_SHOW);
    panel_state.shown = 1;
}

void SoakWorld::notify_relink()
{
    joint_link.scene = scene_.handle();
    if (panel_state.shown == 0)
        return;
    told_ = single_selected_joint();
    save_limits_and_relink();
    after_link_attempt();
}

void SoakWorld::notify_refresh()
{
    joint_link.scene = scene_.handle();
    if (GetActiveWindow() == panel_state.panel_window)
        return;
    if (panel_state.shown == 1) {
        told_ = single_selected_joint();
        relink();
        after_link_attempt();
    }
}

// A finished relink took the angles from the joint and showed them.
void SoakWorld::after_link_attempt()
{
    take_limits_from_scene();
    take_angles_from_boxes();
    model_known_ = true;
    guide_may_be_open_ = false;
    if (joint_link.joint != nullptr)
        rotation_may_lead_ = false;
}

// ---- the oracle's model --------------------------------------------------

SimShape* SoakWorld::single_selected_joint() const
{
    return scene_.selection().size() == 1 && scene_.selection()[0]->is_ball_joint() ? scene_.selection()[0] : nullptr;
}

// The joint the host last told the panel of, while the panel's sliders say it is linked.
SimShape* SoakWorld::linked() const
{
    return IsWindowEnabled(GetDlgItem(panel_state.panel_window, IDC_PITCH_SLIDER)) ? told_ : nullptr;
}

// The six limits stored with the joint, whole, or the full range.
void SoakWorld::take_limits_from_scene()
{
    std::vector<float> record = told_ != nullptr ? told_->stream_floats(panel_component_id) : std::vector<float>();
    if (record.size() < 6)
        record = {-180, 180, -180, 180, -180, 180};
    for (int slot = 0; slot < 3; ++slot)
        axes_[slot].minimum = record[2 * slot], axes_[slot].maximum = record[2 * slot + 1];
}

// Angles the panel took from the joint or a text, as its boxes show them; a
// typed one within its limits.
void SoakWorld::take_angles_from_boxes(int typed_slot)
{
    for (int slot = 0; slot < 3; ++slot) {
        char text[64] = {};
        GetWindowTextA(GetDlgItem(panel_state.panel_window, edit_ids[slot]), text, sizeof text);
        ModelAxis& axis = axes_[slot];
        axis = {static_cast<float>(std::atof(text)), false, axis.minimum, axis.maximum};
        // Limits whose text is longer than the box's eleven characters (1e30
        // stored with a shape) leave a box that cannot show the angle.
        if (slot == typed_slot && -1000 < axis.minimum && axis.minimum <= axis.maximum && axis.maximum < 1000 &&
            model_known_ &&
            (axis.angle + 1e-5f < axis.minimum || axis.angle - 1e-5f > axis.maximum))
            broken_gesture_ = std::string("a typed angle ") + text + " went past its limits";
    }
}

float SoakWorld::clamped(int slot, int position) const
{
    const float angle = position < axes_[slot].minimum ? axes_[slot].minimum : static_cast<float>(position);
    return angle > axes_[slot].maximum ? axes_[slot].maximum : angle;
}

// The axis, by the model, takes the angle: the linked joint turns from `before`
// about the slider's own axis (Pitch x, Yaw y, Roll z, right-handed, composed
// before the pose) by the angle less the axis's, within turn_tolerance; a
// gesture whose steps all turned nothing leaves the joint's bits.
void SoakWorld::expect_turn(int slot, float angle, const Quaternion& before, bool stepped)
{
    using namespace rotation_reference;
    ModelAxis& axis = axes_[slot];
    const double turn = radians(static_cast<double>(angle) - axis.angle);
    turn_unsure_ |= !axis.exact && std::fabs(turn) < turn_tolerance;
    SimShape* joint = linked();
    if (joint != nullptr && model_known_ && !rotation_may_lead_) {
        const Quaternion after = joint->rotation();
        if (axis.exact && !stepped && std::memcmp(&before, &after, sizeof after) != 0)
            broken_gesture_ = "a step that turned nothing changed the pose";
        const DQuat expected = about_axis(slot == 0, slot == 1, slot == 2, turn) * to_dquat(before);
        // A turn of more than a full circle (limits of 1e30 stored with a shape)
        // is float noise in the panel; only its bits are looked at. The panel
        // makes a turn a quaternion through Euler angles: a yaw turn near 90
        // degrees passes their gimbal point, where a float's rounding (6e-8)
        // grows in the angle by up to its square root.
        const double gimbal = slot == 1 ? std::min(6e-8 / std::fabs(std::cos(turn)), std::sqrt(1.2e-7)) : 0;
        if (std::fabs(turn) <= 2 * pi && rotation_distance(expected, to_dquat(after)) > turn_tolerance + 2 * gimbal)
            broken_gesture_ = "a step did not turn the joint by its angles about its axis";
    }
    axis = {angle, true, axis.minimum, axis.maximum};
}

// A step inside its gesture, at the position its trackbar reports: whether it turned.
bool SoakWorld::expect_step(int slot, int position, const Quaternion& before)
{
    const bool turned = clamped(slot, position) != axes_[slot].angle;
    expect_turn(slot, clamped(slot, position), before, turned);
    return turned;
}

// Every shape's pose and stored limits, as bytes.
std::string SoakWorld::scene_state() const
{
    std::string bytes;
    for (SimShape* shape : scene_.shapes()) {
        const std::vector<float> record = shape->stream_floats(panel_component_id);
        bytes.append(reinterpret_cast<const char*>(&shape->rotation()), sizeof(Quaternion));
        bytes.append(reinterpret_cast<const char*>(record.data()), record.size() * sizeof(float)) += '|';
    }
    return bytes;
}

// The host notifies on its own, with or without a change of selection.
void SoakWorld::host_notifies(const char* when)
{
    note(std::string("the host notifies ") + when);
    if (random_.chance(50))
        select_random();
    HostCatch caught;  // the host's own notification: it catches what the panel passes back
    if (!host_try([this, relinks = random_.chance(50)] { relinks ? notify_relink() : notify_refresh(); }, &caught))
        model_known_ = false, guide_may_be_open_ = true;
    notified_state_ = scene_state();
}

void SoakWorld::select_random()
{
    std::vector<SimShape*> pool = shapes_;
    if (SimShape* guide = scene_.find("#Kelvaro_Guide"))
        pool.push_back(guide);
    std::vector<SimShape*> chosen;
    if (random_.chance(50)) {
        // Mostly the user picks one joint.
        static const size_t joints[] = {0, 2, 3};
        chosen.push_back(shapes_[joints[random_.below(3)]]);
    } else {
        const int count = random_.below(3);
        for (int i = 0; i < count; ++i)
            chosen.push_back(pool[static_cast<size_t>(random_.below(static_cast<int>(pool.size())))]);
    }
    scene_.select(chosen);
    std::string line = "select";
    for (SimShape* shape : chosen)
        line += " " + shape->name();
    note(line);
}

// The scene as loaded from a file: any six floats stored with a shape.
void SoakWorld::store_random_limits()
{
    SimShape& shape = *shapes_[static_cast<size_t>(random_.below(static_cast<int>(shapes_.size())))];
    std::vector<float> values;
    const int count = random_.chance(10) ? random_.below(6) : 6;
    for (int i = 0; i < count; ++i) {
        switch (random_.below(8)) {
        case 0: values.push_back(std::numeric_limits<float>::quiet_NaN()); break;
        case 1: values.push_back(random_.chance(50) ? 1e30f : -1e30f); break;
        case 2: values.push_back(random_.between(-9999999, 9999999) * 1e-7f); break;
        default: values.push_back(static_cast<float>(random_.between(-200, 200)) + random_.below(10) * 0.1f); break;
        }
    }
    shape.set_stream_floats(panel_component_id, values);
    note("store " + std::to_string(count) + " limits with " + shape.name());
}

// Clear Kelvaro Attribute on a shape, as the attribute component runs it.
void SoakWorld::clear_attribute()
{
    SimShape& shape = *shapes_[static_cast<size_t>(random_.below(static_cast<int>(shapes_.size())))];
    note("clear attribute of " + shape.name());
    ReleaseGuard<HostStream> stream(shape.shape_handle()->find_attribute_stream(panel_component_id, 0));
    if (!stream)
        return;
    shape.shape_handle()->delete_attribute_stream(panel_component_id, 0);
    for (ModelAxis& axis : axes_)
        axis.minimum = default_minimum_angle, axis.maximum = default_maximum_angle;
    for (const AxisControls& controls : axis_controls) {
        AxisChannel& channel = joint_link.*controls.channel;
        channel.minimum = default_minimum_angle;
        channel.maximum = default_maximum_angle;
        SendDlgItemMessageA(panel_state.panel_window, controls.slider_id, TBM_SETSEL, TRUE,
                            MAKELPARAM(static_cast<WORD>(-180), static_cast<WORD>(180)));
    }
}

void SoakWorld::auto_key_and_time()
{
    static const float times[] = {0, 10, 15, 15.5f, 30, 45, -5, 1e6f};
    host_.set_auto_key(random_.chance(60));
    const float time = times[random_.below(8)];
    scene_.set_current_time(time);
    SimShape& joint = *shapes_[static_cast<size_t>(random_.below(2) * 2)];
    joint.set_motion_enabled(random_.chance(85));
    note(std::string("auto key ") + (host_.auto_key() ? "on" : "off") + ", time " + std::to_string(time));
}

// The next few calls of one host operation fail, and one host-driven or
// user-driven step runs into them; the host catches what comes out.
void SoakWorld::host_fault()
{
    SimOperation operation;
    do {
        operation = static_cast<SimOperation>(random_.below(sim_operation_count));
    } while (std::strcmp(sim_operation_name(operation), "Release") == 0 ||
             std::strcmp(sim_operation_name(operation), "AddRef") == 0 ||
             std::strcmp(sim_operation_name(operation), "QueryInterface") == 0);
    int nth = random_.between(1, 3);
    // Faults inside typed commits and the limits dialog once left the panel
    // stuck (commit_after_fault_test.cpp keeps those cases).
    static const SoakOperation steps[] = {SoakOperation::relink, SoakOperation::refresh, SoakOperation::open_panel,
                                          SoakOperation::close_panel, SoakOperation::drag, SoakOperation::page_click,
                                          SoakOperation::undo, SoakOperation::reset, SoakOperation::clear_attribute,
                                          SoakOperation::type_text, SoakOperation::paste_text,
                                          SoakOperation::limits_dialog};
    SoakOperation step = steps[random_.below(sizeof steps / sizeof steps[0])];
    // A quarter of the faults cut short the guide a link builds (its part's
    // handle, asked once, or one of its three lines): what is left begun of
    // it, the next close, link or unlink must end.
    static const SimOperation guide_calls[] = {SimOperation::part_handle, SimOperation::begin_line,
                                               SimOperation::set_color, SimOperation::end_line};
    if (random_.chance(25)) {
        operation = guide_calls[random_.below(4)];
        nth = operation == SimOperation::part_handle ? 1 : nth;
        step = steps[random_.below(3)];  // relink, refresh, open
    }
    host_.fail_call(operation, nth, 1000 + random_.below(100));
    // Under Wine every host exception that unwinds through the window system
    // uses up some of the thread's window-procedure nesting for good
    // (window_nesting.h). Once that runs low, faults go only into steps the
    // host calls directly, so that the rest of the run still tests the panel
    // and not a worn-out window system.
    if (window_nesting_left() < nesting_for_window_faults) {
        static const SoakOperation host_steps[] = {SoakOperation::relink, SoakOperation::refresh,
                                                   SoakOperation::clear_attribute};
        step = host_steps[random_.below(3)];
    }
    note(std::string("fault: call ") + std::to_string(nth) + " of " + sim_operation_name(operation) + " during " +
         soak_operation_name(step));
    const int raised_before = host_.faults_raised();
    HostCatch caught;
    const bool returned = host_try(
        [&] {
            if (step == SoakOperation::open_panel && panel_state.shown == 1)
                close_panel();
            perform(step);
        },
        &caught);
    set_key(VK_CONTROL, false);
    if (!returned || host_.faults_raised() != raised_before) {
        ++faults_caught_;
        model_known_ = false;
        guide_may_be_open_ = true;
        // A write that never landed leaves the plug-in's rotation ahead of the
        // joint until the next link; no other fault may part them.
        if (operation == SimOperation::set_rotation)
            rotation_may_lead_ = true;
        // A guide part that the host made but failed to hand over (begin_part
        // done, its part handle not given) is the host's to clean up.
        for (SimShape* guide : scene_.find_all("#Kelvaro_Guide"))
            if (guide->part_handle() != joint_link.guide &&
                std::find(orphan_guides_.begin(), orphan_guides_.end(), guide) == orphan_guides_.end())
                orphan_guides_.push_back(guide);
    }
    host_.clear_faults();
    // What the step left pressed is let go, the host's own modal dialog ends;
    // what the fault left keyed is taken.
    set_key(VK_LBUTTON, false);
    EnableWindow(host_window_, TRUE);
    answerer_.meanwhile(nullptr);
    documented_trackbar.playing = false;
    ReleaseCapture();
    if (axis_channel(joint_link.active_slider) != nullptr)
        SendMessageA(panel_state.panel_window, WM_HSCROLL, TB_ENDTRACK,
                     reinterpret_cast<LPARAM>(GetDlgItem(panel_state.panel_window, joint_link.active_slider)));
    expected_keys_.clear();
    for (SimShape* shape : scene_.shapes())
        for (const SimMotionKey& key : shape->keys())
            expected_keys_[shape][key.time] = key.rotation;
}

// ---- the user's side -----------------------------------------------------

bool SoakWorld::panel_usable() const
{
    return panel_state.shown == 1 && IsWindowVisible(panel_state.panel_window);
}

bool SoakWorld::control_usable(int id) const
{
    return panel_usable() && IsWindowEnabled(GetDlgItem(panel_state.panel_window, id));
}

int SoakWorld::random_slider()
{
    return slider_ids[random_.below(3)];
}

int SoakWorld::random_edit()
{
    return edit_ids[random_.below(3)];
}

// A press (no step: a click) takes the focus and the capture; the let-go comes in
// Wine's order or the documented one. With a dialog button planned (not IDCLOSE),
// Ctrl opens the limits dialog, which ends the drag. The host lives its own life
// inside: its own modal dialog holds its window disabled, it notifies between
// the steps or while the dialog runs, takes the capture, or fails in the key.
void SoakWorld::drag_slider(int slider_id, int dialog_button)
{
    if (!control_usable(slider_id))
        return;
    if (real_)
        return real_slider_gesture(slider_id, dialog_button, 0);
    HWND panel = panel_state.panel_window;
    HWND slider = GetDlgItem(panel, slider_id);
    const bool ctrl = dialog_button != IDCLOSE, wine_order = random_.chance(50);
    const int steps = random_.chance(ctrl ? 50 : 25) ? 0 : random_.between(1, ctrl ? 2 : 12);
    const bool held = !ctrl || random_.chance(50), over_slider = !ctrl || random_.chance(70);
    const bool host_modal = random_.chance(15), theft = !ctrl && random_.chance(10);
    const char* failing = window_nesting_left() >= nesting_for_window_faults && random_.chance(10)
                              ? key_calls[random_.below(sizeof key_calls / sizeof *key_calls)] : nullptr;
    note("drag " + std::to_string(slider_id) + " " + std::to_string(steps) + " steps" + (ctrl ? ", Ctrl" : "") +
         (!held ? ", let go in the dialog" : over_slider ? "" : ", let go elsewhere") +
         (wine_order ? "" : ", documented") + (host_modal ? ", the host's modal dialog up" : "") +
         (theft ? ", the capture taken" : "") + (failing ? std::string(", failing ") + failing : ""));
    // Steps no press began (Wine's trackbar tracks the mouse, button up) change nothing.
    auto strays = [&](int count, const char* after) {
        const std::string state = scene_state();
        const int dialogs = answerer_.dialogs_seen();
        for (; count > 0; --count) {
            set_key(VK_CONTROL, random_.chance(30));
            SendMessageA(slider, TBM_SETPOS, TRUE, random_.between(-180, 180));
            SendMessageA(panel, WM_HSCROLL, TB_THUMBTRACK, reinterpret_cast<LPARAM>(slider));
        }
        set_key(VK_CONTROL, false);
        if (scene_state() != state || answerer_.dialogs_seen() != dialogs)
            broken_gesture_ = std::string("after ") + after + ", a step turned a joint or opened a dialog";
    };
    SimShape* const pressed_on = linked();
    if (host_modal)
        EnableWindow(host_window_, FALSE);
    documented_trackbar = {!wine_order, true, documented_trackbar.wine_procedure};
    press_slider(slider);
    set_key(VK_LBUTTON, true);
    bool turned = false, alive = true;  // a link to another joint, or none, ends the gesture
    for (int i = 0, position = static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0)); i < steps; ++i) {
        if (random_.chance(4))
            host_notifies("between the steps");
        alive = alive && linked() == pressed_on;
        if (!alive) {
            strays(1, "a link to another joint");
            continue;
        }
        position = std::max(-180, std::min(180, position + random_.between(-40, 40)));
        SendMessageA(slider, TBM_SETPOS, TRUE, position);
        const Quaternion before = pressed_on->rotation();
        SendMessageA(panel, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), reinterpret_cast<LPARAM>(slider));
        turned |= expect_step(slot_of_slider(slider_id), position, before);
    }
    if (ctrl) {
        const int message_boxes = answerer_.message_boxes_seen();
        set_key(VK_LBUTTON, held);
        set_key(VK_CONTROL, true);
        if (random_.chance(15))
            answerer_.meanwhile([this] { host_notifies("in the limits dialog"); });
        SendMessageA(panel, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, SendMessageA(slider, TBM_GETPOS, 0, 0)),
                     reinterpret_cast<LPARAM>(slider));
        set_key(VK_CONTROL, false);
        answerer_.meanwhile(nullptr);
        // The answer belongs to the joint the dialog was opened on.
        const bool answered = alive && linked() == pressed_on;
        if (!answered && scene_state() != notified_state_)
            broken_gesture_ = "the limits dialog's answer went to a joint it was not opened on";
        const bool accepted = answered && dialog_button == IDOK && answerer_.message_boxes_seen() == message_boxes;
        if (accepted || (answered && turned))
            expect_key();
        if (accepted)
            take_limits_from_scene();
        take_angles_from_boxes();
        if (wine_order && !held && random_.chance(30))
            SetFocus(slider);  // a click on the panel's caption: the dialog manager gives the slider its focus back
        strays(wine_order ? random_.below(3) : 0, "the dialog");
    }
    set_key(VK_LBUTTON, false);
    if (failing != nullptr)
        host_.fail_call(failing, 1, 1100);
    const int raised_before = host_.faults_raised();
    HostCatch caught;
    host_try(
        [&] {
            if (theft)  // another window takes the focus and the capture: either trackbar ends the drag
                SetFocus(host_window_), SetCapture(host_window_);
            documented_trackbar.dragging = false;
            if (!wine_order)
                ReleaseCapture();
            if (held && over_slider && (wine_order || !ctrl)) {
                if (wine_order || steps > 0)
                    SendMessageA(panel, WM_HSCROLL, TB_THUMBPOSITION, reinterpret_cast<LPARAM>(slider));
                SendMessageA(panel, WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(slider));
            }
        },
        &caught);
    host_.clear_faults();
    const bool key_failed = host_.faults_raised() != raised_before;
    if (!ctrl && alive && !key_failed)
        expect_key();
    expected_key_writes_ += key_failed && failing && std::strstr("insert_key set_key_rotation", failing);  // tried
    strays(key_failed ? random_.between(1, 3) : 0, "a failed key");
    ReleaseCapture();
    if (host_modal && IsWindowEnabled(host_window_))
        broken_gesture_ = "the panel enabled the host's window under the host's own modal dialog";
    EnableWindow(host_window_, TRUE);
}

// A slider gesture as real input onto the real trackbar: a thumb drag (Ctrl on
// its last move opens the limits dialog, answered by real keys or clicks, the
// button let go in it or held through), a channel click (held: it pages again),
// a key on the focused slider. The model takes the positions the trackbar reported.
void SoakWorld::real_slider_gesture(int slider_id, int dialog_button, int how)
{
    static const WORD keys[] = {VK_LEFT, VK_RIGHT, VK_PRIOR, VK_NEXT, VK_HOME, VK_END};
    HWND panel = panel_state.panel_window, slider = GetDlgItem(panel, slider_id);
    const int slot = slot_of_slider(slider_id);
    const bool ctrl = dialog_button != IDCLOSE, held = random_.chance(50), right = random_.chance(50);
    const WORD key = keys[random_.below(6)];
    const int dx = random_.between(-150, 150), moves = random_.between(1, 6);  // drawn whatever comes
    note("real gesture " + std::to_string(how) + " on " + std::to_string(slider_id) + (ctrl ? ", Ctrl" : "") +
         (held ? ", held" : ""));
    const Quaternion before = linked()->rotation();
    const int message_boxes = answerer_.message_boxes_seen();
    const POINT target = how == 0 ? thumb_center(slider) : channel_point(slider, right ? 40 : -40);
    if (how < 3 && !reaches(slider, target))
        return note("  out of the mouse's reach");
    documented_trackbar.playing = false;
    slider_reports = {true, {}, slider_reports.panel_procedure};
    if (how == 0 && drag_thumb(slider, dx, moves, false) && ctrl) {
        const POINT nudged = {thumb_center(slider).x + 8, thumb_center(slider).y};
        key_down(VK_CONTROL);
        move_cursor(nudged);
        if (!held)
            release_left_button();  // queued behind the move that opens the dialog: let go in it
        move_cursor_and_wait(nudged);
    } else if (how == 1 || how == 2) {
        move_cursor_and_wait(target);
        press_left_button();
        pump_until([] { return GetKeyState(VK_LBUTTON) < 0; }, 1000);
        pump_for(how == 2 ? 600 : 0);
    } else if (how == 3) {
        activate_for_input(panel, slider);
        key_down(key);
        pump_until([key] { return GetKeyState(key) < 0; }, 1000);
    }
    release_left_button();
    key_up(VK_CONTROL);
    key_up(key);
    pump_until([key] { return GetKeyState(VK_LBUTTON) >= 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(key) >= 0; });
    slider_reports.recording = false;  // a held click's repeat may come up to its let-go
    float angle = axes_[slot].angle;
    bool turned = false, dialog = false, noisy = false;  // noisy: a step beyond a full circle (limits of 1e30)
    for (const SliderReport& report : slider_reports.reports) {
        if (report.slider_id != slider_id || dialog || (dialog = report.code == TB_THUMBTRACK && report.ctrl) ||
            (report.code != TB_THUMBTRACK && report.code != TB_PAGEUP && report.code != TB_PAGEDOWN))
            continue;
        const float step = clamped(slot, report.position);
        noisy |= std::fabs(static_cast<double>(step) - angle) > 360;
        turned |= (angle = step) != axes_[slot].angle;
    }
    const bool accepted = dialog && dialog_button == IDOK && answerer_.message_boxes_seen() == message_boxes;
    if (accepted)
        take_limits_from_scene();
    char text[64] = {};
    GetDlgItemTextA(panel, edit_ids[slot], text, sizeof text);
    const float final_angle = accepted ? static_cast<float>(std::atof(text)) : angle;
    noisy |= std::fabs(static_cast<double>(final_angle) - angle) > 360;
    if (noisy)
        axes_[slot] = {final_angle, true, axes_[slot].minimum, axes_[slot].maximum};
    else
        expect_turn(slot, final_angle, before, turned || accepted);
    if (!dialog || accepted || turned)
        expect_key();
    if (dialog)
        wander(random_.between(1, 4));  // right after the dialog
}

// The mouse anywhere over the panel and the host with the button up, and presses
// where nothing may change (the panel's caption and background, a box, the
// host's window), with Ctrl or Shift now and then.
void SoakWorld::wander(int moves)
{
    HWND panel = panel_state.panel_window;
    const std::string state = scene_state();
    const int dialogs = answerer_.dialogs_seen();
    for (int i = 0; i < moves; ++i) {
        RECT area;
        GetWindowRect(random_.chance(70) ? panel : host_window_, &area);
        const POINT to = {random_.between(area.left, area.right), random_.between(area.top, area.bottom)};
        const WORD modifier = random_.chance(30) ? (random_.chance(50) ? VK_CONTROL : VK_SHIFT) : 0;
        if (modifier != 0)
            key_down(modifier);
        move_cursor_and_wait(to);
        HWND under = WindowFromPoint(to);
        const LRESULT hit = SendMessageA(under, WM_NCHITTEST, 0, MAKELPARAM(to.x, to.y));
        if (random_.chance(40) && (hit == HTCLIENT || (under == panel && hit == HTCAPTION)) &&
            (under == panel || under == host_window_ || slot_of_edit(GetDlgCtrlID(under)) >= 0))
            click_at(to);
        if (modifier != 0)
            key_up(modifier);
        pump_until([] { return GetKeyState(VK_LBUTTON) >= 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_SHIFT) >= 0; });
    }
    if (scene_state() != state || answerer_.dialogs_seen() != dialogs)
        broken_gesture_ = "the mouse with no press on a slider turned a joint or opened a dialog";
}

// A click into the channel, which holds the capture until the let-go, or an
// arrow key on the focused slider, which moves only the thumb.
void SoakWorld::page_click()
{
    const int slider_id = random_slider();
    if (!control_usable(slider_id))
        return;
    if (real_)
        return real_slider_gesture(slider_id, IDCLOSE, random_.between(1, 3));
    HWND panel = panel_state.panel_window;
    HWND slider = GetDlgItem(panel, slider_id);
    SetFocus(slider);
    const bool key = random_.chance(30), up = random_.chance(50), wine_order = random_.chance(50);
    const int position = static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0));
    note(std::string(key ? "key " : "page ") + (up ? "up " : "down ") + std::to_string(slider_id) +
         (wine_order ? "" : ", documented"));
    if (key) {  // the trackbar steps on the key's press and ends on its release
        SendMessageA(slider, WM_KEYDOWN, up ? VK_LEFT : VK_RIGHT, 1);
        SendMessageA(slider, WM_KEYUP, up ? VK_LEFT : VK_RIGHT, 0xC0000001);
        expect_key();
        return;
    }
    documented_trackbar = {!wine_order, false, documented_trackbar.wine_procedure};
    press_slider(slider);
    const int paged = std::max(-180, std::min(180, position + (up ? -30 : 30)));
    const Quaternion before = linked() != nullptr ? linked()->rotation() : Quaternion();
    SendMessageA(slider, TBM_SETPOS, TRUE, paged);
    SendMessageA(panel, WM_HSCROLL, up ? TB_PAGEUP : TB_PAGEDOWN, reinterpret_cast<LPARAM>(slider));
    expect_step(slot_of_slider(slider_id), paged, before);
    if (!wine_order)
        ReleaseCapture();
    SendMessageA(panel, WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(slider));
    ReleaseCapture();
    expect_key();
}

// Keystrokes into a focused edit box: each WM_CHAR changes the text and the
// edit box sends EN_CHANGE while it has the focus, as typing does.
void SoakWorld::type_text()
{
    const int edit_id = random_edit();
    if (!control_usable(edit_id))
        return;
    HWND edit = GetDlgItem(panel_state.panel_window, edit_id);
    activate_for_input(real_ ? panel_state.panel_window : nullptr, edit);
    if (GetFocus() != edit)
        return;  // nobody types into a box without the focus
    std::string typed = real_ ? "(real) " : "";
    bool committed = false;
    if (random_.chance(30)) {
        SendMessageA(edit, EM_SETSEL, 0, -1);
        typed += "<all>";
    }
    const int keys = random_.between(1, 14);
    for (int i = 0; i < keys; ++i) {
        const std::string key = random_keystroke(random_);
        typed += key == "\b" ? "<bs>" : key;
        char text[64] = {};
        GetWindowTextA(edit, text, sizeof text);
        const std::string before = text;
        const bool focused = GetFocus() == edit;
        commands_.clear();
        if (real_ && key.size() == 1 && VkKeyScanA(key[0]) != -1) {  // a key of the keyboard
            const BYTE pressed = LOBYTE(VkKeyScanA(key[0]));
            const SHORT toggled = GetKeyState(pressed) & 1;  // flips as each press is taken in
            ::type_text(key.c_str());
            pump_until([&] { return (GetKeyState(pressed) & 1) != toggled && GetKeyState(pressed) >= 0; }, 1000);
        } else {
            for (char c : key)
                SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
        }
        if (focused && box_changed(commands_, edit_id))
            expect_key(), committed = true;
        GetWindowTextA(edit, text, sizeof text);
        // A key that changed the text went through the commit.
        typed += std::string("[") + text + (GetFocus() == edit ? "" : " unfocused") + "]";
    }
    note("type into " + std::to_string(edit_id) + ": " + typed);
    take_angles_from_boxes(committed ? slot_of_edit(edit_id) : -1);
    if (random_.chance(30))
        SetFocus(host_window_);
}

// A paste over the whole text: EM_REPLACESEL sends EN_CHANGE once.
void SoakWorld::paste_text()
{
    const int edit_id = random_edit();
    if (!control_usable(edit_id))
        return;
    HWND edit = GetDlgItem(panel_state.panel_window, edit_id);
    SetFocus(edit);
    if (GetFocus() != edit)
        return;
    const std::string text = random_text(random_);
    note("paste into " + std::to_string(edit_id) + ": " + text.substr(0, 40));
    char before[64] = {}, after[64] = {};
    GetWindowTextA(edit, before, sizeof before);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    commands_.clear();
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    const bool committed = box_changed(commands_, edit_id);
    if (committed)
        expect_key();
    GetWindowTextA(edit, after, sizeof after);
    take_angles_from_boxes(committed ? slot_of_edit(edit_id) : -1);
    if (random_.chance(30))
        SetFocus(host_window_);
}

// Ctrl held on a slider's drag opens the limits dialog; the answerer fills
// it in and presses a button from inside its modal loop.
void SoakWorld::limits_dialog()
{
    const int slider_id = random_slider();
    if (!control_usable(slider_id))
        return;
    std::string texts[3];
    if (random_.chance(60)) {
        int values[3] = {random_.between(-180, 180), random_.between(-180, 180), random_.between(-180, 180)};
        if (random_.chance(20))
            values[0] = values[2] = values[1];  // the axis pinned
        std::sort(values, values + 3);
        for (int i = 0; i < 3; ++i)
            texts[i] = std::to_string(values[i]) + (random_.chance(30) ? ".5" : "");
    } else {
        for (std::string& text : texts)
            text = random_text(random_);
    }
    const int button = random_.chance(85) ? IDOK : IDCANCEL;
    using By = ModalAutoanswer::By;
    answerer_.plan(texts[0], texts[1], texts[2], button, !real_ ? By::messages : random_.chance(50) ? By::keys : By::clicks);
    note("limits dialog " + std::to_string(slider_id) + ": " + texts[0].substr(0, 20) + " | " +
         texts[1].substr(0, 20) + " | " + texts[2].substr(0, 20) + (button == IDOK ? " OK" : " CANCEL"));
    drag_slider(slider_id, button);
}

// A real click, for a real operation where the mouse reaches: pumped until done
// (a second at most). False, with nothing sent, otherwise.
bool SoakWorld::real_click(HWND window, POINT at, const std::function<bool()>& done)
{
    if (!real_ || !reaches(window, at))
        return false;
    commands_.clear();
    move_cursor_and_wait(at);
    // The window manager takes a press on a window it has not focused to focus
    // it, and may keep the release: such a click is made once more.
    for (int attempt = 0; attempt < 2 && !done(); ++attempt) {
        release_left_button();
        click_at(at);
        pump_until(done, 1000);
    }
    return true;
}

void SoakWorld::click(int button_id)
{
    if (!control_usable(button_id))
        return;
    note(button_id == IDC_UNDO ? "UNDO" : "RESET");
    HWND button = GetDlgItem(panel_state.panel_window, button_id);
    SetFocus(button);  // a click takes the focus
    if (!real_click(button, center_of(button), [&] { return !commands_.command_codes(button_id).empty(); }))
        SendMessageA(panel_state.panel_window, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    take_angles_from_boxes();
}

void SoakWorld::close_panel()
{
    if (!panel_usable())
        return;
    note("close");
    HWND panel = panel_state.panel_window;
    RECT frame;
    GetWindowRect(panel, &frame);
    POINT box = {frame.right, frame.top + GetSystemMetrics(SM_CYSMCAPTION) / 2 + 2};  // the caption's close box
    while (box.x > frame.left && SendMessageA(panel, WM_NCHITTEST, 0, MAKELPARAM(box.x, box.y)) != HTCLOSE)
        --box.x;
    if (box.x == frame.left || !real_click(panel, box, [panel] { return !IsWindowVisible(panel); }))
        SendMessageA(panel, WM_COMMAND, IDCANCEL, 0);
    if (IsWindowVisible(panel))
        broken_gesture_ = "a click on the close box left the panel open";
    guide_may_be_open_ = false;
}

void SoakWorld::toggle_autoshade()
{
    if (!panel_usable())
        return;
    HWND box = GetDlgItem(panel_state.panel_window, IDC_AUTOSHADE);
    const bool checked = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    note(checked ? "AutoShade off" : "AutoShade on");
    if (real_click(box, center_of(box), [this] { return !commands_.command_codes(IDC_AUTOSHADE).empty(); }))
        return;
    SendMessageA(box, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
    SendMessageA(panel_state.panel_window, WM_COMMAND, MAKEWPARAM(IDC_AUTOSHADE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(box));
}

// A let-go or an accepted entry keys the linked joint, while it is the active
// shape with motion on, under auto key, at the current time (a key there is
// replaced), with the joint's own pose.
void SoakWorld::expect_key()
{
    SimShape* joint = linked();
    if (host_.auto_key() && joint != nullptr && !scene_.selection().empty() &&
        scene_.selection()[0] == joint && joint->motion_enabled()) {
        expected_keys_[joint][scene_.current_time()] = rotation_may_lead_ ? Quaternion() : joint->rotation();
        ++expected_key_writes_;
    }
}

// Every shape's keys at the times the rule gives, and at the current time
// with the pose keyed there (where the rule knows it).
std::string SoakWorld::broken_key() const
{
    const float now = scene_.current_time();
    auto same = [now](const SimMotionKey& key, const std::pair<const float, Quaternion>& rule) {
        return key.time == rule.first && (key.time != now || std::isnan(rule.second.w) ||
                                          std::memcmp(&key.rotation, &rule.second, sizeof(Quaternion)) == 0);
    };
    for (SimShape* shape : scene_.shapes()) {
        const auto rule = expected_keys_.count(shape) != 0 ? expected_keys_.at(shape) : std::map<float, Quaternion>();
        if (!std::equal(shape->keys().begin(), shape->keys().end(), rule.begin(), rule.end(), same))
            return "joint " + shape->name() + "'s keys are not the README's rule's (" + std::to_string(rule.size()) +
                   "), at times or in the pose at the current time " + std::to_string(now);
    }
    return {};
}

// ---- running -------------------------------------------------------------

void SoakWorld::note(const std::string& line)
{
    static const bool trace = std::getenv("KELVARO_SOAK_TRACE") != nullptr;
    if (trace) {
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
    }
    trail_.push_back(line);
    if (trail_.size() > trail_length)
        trail_.pop_front();
}

void SoakWorld::perform(SoakOperation operation)
{
    ++performed_[static_cast<int>(operation)];
    // What the user does in the host (select, store, open) or what the host
    // does on its own happens with the keyboard focus in the host's window.
    switch (operation) {
    case SoakOperation::select:
    case SoakOperation::store_limits:
    case SoakOperation::relink:
    case SoakOperation::refresh:
    case SoakOperation::open_panel:
    case SoakOperation::clear_attribute:
    case SoakOperation::auto_key_and_time:
        SetFocus(host_window_);
        break;
    default:
        break;
    }
    switch (operation) {
    case SoakOperation::select: select_random(); break;
    case SoakOperation::store_limits: store_random_limits(); break;
    case SoakOperation::relink: note("relink"); notify_relink(); break;
    case SoakOperation::refresh: note("refresh"); notify_refresh(); break;
    case SoakOperation::drag: drag_slider(random_slider(), IDCLOSE); break;
    case SoakOperation::page_click: page_click(); break;
    case SoakOperation::type_text: type_text(); break;
    case SoakOperation::paste_text: paste_text(); break;
    case SoakOperation::limits_dialog: limits_dialog(); break;
    case SoakOperation::undo: click(IDC_UNDO); break;
    case SoakOperation::reset: click(IDC_RESET); break;
    case SoakOperation::close_panel: close_panel(); break;
    case SoakOperation::open_panel: note("open"); open(); break;
    case SoakOperation::autoshade: toggle_autoshade(); break;
    case SoakOperation::clear_attribute: clear_attribute(); break;
    case SoakOperation::auto_key_and_time: auto_key_and_time(); break;
    case SoakOperation::host_fault: host_fault(); break;
    case SoakOperation::wander: note("wander"); if (real_) wander(random_.between(2, 8)); break;
    case SoakOperation::count: break;
    }
}

bool SoakWorld::run(int operations)
{
    int total_weight = 0;
    for (const auto& draw : operation_draws)
        total_weight += draw.weight;
    for (int n = 0; n < operations; ++n) {
        int pick = random_.below(total_weight);
        int kind = 0;
        while (pick >= operation_draws[kind].weight)
            pick -= operation_draws[kind++].weight;
        LARGE_INTEGER before, after;
        QueryPerformanceCounter(&before);
        auto key_writes = [&] { return host_.call_count("insert_key") + host_.call_count("set_key_rotation"); };
        const int writes = key_writes();
        expected_key_writes_ = 0;
        turn_unsure_ = false;
        // A share of the user's gestures goes through the input queue (not those
        // a host fault runs into), onto the panel made whole first: AutoShade
        // rolls it down as the mouse comes onto it.
        const SoakOperation operation = static_cast<SoakOperation>(kind);
        const bool real = operation_draws[kind].real_form && random_.below(100) < real_share_ && panel_usable();
        if (real && IsDlgButtonChecked(panel_state.panel_window, IDC_AUTOSHADE)) {
            RECT frame;
            GetWindowRect(panel_state.panel_window, &frame);
            move_cursor_and_wait({frame.left + 10, frame.top + 4});
            pump_for(250);
        }
        real_ = real;
        real_performed_ += real;
        perform(operation);
        // The mouse is parked off the windows again: under it, every change of
        // a window costs Wine a search for what the mouse is over now.
        if (real || n == 0)
            move_cursor_and_wait({GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
        real_ = false;
        pump_pending();
        QueryPerformanceCounter(&after);
        ticks_[kind] += after.QuadPart - before.QuadPart;
        real_ticks_ += real ? after.QuadPart - before.QuadPart : 0;
        // A turn too small for the boxes' text leaves unknown whether its gesture
        // keyed: a key at the current time may be there, in the joint's own pose.
        for (SimShape* shape : turn_unsure_ ? scene_.shapes() : std::vector<SimShape*>())
            for (const SimMotionKey& key : shape->keys())
                if (key.time == scene_.current_time() && std::memcmp(&key.rotation, &shape->rotation(), sizeof key.rotation) == 0)
                    expected_keys_[shape][key.time] = key.rotation;
        std::string broken = broken_gesture_.empty() ? broken_invariant() : broken_gesture_;
        // A slider gesture writes the keys the rule gives (a typed commit may key twice).
        if (broken.empty() && key_writes() - writes != expected_key_writes_ && !turn_unsure_ &&
            (operation == SoakOperation::drag || operation == SoakOperation::page_click ||
             operation == SoakOperation::limits_dialog || operation == SoakOperation::wander))
            broken = "the gesture wrote " + std::to_string(key_writes() - writes) + " keys, the rule " +
                     std::to_string(expected_key_writes_);
        if (!broken.empty()) {
            std::string trail;
            for (const std::string& line : trail_)
                trail += "\n  " + line;
            ADD_FAILURE() << "seed " << seed_ << ", operation " << n << " ("
                          << soak_operation_name(operation) << "): " << broken
                          << "\nlast operations:" << trail;
            return false;
        }
    }
    return true;
}

std::string SoakWorld::time_report() const
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::string report;
    for (int kind = 0; kind < static_cast<int>(SoakOperation::count); ++kind) {
        char line[96];
        snprintf(line, sizeof line, "%s %d in %.0f ms; ", soak_operation_name(static_cast<SoakOperation>(kind)),
                 performed_[kind], 1000.0 * static_cast<double>(ticks_[kind]) / static_cast<double>(frequency.QuadPart));
        report += line;
    }
    char line[96];
    snprintf(line, sizeof line, "of them as real input %d in %.0f ms", real_performed_,
             1000.0 * static_cast<double>(real_ticks_) / static_cast<double>(frequency.QuadPart));
    return report + line;
}

std::string SoakWorld::broken_invariant() const
{
    const std::string key = broken_key();
    if (!key.empty())
        return key;
    // The link holds counted references to its shape and joint, nothing else;
    // its part and guide are borrowed.
    const int held = (joint_link.shape != nullptr) + (joint_link.joint != nullptr);
    if (host_.outstanding_references() != held)
        return "references outstanding " + std::to_string(host_.outstanding_references()) + ", the link holds " +
               std::to_string(held) + ":\n" + host_.outstanding_report();
    if (host_.over_releases() != 0 || !host_.errors().empty())
        return "host errors: " + (host_.errors().empty() ? std::string("over-release") : host_.errors().front());

    // One joint, whole: its shape, part and joint handle.
    if (joint_link.joint != nullptr) {
        SimShape* linked = host_.shape_of(joint_link.joint);
        if (linked == nullptr || host_.shape_of(joint_link.shape) != linked || joint_link.part != linked->part_handle())
            return "the link's shape, part and joint are not of one joint";
    }

    size_t guides = 0;
    for (SimShape* guide : scene_.find_all("#Kelvaro_Guide"))
        guides += std::find(orphan_guides_.begin(), orphan_guides_.end(), guide) == orphan_guides_.end();
    if (guides > 1)
        return std::to_string(guides) + " guide parts in the scene";
    if ((scene_.open_part() != nullptr || scene_.open_line() != nullptr) && !guide_may_be_open_)
        return "a guide's part or line that a host failure left begun is still open";
    if (joint_link.guide != nullptr && guides != 1)
        return "the link holds a guide that is not in the scene";

    for (SimShape* shape : scene_.shapes())
        if (shape->is_ball_joint() && !is_unit(shape->rotation()))
            return "joint " + shape->name() + " has a rotation that is not a unit quaternion";
    if (!IsWindow(panel_state.panel_window))
        return "the panel window is gone";
    const int nesting = window_nesting_left();
    if (nesting < nesting_the_panel_needs)
        return "the window system lets window procedures nest only " + std::to_string(nesting) +
               " deep any more: host exceptions unwound through it";
    // No modal dialog is up between operations: the host's window and the
    // panel take input again.
    if (!IsWindowEnabled(host_window_))
        return "the host's main window stays disabled";
    if (!IsWindowEnabled(panel_state.panel_window))
        return "the panel stays disabled";
    return {};
}
