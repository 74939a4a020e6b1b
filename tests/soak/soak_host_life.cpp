// The host's life: what the user does in the host (select, store limits from a
// file, open the plug-in, clear the attribute, auto key and time) and what the
// host does on its own (notify, fail), through the components' operation tables.
#include "soak_world.h"

// The host's calls (-1 open, 1 notify_relink, 0 notify_refresh): open links and shows a
// hidden panel; notify_relink saves the limits held and relinks an open one;
// notify_refresh relinks an open one that is not the active window.
void SoakWorld::notify(int kind)
{
    uint8_t flag = 0;
    const bool relinks = model_.shown ? kind == 1 || (kind == 0 && GetActiveWindow() != panel_) : kind < 0;
    SimShape* const selected = model_.selected_joint();
    if (kind < 0)
        component_open_panel(panel_component_, host_.application(), scene_.handle());
    else if (kind == 1)
        component_notify_relink(panel_component_, &flag, scene_.handle());
    else
        component_notify_refresh(panel_component_, &flag, scene_.handle());
    if (!relinks)
        return;
    if (!model_.sure)
        model_.take_from_scene();  // what the panel saved meanwhile
    else if (kind == 1)
        model_.save_limits();
    model_.link(selected), model_.shown = true;
}

// The host notifies (kind -1: either, after a change of selection or not), the focus in
// its window, in a box or where it is: nothing turns and nothing is keyed.
void SoakWorld::host_notifies(SoakPlan& plan, const char* when, int kind)
{
    const bool selects = kind < 0 && plan.chance(50), relinks = kind < 0 ? plan.chance(50) : kind == 1;
    const int focus = plan.below(100), box = focus < (kind < 0 ? 15 : 30) ? focus % 3 : -1;
    // A box takes the focus for a relink; for a refresh, only in a panel already active (an active
    // panel refreshes nothing, and each activation costs Wine dozens of round trips of its own).
    const bool in_box = box >= 0 && usable() && (relinks || GetActiveWindow() == panel_);
    note(std::string("the host notifies ") + (relinks ? "a relink " : "a refresh ") + when +
         (in_box ? ", a box focused" : ""));
    if (selects)
        select(plan);
    if (in_box)
        focus_box(box);
    else if (box < 0 && (kind >= 0 || focus < 15))
        SetFocus(host_window_);
    const std::string before = quiet_state();
    HostCatch caught;  // the host's own notification: it catches what the panel passes back
    if (!host_try([&] { notify(relinks); }, &caught))
        model_.lose_track();
    else
        expect_quiet(before, "a notification turned or keyed a joint");
    notified_state_ = quiet_state();
}

// Mostly one joint; else none, two, or the guide among them.
void SoakWorld::select(SoakPlan& plan)
{
    static const int joints[] = {0, 2, 3};
    const bool one_joint = plan.chance(50);
    const int count = one_joint ? 1 : plan.below(3), first = one_joint ? joints[plan.below(3)] : plan.below(6);
    std::vector<SimShape*> chosen;
    std::string line = "select";
    for (int i = 0, pick = first; i < count; ++i, pick = plan.below(6))
        if (SimShape* shape = pick < 5 ? shapes_[pick] : scene_.find("#Kelvaro_Guide"))
            chosen.push_back(shape), line += " " + shape->name();
    scene_.select(chosen);
    note(line);
}

// The scene as loaded from a file: any six floats stored with a shape.
void SoakWorld::store_limits(SoakPlan& plan)
{
    SimShape& shape = *shapes_[plan.below(5)];
    std::vector<float> values(plan.chance(10) ? plan.below(6) : 6);
    for (float& value : values) {
        switch (plan.below(8)) {
        case 0: value = std::numeric_limits<float>::quiet_NaN(); break;
        case 1: value = plan.chance(50) ? 1e30f : -1e30f; break;
        case 2: value = plan.between(-9999999, 9999999) * 1e-7f; break;
        default: value = static_cast<float>(plan.between(-200, 200)) + plan.below(10) * 0.1f; break;
        }
    }
    shape.set_stream_floats(panel_component_id, values);
    model_.records[&shape] = values;
    note("store " + std::to_string(values.size()) + " limits with " + shape.name());
}

// Clear Kelvaro Attribute on a shape: a record deleted opens every axis's limits.
void SoakWorld::clear_attribute(SoakPlan& plan)
{
    SimShape& shape = *shapes_[plan.below(5)];
    note("clear attribute of " + shape.name());
    component_run_attribute_command(attribute_component_, shape.shape_handle());
    if (model_.records.erase(&shape) != 0)
        model_.open_limits_to_default();
}

// One of the next calls of a host operation fails in a step; the host catches what comes out.
void SoakWorld::host_fault(SoakPlan& plan)
{
    using S = SoakOperation;
    static const S steps[] = {S::relink, S::refresh, S::open_panel, S::clear_attribute, S::close_panel, S::drag,
                              S::page_click, S::undo, S::reset, S::type_text, S::paste_text, S::limits_dialog};
    // A quarter cut short the guide a relink, refresh or open builds or removes (its part's handle
    // or removal, asked once, or a line): what is left, the next close, link or unlink ends.
    static const SimOperation guide_calls[] = {SimOperation::part_handle, SimOperation::begin_line,
                                               SimOperation::set_color, SimOperation::end_line, SimOperation::remove};
    const bool guide = plan.chance(25);
    const SimOperation operation = guide ? guide_calls[plan.below(5)] : static_cast<SimOperation>(plan.below(sim_operation_count));
    const int nth = operation == SimOperation::part_handle || operation == SimOperation::remove ? 1 : plan.between(1, 3);
    SoakOperation step = steps[plan.below(guide ? 3 : 12)];
    // Wine's window system loses nesting to each host exception (window_nesting.h): when low, only direct calls.
    static const int direct[] = {0, 1, 3};
    if (nesting_left() < nesting_for_window_faults)
        step = steps[direct[plan.below(3)]];
    host_.fail_call(operation, nth, 1000 + plan.below(100));
    note("fault: call " + std::to_string(nth) + " of " + sim_operation_name(operation) + " during " + soak_operation_name(step));
    const std::vector<SimShape*> guides = scene_.find_all("#Kelvaro_Guide");
    const int raised_before = host_.faults_raised();
    HostCatch caught;
    const bool returned = host_try([&] { step == S::open_panel && model_.shown ? close_panel() : void(), perform(plan, step); }, &caught);
    host_.clear_faults();
    if (returned && host_.faults_raised() == raised_before)
        return;
    ++faults_caught_;
    model_.lose_track();
    // A guide part the host made but never handed over is the host's to clean up.
    for (SimShape* made : scene_.find_all("#Kelvaro_Guide"))
        if (operation == SimOperation::part_handle && std::find(guides.begin(), guides.end(), made) == guides.end())
            orphan_guides_.push_back(made);
    let_go_of_keys(), EnableWindow(host_window_, TRUE), answerer_.meanwhile(nullptr);  // the step's keys, the host's dialog
    panel_watch.documented = panel_watch.reporting = panel_watch.typing = false;
    ReleaseCapture();
    for (int id : slider_ids)
        SendMessageA(panel_, WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(item(id)));
}

void SoakWorld::perform(SoakPlan& plan, SoakOperation operation)
{
    ++performed_[static_cast<int>(operation)];
    using S = SoakOperation;  // what the user does in the host happens with the focus in the host's window
    if (operation == S::select || operation == S::store_limits || operation == S::open_panel ||
        operation == S::clear_attribute || operation == S::auto_key_and_time)
        SetFocus(host_window_);
    switch (operation) {
    case S::select: select(plan); break;
    case S::store_limits: store_limits(plan); break;
    case S::relink: host_notifies(plan, "as asked", 1); break;
    case S::refresh: host_notifies(plan, "as asked", 0); break;
    case S::drag: drag(plan, false); break;
    case S::page_click: page_click(plan); break;
    case S::type_text: type_text(plan, false); break;
    case S::paste_text: type_text(plan, true); break;
    case S::limits_dialog: drag(plan, true); break;
    case S::undo: click(IDC_UNDO); break;
    case S::reset: click(IDC_RESET); break;
    case S::close_panel: close_panel(); break;
    case S::open_panel: note("open"); notify(-1); break;
    case S::autoshade: toggle_autoshade(); break;
    case S::clear_attribute: clear_attribute(plan); break;
    case S::auto_key_and_time: {
        static const float times[] = {0, 10, 15, 15.5f, 30, 45, -5, 1e6f};
        host_.set_auto_key(plan.chance(60));
        scene_.set_current_time(times[plan.below(8)]);
        shapes_[plan.below(2) * 2]->set_motion_enabled(plan.chance(85));
        note(std::string("auto key ") + (host_.auto_key() ? "on" : "off") + ", time " + std::to_string(scene_.current_time()));
        break;
    }
    case S::host_fault: host_fault(plan); break;
    case S::wander: wander(plan); break;
    case S::count: break;
    }
}
