#pragma once
// What the panel and the joints should show, from what the soak did and the
// scene alone: the joint the host last told the panel of, per axis its angle
// (from the joint's pose at link, by the tests' own conversion, then from
// each step) and limits, per shape the record stored with it and its keys.
// Nothing here reads the panel.
#include <map>
#include <string>
#include <vector>

#include "simhost/simhost.h"

struct ModelAxis {
    float angle = 0;
    double slack = 0;  // radians the angle may be off: read from a pose, near the gimbal point more
    float minimum = -180, maximum = 180;
    float saved = 0;   // the angle of the text the box puts back
    double saved_slack = 0;
};

class SoakModel {
public:
    SoakModel(SimHost& host) : host_(host), scene_(host.scene()) {}

    SimShape* joint = nullptr;  // linked: the host's last notification found it alone selected
    bool shown = false;
    bool sure = true;           // no host fault since the last link: else the link is not known
    bool angles_known = false;
    Quaternion undo_pose;
    ModelAxis axes[3];
    std::map<const SimShape*, std::vector<float>> records;  // a shape without a record has none here
    std::map<const SimShape*, std::map<float, Quaternion>> keys;
    int key_writes = 0;  // by the rule, in the operation under way
    SimShape* maybe_keyed = nullptr;  // a turn too small to tell whether it counted: a key may be there

    // The program wrote the axis's angle into its box: the box puts that back.
    void written(int slot) { axes[slot].saved = text_value(axes[slot].angle), axes[slot].saved_slack = axes[slot].slack; }
    // What a box showing the angle gives back: its first eleven characters.
    static float text_value(float angle);
    // A host fault passed: the link and the angles are not known until the next link.
    void lose_track() { sure = false, angles_known = false; }
    // The scene's single selected ball joint, or none: what a relink links, as
    // the selection is when it begins (its guide's removal may change it).
    SimShape* selected_joint() const;
    void link(SimShape* selected);
    // The angles of a pose, as linking and UNDO take them; every box shows its own.
    void take_pose(const Quaternion& pose);
    void save_limits();
    void open_limits_to_default();
    // The angle of a step at a whole-degree position, or of a typed value: within its limits.
    float clamped(int slot, float angle) const;
    // Where the thumb stands for the axis's angle.
    int thumb(int slot) const { return thumb_at(axes[slot].angle); }
    static int thumb_at(float angle);
    // A let-go or an accepted entry keys the linked joint, while it is the
    // active shape with motion on, under auto key, at the current time.
    void key();
    // A whole record, taken from the scene after a host fault.
    void take_from_scene();
    std::string broken_keys() const;
    std::string broken_records() const;

private:
    SimHost& host_;
    SimScene& scene_;
};

// The soak's own reading of texts: a box's or a field's number, as the README
// describes it (a digit or a minus first, then digits and points).
bool soak_numeric(const std::string& text);
// The limits dialog's three field texts (as typed: the first eleven characters
// count): accepted when all are numbers and -180 <= minimum <= current <= maximum <= 180.
bool soak_limits_accepted(const std::string texts[3], float* minimum, float* current, float* maximum);
// "%6f", as the boxes show an angle, cut to the eleven characters a box gives back.
std::string soak_angle_text(float angle);
