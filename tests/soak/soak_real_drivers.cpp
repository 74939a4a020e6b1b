// The user's gestures as real input, played from their plans: counted once they reached
// their control; one the mouse cannot reach is left to the synthesised driver.
#include "soak_world.h"

// A thumb drag (Ctrl on its last move opens the limits dialog, answered by real keys or
// clicks, the button let go in it or held), a channel click (held: it pages again), a key
// on the focused slider. The model takes the positions the trackbar reported.
bool SoakWorld::real_slider_gesture(SoakPlan& plan, int slot, bool ctrl, int how)
{
    static const WORD keys[] = {VK_LEFT, VK_RIGHT, VK_PRIOR, VK_NEXT, VK_HOME, VK_END};
    const WORD key = keys[plan.below(6)];
    const bool held = plan.chance(50), right = plan.chance(50);
    const int dx = plan.between(-150, 150), moves = plan.between(1, 6), button = plan.chance(85) ? IDOK : IDCANCEL;
    const auto by = plan.chance(50) ? ModalAutoanswer::By::keys : ModalAutoanswer::By::clicks;
    HWND slider = item(slider_ids[slot]);
    const POINT target = how == 0 ? thumb_center(slider) : channel_point(slider, right ? 40 : -40);
    if (how < 3 && !reaches(slider, target))
        return false;
    note("real gesture " + std::to_string(how) + " on " + std::to_string(slot) + (ctrl ? ", Ctrl" : "") +
         (held ? ", held" : ""));
    SimShape* const pressed_on = model_.joint;
    const Quaternion before = pressed_on->rotation();
    const int message_boxes = answerer_.message_boxes_seen();
    panel_watch.documented = false;
    panel_watch.reports.clear();
    panel_watch.reporting = true;
    if (ctrl)
        answerer_.plan(plan.texts[0], plan.texts[1], plan.texts[2], dialog_button_ = button, by);
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
        activate_for_input(panel_, slider);
        key_down(key);
        pump_until([key] { return GetKeyState(key) < 0; }, 1000);
    }
    release_left_button();
    key_up(VK_CONTROL);
    key_up(key);
    pump_until([key] { return GetKeyState(VK_LBUTTON) >= 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(key) >= 0; });
    panel_watch.reporting = false;  // a held click's repeat may come up to its let-go
    if (panel_watch.reports.empty())
        return false;  // it never reached the slider: the synthesised driver plays the gesture
    reached_ = true;
    take_reports(slot, before, how == 3);
    if (reported_dialog_)
        answer_dialog(plan, slot, pressed_on, before, reported_angle_, reported_turn_, message_boxes);
    return true;
}

// A real click where the mouse reaches, pumped until its command comes; made once more
// where the window manager kept the release; a command that never comes fails the run.
bool SoakWorld::real_click(HWND window, POINT at, int command_id)
{
    if (!reaches(window, at))
        return false;
    auto came = [command_id] {
        return std::find(panel_watch.clicked.begin(), panel_watch.clicked.end(), command_id) != panel_watch.clicked.end();
    };
    panel_watch.clicked.clear();
    move_cursor_and_wait(at);
    for (int attempt = 0; attempt < 2 && !came(); ++attempt) {
        release_left_button();
        click_at(at);
        pump_until(came, 1000);
    }
    if (!came())
        fail("a real click on control " + std::to_string(command_id) + " sent no command");
    return reached_ = true;
}

// The mouse over the panel and the host, and presses where nothing may change (the panel's
// caption and background, a box, the host's window), with Ctrl or Shift now and then.
void SoakWorld::wander(SoakPlan& plan)
{
    const int moves = plan.between(2, 8);
    if (!model_.shown)
        return;
    note("wander");
    const std::string before = quiet_state();
    for (int i = 0; i < moves; ++i) {
        RECT area;
        GetWindowRect(plan.chance(70) ? panel_ : host_window_, &area);
        const POINT to = {plan.between(area.left, area.right), plan.between(area.top, area.bottom)};
        const WORD modifier = plan.chance(30) ? (plan.chance(50) ? VK_CONTROL : VK_SHIFT) : 0;
        const bool press = plan.chance(40);
        if (modifier != 0)
            key_down(modifier);
        move_cursor_and_wait(to);
        HWND under = WindowFromPoint(to);
        const LRESULT hit = SendMessageA(under, WM_NCHITTEST, 0, MAKELPARAM(to.x, to.y)), id = GetDlgCtrlID(under);
        if (press && (hit == HTCLIENT || (under == panel_ && hit == HTCAPTION)) &&
            (under == panel_ || under == host_window_ || id == edit_ids[0] || id == edit_ids[1] || id == edit_ids[2]))
            click_at(to);
        if (modifier != 0)
            key_up(modifier);
        pump_until([] { return GetKeyState(VK_LBUTTON) >= 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_SHIFT) >= 0; });
    }
    reached_ = true;
    expect_quiet(before, "the mouse with no press on a slider turned or keyed a joint or opened a dialog");
}
