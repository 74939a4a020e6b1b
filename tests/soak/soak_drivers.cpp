// The user's gestures as the messages a real control sends, played from their plans (the
// trackbar's keys go to the trackbar); real input, where asked for, in soak_real_drivers.cpp.
#include "soak_world.h"

#include "desktop/slider_press.h"

PanelWatch panel_watch;
const int slider_ids[3] = {IDC_PITCH_SLIDER, IDC_YAW_SLIDER, IDC_ROLL_SLIDER};
const int edit_ids[3] = {IDC_PITCH_EDIT, IDC_YAW_EDIT, IDC_ROLL_EDIT};

namespace {

// The host calls of a let-go's key, any of which may fail.
const char* const key_calls[] = {"current_scene", "active_shape", "as_part", "joint_handle", "auto_key_enabled",
                                 "motion_enabled", "current_time", "key_count", "key_time", "insert_key",
                                 "set_key_rotation"};
const WORD slider_keys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, VK_HOME, VK_END};

LPARAM as_lparam(HWND window) { return reinterpret_cast<LPARAM>(window); }

// The panel's procedure, and the sliders' (the panel's own watch of them, then the trackbar's).
WNDPROC panel_procedure, slider_procedure;

int slot_of(const int (&ids)[3], int id)
{
    return std::find(ids, ids + 3, id) == ids + 3 ? -1 : static_cast<int>(std::find(ids, ids + 3, id) - ids);
}

LRESULT CALLBACK watching_panel_proc(HWND panel, UINT message, WPARAM wparam, LPARAM lparam)
{
    HWND control = reinterpret_cast<HWND>(lparam);
    if (message == WM_HSCROLL && panel_watch.reporting && slot_of(slider_ids, GetDlgCtrlID(control)) >= 0)
        panel_watch.reports.push_back({slot_of(slider_ids, GetDlgCtrlID(control)), LOWORD(wparam),
                                       static_cast<short>(SendMessageA(control, TBM_GETPOS, 0, 0)),
                                       GetKeyState(VK_CONTROL) < 0});
    if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED)
        panel_watch.clicked.push_back(LOWORD(wparam));
    if (message == WM_COMMAND && HIWORD(wparam) == EN_SETFOCUS && slot_of(edit_ids, LOWORD(wparam)) >= 0)
        panel_watch.focused.push_back(slot_of(edit_ids, LOWORD(wparam)));
    if (message == WM_COMMAND && HIWORD(wparam) == EN_CHANGE && panel_watch.typing && panel_watch.depth == 0 &&
        slot_of(edit_ids, LOWORD(wparam)) >= 0 && GetFocus() == control) {
        char text[64] = {};
        GetWindowTextA(control, text, sizeof text);
        panel_watch.typed.push_back({slot_of(edit_ids, LOWORD(wparam)), text});
    }
    ++panel_watch.depth;
    const LRESULT result = CallWindowProcA(panel_procedure, panel, message, wparam, lparam);
    --panel_watch.depth;
    return result;
}

LRESULT CALLBACK documented_trackbar_proc(HWND slider, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message != WM_CAPTURECHANGED || !panel_watch.documented)
        return CallWindowProcA(slider_procedure, slider, message, wparam, lparam);
    for (int code : {TB_THUMBPOSITION, TB_ENDTRACK})
        if (panel_watch.dragging)
            SendMessageA(GetParent(slider), WM_HSCROLL, code, reinterpret_cast<LPARAM>(slider));
    panel_watch.dragging = false;
    return 0;
}

}  // namespace


void watch_panel(HWND panel)
{
    panel_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(panel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&watching_panel_proc)));
    for (int id : slider_ids)
        slider_procedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            GetDlgItem(panel, id), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&documented_trackbar_proc)));
}

// Steps no press began (Wine's trackbar tracks the mouse, button up) change nothing.
void SoakWorld::strays(SoakPlan& plan, int slot, int count, const char* after)
{
    HWND slider = item(slider_ids[slot]);
    const std::string before = quiet_state();
    for (int i = 0; i < count; ++i) {
        set_key(VK_CONTROL, plan.chance(30));
        SendMessageA(slider, TBM_SETPOS, TRUE, plan.between(-180, 180));
        SendMessageA(panel_, WM_HSCROLL, TB_THUMBTRACK, as_lparam(slider));
    }
    set_key(VK_CONTROL, false);
    expect_quiet(before, std::string("after ") + after + ", a step turned or keyed a joint or opened a dialog");
}

// A press takes the focus and the capture; the let-go comes in Wine's order or the documented
// one; Ctrl opens the limits dialog, which ends the drag. The host lives on inside: its modal
// dialog, a notification between steps or in the dialog, the capture taken, a failed key.
void SoakWorld::drag(SoakPlan& plan, bool ctrl)
{
    const int slot = plan.below(3);
    if (!usable() || (real_ && real_slider_gesture(plan, slot, ctrl, 0)))
        return;
    HWND slider = item(slider_ids[slot]);
    const bool wine_order = plan.chance(50), held = !ctrl || plan.chance(50), over_slider = !ctrl || plan.chance(70);
    const int steps = plan.chance(ctrl ? 50 : 25) ? 0 : plan.between(1, ctrl ? 2 : 12), notice_at = plan.below(40);
    const bool host_modal = plan.chance(15), theft = !ctrl && plan.chance(10), in_dialog = plan.chance(15);
    const int call = plan.below(110);  // a tenth of the let-go keys fail in one host call
    const char* failing = call < 11 && nesting_left() >= nesting_for_window_faults ? key_calls[call] : nullptr;
    note("drag " + std::to_string(slot) + ", " + std::to_string(steps) + " steps" + (ctrl ? ", Ctrl" : "") +
         (held ? "" : ", let go in the dialog") + (over_slider ? "" : ", let go elsewhere") + (wine_order ? "" : ", documented") +
         (host_modal ? ", host modal" : "") + (theft ? ", capture taken" : "") + (failing ? ", failing " : "") + (failing ? failing : ""));
    SimShape* const pressed_on = model_.joint;
    EnableWindow(host_window_, !host_modal);
    panel_watch.documented = !wine_order, panel_watch.dragging = true;
    press_slider(slider);
    set_key(VK_LBUTTON, true);
    bool turned = false, alive = true;  // a link to another joint, or none, ends the gesture
    int position = model_.thumb(slot);
    for (int i = 0; i < steps; ++i) {
        const int move = plan.between(-40, 40);
        if (i == notice_at)
            host_notifies(plan, "between the steps");
        if (!(alive = alive && model_.joint == pressed_on)) {
            strays(plan, slot, 1, "a link to another joint");
            continue;
        }
        position = std::max(-180, std::min(180, position + move));
        SendMessageA(slider, TBM_SETPOS, TRUE, position);
        const Quaternion before = pressed_on->rotation();
        SendMessageA(panel_, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), as_lparam(slider));
        turned |= model_.clamped(slot, position) != model_.axes[slot].angle;
        expect_turn(slot, model_.clamped(slot, position), before);
        model_.written(slot);
    }
    if (ctrl) {
        answerer_.plan(plan.texts[0], plan.texts[1], plan.texts[2], dialog_button_ = plan.chance(85) ? IDOK : IDCANCEL);
        const int message_boxes = answerer_.message_boxes_seen(), dialogs = answerer_.dialogs_seen();
        const Quaternion before = pressed_on->rotation();
        set_key(VK_LBUTTON, held);
        set_key(VK_CONTROL, true);
        if (in_dialog)
            answerer_.meanwhile([this, &plan] { host_notifies(plan, "in the limits dialog"); });
        SendMessageA(panel_, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), as_lparam(slider));
        set_key(VK_CONTROL, false);
        answerer_.meanwhile(nullptr);
        if (model_.sure && answerer_.dialogs_seen() != dialogs + alive)
            fail(alive ? "Ctrl on the slider's drag opened no limits dialog" : "a drag that had ended opened the limits dialog");
        if (alive)
            answer_dialog(plan, slot, pressed_on, before, model_.axes[slot].angle, turned, message_boxes);
        if (wine_order && !held && plan.chance(30))
            SetFocus(slider);  // a click on the panel's caption: the dialog manager gives the slider its focus back
        strays(plan, slot, wine_order ? plan.below(3) : 0, "the dialog");
    }
    set_key(VK_LBUTTON, false);
    if (failing != nullptr)
        host_.fail_call(failing, 1, 1100);
    const int raised_before = host_.faults_raised();
    HostCatch caught;
    host_try([&] {
        if (theft)  // another window takes the focus and the capture: either trackbar ends the drag
            SetFocus(host_window_), SetCapture(host_window_);
        if (!(panel_watch.dragging = false) && !wine_order)
            ReleaseCapture();
        if (held && over_slider && (wine_order || !ctrl) && (wine_order || steps > 0))
            SendMessageA(panel_, WM_HSCROLL, TB_THUMBPOSITION, as_lparam(slider));
        if (held && over_slider && (wine_order || !ctrl))
            SendMessageA(panel_, WM_HSCROLL, TB_ENDTRACK, as_lparam(slider));
    }, &caught);
    host_.clear_faults();
    const bool key_failed = host_.faults_raised() != raised_before;
    if (!ctrl && alive && !key_failed)
        model_.key();
    model_.key_writes += key_failed && failing && std::strstr("insert_key set_key_rotation", failing);  // tried
    strays(plan, slot, key_failed ? plan.between(1, 3) : 0, "a failed key");
    ReleaseCapture();
    if (host_modal && IsWindowEnabled(host_window_))
        fail("the panel enabled the host's window under the host's own modal dialog");
    EnableWindow(host_window_, TRUE);
}

// A click into the channel, which holds the capture until the let-go, or the
// keys the trackbar steps by on the focused slider, each one press and let-go.
void SoakWorld::page_click(SoakPlan& plan)
{
    const int slot = plan.below(3), key_count = plan.between(1, 3);
    const bool keyed = plan.chance(50), up = plan.chance(50), wine_order = plan.chance(50);
    if (!usable() || (real_ && real_slider_gesture(plan, slot, false, keyed ? 3 : plan.between(1, 2))))
        return;
    HWND slider = item(slider_ids[slot]);
    std::string line = std::string(keyed ? "keys" : up ? "page up" : "page down") + " on " + std::to_string(slot);
    for (int i = 0; i < (keyed ? key_count : 1); ++i) {
        const WORD key = slider_keys[plan.below(8)];
        const Quaternion before = model_.joint->rotation();
        panel_watch.reports.clear();
        panel_watch.reporting = true;
        SetFocus(slider);
        if (keyed) {
            SendMessageA(slider, WM_KEYDOWN, key, 1);
            SendMessageA(slider, WM_KEYUP, key, 0xC0000001);
            line += " " + std::to_string(key);
        } else {
            panel_watch.documented = !wine_order, panel_watch.dragging = false;
            press_slider(slider);
            SendMessageA(slider, TBM_SETPOS, TRUE, std::max(-180, std::min(180, model_.thumb(slot) + (up ? -30 : 30))));
            SendMessageA(panel_, WM_HSCROLL, up ? TB_PAGEUP : TB_PAGEDOWN, as_lparam(slider));
            if (!wine_order)
                ReleaseCapture();
            SendMessageA(panel_, WM_HSCROLL, TB_ENDTRACK, as_lparam(slider));
            ReleaseCapture();
        }
        panel_watch.reporting = false;
        take_reports(slot, before, keyed);
    }
    note(line + (wine_order ? "" : ", documented"));
}

// Keystrokes into a focused box (each WM_CHAR reports its change, as typing does), or a paste
// over the whole text (EM_REPLACESEL reports once).
void SoakWorld::type_text(SoakPlan& plan, bool paste)
{
    const int slot = plan.below(3), keystrokes = paste ? 1 : plan.between(1, 14);
    const bool select_all = paste || plan.chance(30), leave_focus = plan.chance(30);
    SoakRandom random = plan.random();
    if (!usable())
        return;
    HWND edit = item(edit_ids[slot]);
    if (real_ && !paste)
        activate_for_input(panel_, nullptr);
    focus_box(slot);
    if (GetFocus() != edit)
        return;  // nobody types into a box without the focus
    std::string typed = paste ? "paste " : real_ ? "(real) " : "";
    bool keyboard = real_ && !paste;
    panel_watch.typing = true;
    if (select_all)
        SendMessageA(edit, EM_SETSEL, 0, -1), typed += "<all>";
    for (int i = 0; i < keystrokes; ++i) {
        const std::string key = paste ? random_text(random) : random_keystroke(random);
        typed += key == "\b" ? "<bs>" : key.substr(0, 40);
        const Quaternion before = model_.joint->rotation();
        panel_watch.typed.clear();
        if (paste) {
            SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(key.c_str()));
        } else if (keyboard && key.size() == 1 && VkKeyScanA(key[0]) != -1) {  // a key of the keyboard
            const BYTE pressed = LOBYTE(VkKeyScanA(key[0]));
            const SHORT toggled = GetKeyState(pressed) & 1;  // flips as each press is taken in
            ::type_text(key.c_str());
            // A key that never came (Wine drops one for good now and then) ends the real typing.
            reached_ |= keyboard = pump_until([&] { return (GetKeyState(pressed) & 1) != toggled && GetKeyState(pressed) >= 0; }, 100);
        } else {
            for (char c : key)
                SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
        }
        take_typed(slot, before);
    }
    panel_watch.typing = false;
    note("type into " + std::to_string(slot) + ": " + typed);
    if (leave_focus)
        SetFocus(host_window_);
}

// UNDO puts back the pose at link; RESET the identity, which UNDO then puts back.
void SoakWorld::click(int button_id)
{
    if (!usable())
        return;
    note(button_id == IDC_UNDO ? "UNDO" : "RESET");
    HWND button = item(button_id);
    if (!(real_ && real_click(button, center_of(button), button_id))) {
        SetFocus(button);  // a click takes the focus
        SendMessageA(panel_, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED), as_lparam(button));
    }
    if (button_id == IDC_RESET)
        model_.undo_pose = Quaternion(1, 0, 0, 0);
    if (std::memcmp(&model_.joint->rotation(), &model_.undo_pose, sizeof(Quaternion)) != 0)
        fail(button_id == IDC_UNDO ? "UNDO did not put back the pose at link" : "RESET left the joint turned");
    model_.take_pose(model_.undo_pose);
}

// Through the caption's close box: the limits go to the linked joint, the guide goes.
void SoakWorld::close_panel()
{
    if (!model_.shown)
        return;
    note("close");
    RECT frame;
    GetWindowRect(panel_, &frame);
    POINT box = {frame.right, frame.top + GetSystemMetrics(SM_CYSMCAPTION) / 2 + 2};
    while (real_ && box.x > frame.left && SendMessageA(panel_, WM_NCHITTEST, 0, MAKELPARAM(box.x, box.y)) != HTCLOSE)
        --box.x;  // the caption's close box, for a real click
    if (!(real_ && box.x > frame.left && real_click(panel_, box, IDCANCEL)))
        SendMessageA(panel_, WM_COMMAND, IDCANCEL, 0);
    model_.save_limits();
    model_.shown = false;
}

void SoakWorld::toggle_autoshade()
{
    if (!model_.shown)
        return;
    note(autoshade_ ? "AutoShade off" : "AutoShade on");
    HWND box = item(IDC_AUTOSHADE);
    if (!(real_ && real_click(box, center_of(box), IDC_AUTOSHADE))) {
        SendMessageA(box, BM_SETCHECK, autoshade_ ? BST_UNCHECKED : BST_CHECKED, 0);
        SendMessageA(panel_, WM_COMMAND, MAKEWPARAM(IDC_AUTOSHADE, BN_CLICKED), as_lparam(box));
    }
    autoshade_ = !autoshade_;
}
