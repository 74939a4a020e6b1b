// The checks: what each step did to the joint, the keys and the records, and
// the panel, against the model; never the model against the panel.
#include "soak_world.h"

#include "math/rotation_reference.h"

// Radians a turn may be off: float rounding in the panel and the host, far below a degree's 0.017.
static constexpr double turn_tolerance = 1e-5;

// The axis takes the angle (within slack): the joint turns from `before` about the slider's
// own axis (Pitch x, Yaw y, Roll z, right-handed, composed before the pose) by the
// angle less the axis's; a step that turns nothing leaves the joint's bits.
void SoakWorld::expect_turn(int slot, float angle, const Quaternion& before, double slack)
{
    using namespace rotation_reference;
    ModelAxis& axis = model_.axes[slot];
    const double turn = radians(static_cast<double>(angle) - axis.angle), unsure = axis.slack + slack;
    if (model_.joint != nullptr && model_.sure) {
        const Quaternion after = model_.joint->rotation();
        if (unsure == 0 && angle == axis.angle && std::memcmp(&before, &after, sizeof after) != 0)
            fail("a step that turned nothing changed the pose");
        if (unsure > 0 && std::fabs(turn) <= unsure)
            model_.maybe_keyed = model_.joint;
        // A turn beyond a full circle (limits of 1e30) is float noise in the panel. A yaw turn
        // near 90 degrees passes the Euler angles' gimbal point, where a float's rounding grows.
        const double gimbal = slot == 1 ? std::min(6e-8 / std::fabs(std::cos(turn)), std::sqrt(1.2e-7)) : 0;
        const double off = rotation_distance(about_axis(slot == 0, slot == 1, slot == 2, turn) * to_dquat(before),
                                             to_dquat(after));
        if (std::fabs(turn) <= 2 * pi && off > turn_tolerance + 2 * gimbal + unsure)
            fail("a step did not turn the joint by its angles about its axis (" + std::to_string(axis.angle) +
                 " to " + std::to_string(angle) + ", off by " + std::to_string(off) + " rad)");
    }
    axis.angle = angle, axis.slack = slack;
}

// A slider gesture's reports up to the one that opens the limits dialog: its steps and
// pages (a page by keys turns from the thumb at the angle), the key at its let-go.
void SoakWorld::take_reports(int slot, const Quaternion& before, bool keyed)
{
    float& angle = reported_angle_ = model_.axes[slot].angle;
    int thumb = model_.thumb(slot);
    bool moved = false, ended = false;
    reported_turn_ = reported_dialog_ = false;
    for (const SliderReport& report : panel_watch.reports) {
        const bool page = report.code == TB_PAGEUP || report.code == TB_PAGEDOWN;
        if (report.slot != slot || reported_dialog_ || ended) {
        } else if (report.code == TB_THUMBTRACK && report.ctrl) {
            reported_dialog_ = true;
            dialog_fields(slot, angle);
        } else if (report.code == TB_THUMBTRACK || page) {
            const int paged = std::max(-180, std::min(180, thumb + (report.code == TB_PAGEUP ? -30 : 30)));
            if (keyed && page && report.position != paged && model_.axes[slot].slack == 0)
                fail("a page key turned to " + std::to_string(report.position) + ", not a page from " + std::to_string(thumb));
            const float step = model_.clamped(slot, static_cast<float>(report.position));
            reported_turn_ |= step != angle;
            angle = step, thumb = SoakModel::thumb_at(step), moved = true;
        } else if (report.code == TB_ENDTRACK) {
            ended = true;
            model_.key();
        }
    }
    if (!reported_dialog_) {  // with a dialog, its answer checks what the steps turned
        expect_turn(slot, angle, before, moved ? 0 : model_.axes[slot].slack);
        if (moved)
            model_.written(slot);
    }
}

// The user's text: a number within the limits; else the box's own text put back, clamped.
void SoakWorld::take_typed(int slot, const Quaternion& before)
{
    take_focus();
    const ModelAxis& axis = model_.axes[slot];
    float angle = axis.angle;
    double slack = axis.slack;
    for (const TypedText& typed : panel_watch.typed) {
        if (typed.slot != slot)
            return fail("typing into one box changed another");
        const std::string text = typed.text.substr(0, 11);
        const bool number = soak_numeric(text);
        angle = model_.clamped(slot, number ? static_cast<float>(std::atof(text.c_str())) : axis.saved);
        slack = number ? 0 : axis.saved_slack;
        model_.key();
    }
    if (!panel_watch.typed.empty())
        expect_turn(slot, angle, before, slack);
}

void SoakWorld::dialog_fields(int slot, float angle)
{
    const ModelAxis& axis = model_.axes[slot];
    for (int i = 0; i < 3; ++i)
        dialog_fields_[i] = soak_angle_text(i == 0 ? axis.minimum : i == 1 ? angle : axis.maximum);
}

// The limits dialog's answer, by the soak's own reading of the texts it typed: an error
// box for no limits; an OK takes Cur and the limits into the axis, keys and stores
// them; a Cancel keys what the drag turned. Only for the joint it was opened on.
void SoakWorld::answer_dialog(const SoakPlan& plan, int slot, SimShape* opened_on, const Quaternion& before,
                              float stepped, bool turned, int message_boxes)
{
    std::string texts[3];
    for (int i = 0; i < 3; ++i) {
        for (char c : plan.texts[i].substr(0, real_ ? 12 : std::string::npos))
            texts[i] += !real_ || (c >= ' ' && c <= '~') ? std::string(1, c) : "";
        texts[i] = real_ && texts[i].empty() ? dialog_fields_[i] : texts[i];  // nothing typed over the field's own
    }
    float minimum, current, maximum;
    const bool ok = dialog_button_ == IDOK, accepted = soak_limits_accepted(texts, &minimum, &current, &maximum);
    if (!model_.sure)
        return;
    if (answerer_.message_boxes_seen() != message_boxes + (ok && !accepted))
        return fail(ok && !accepted ? "the limits dialog took texts that are no limits"
                                    : "the limits dialog refused limits, or a Cancel gave an error");
    if (model_.joint != opened_on)
        return expect_quiet(notified_state_, "the limits dialog's answer went to a joint it was not opened on");
    if (ok && accepted) {
        model_.axes[slot].minimum = minimum, model_.axes[slot].maximum = maximum;
        expect_turn(slot, current, before);
        model_.written(slot);
        model_.key();
        model_.save_limits();
    } else if (turned) {
        if (stepped != model_.axes[slot].angle)  // real steps before the dialog
            expect_turn(slot, stepped, before);
        model_.key();
    }
}

void SoakWorld::focus_box(int slot)
{
    if (GetFocus() != item(edit_ids[slot]))
        SetFocus(item(edit_ids[slot]));
    take_focus();
}

std::string SoakWorld::quiet_state() const
{
    std::string bytes = std::to_string(host_.call_count("insert_key") + host_.call_count("set_key_rotation")) + " " +
                        std::to_string(answerer_.dialogs_seen()) + " ";
    for (SimShape* shape : shapes_)
        bytes.append(reinterpret_cast<const char*>(&shape->rotation()), sizeof(Quaternion));
    return bytes;
}

// The panel as the model says: shown, controls enabled exactly while linked, AutoShade as
// ticked, boxes (their first eleven characters, for a huge angle) and thumbs at the angles.
std::string SoakWorld::broken_panel() const
{
    if (!model_.sure)
        return {};
    if ((IsWindowVisible(panel_) != FALSE) != model_.shown)
        return model_.shown ? "the panel is hidden while open" : "the panel is shown while closed";
    const bool linked = model_.joint != nullptr;
    for (int id : {IDC_PITCH_SLIDER, IDC_YAW_SLIDER, IDC_ROLL_SLIDER, IDC_PITCH_EDIT, IDC_YAW_EDIT, IDC_ROLL_EDIT,
                   IDC_RESET, IDC_UNDO})
        if ((IsWindowEnabled(item(id)) != FALSE) != linked)
            return "control " + std::to_string(id) + (linked ? " is disabled while a joint is linked"
                                                             : " is enabled while no joint is linked");
    if ((SendMessageA(item(IDC_AUTOSHADE), BM_GETCHECK, 0, 0) == BST_CHECKED) != autoshade_)
        return "AutoShade is not as the user ticked it";
    for (int slot = 0; model_.angles_known && slot < 3; ++slot) {
        const ModelAxis& axis = model_.axes[slot];
        char text[64] = {};
        GetWindowTextA(item(edit_ids[slot]), text, sizeof text);
        const double off = std::min(std::fabs(std::atof(text) - axis.angle),
                                    std::fabs(std::atof(std::string(text, 11).c_str()) - SoakModel::text_value(axis.angle)));
        if (!(off <= 5e-7 + 1e-6 * std::fabs(axis.angle) + (axis.slack > 0 ? axis.slack * 57.3 + 1e-4 : 0)))
            return "box " + std::to_string(slot) + " shows " + text + ", the angle is " + std::to_string(axis.angle);
        const int thumb = static_cast<int>(SendMessageA(item(slider_ids[slot]), TBM_GETPOS, 0, 0));
        if (std::abs(thumb - model_.thumb(slot)) > (axis.slack > 0 ? 1 : 0))
            return "slider " + std::to_string(slot) + "'s thumb is at " + std::to_string(thumb) + ", the angle " +
                   std::to_string(axis.angle);
    }
    return {};
}

std::string SoakWorld::broken_invariant() const
{
    std::string broken = model_.broken_keys();
    if (!broken.empty() || !(broken = model_.broken_records()).empty())
        return broken;
    // The link holds counted references to its shape and joint, nothing else; its part and guide are borrowed.
    const int held = host_.outstanding_references(), linked = model_.joint != nullptr ? 2 : 0;
    if (model_.sure ? held != linked || (linked && host_.references_to(*model_.joint) != 2) : held != 0 && held != 2)
        return "references outstanding " + std::to_string(held) + ", the link holds " + std::to_string(linked) +
               ":\n" + host_.outstanding_report();
    if (host_.over_releases() != 0 || !host_.errors().empty())
        return "host errors: " + (host_.errors().empty() ? std::string("over-release") : host_.errors().front());
    int guides = 0;
    for (SimShape* guide : scene_.find_all("#Kelvaro_Guide"))
        guides += std::find(orphan_guides_.begin(), orphan_guides_.end(), guide) == orphan_guides_.end();
    if (guides > 1 || (model_.sure && guides != (model_.shown && linked)))
        return std::to_string(guides) + " guide parts in the scene";
    if (model_.sure && (scene_.open_part() != nullptr || scene_.open_line() != nullptr))
        return "a guide's part or line that a host failure left begun is still open";
    for (SimShape* shape : scene_.shapes())
        if (shape->is_ball_joint() && std::fabs(rotation_reference::to_dquat(shape->rotation()).norm() - 1) >= 5e-5)
            return "joint " + shape->name() + " has a rotation that is not a unit quaternion";
    const int nesting = nesting_left();
    if (!IsWindow(panel_) || nesting < nesting_the_panel_needs)
        return "the panel window is gone, or the window system lets window procedures nest only " +
               std::to_string(nesting) + " deep any more: host exceptions unwound through it";
    // No modal dialog is up between operations: the host's window and the panel take input again.
    if (!IsWindowEnabled(host_window_) || !IsWindowEnabled(panel_))
        return "the host's main window or the panel stays disabled";
    return broken_panel();
}
