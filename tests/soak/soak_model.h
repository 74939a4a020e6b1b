#pragma once
// What the panel and the joints should show, from what the soak did and the scene alone:
// the joint linked; per axis its angle (from the pose at link by the tests' own conversion,
// then from each step), limits and what its box puts back; per shape its record and keys.
#include <map>
#include <string>
#include <vector>

#include "simhost/simhost.h"

struct ModelAxis {
    float angle = 0;
    double slack = 0;  // radians the angle may be off: read from a pose (more near the gimbal point)
    float minimum = -180, maximum = 180;
    float saved = 0;  // the angle of the text the box puts back, with its slack
    double saved_slack = 0;
};

class SoakModel {
public:
    explicit SoakModel(SimHost& host) : host_(host), scene_(host.scene()) {}

    SimShape* joint = nullptr;  // linked: the host's last notification found it alone selected
    bool shown = false, angles_known = false;
    bool sure = true;  // no host fault since the last link: else the link, angles, keys and records are not known
    Quaternion undo_pose;
    ModelAxis axes[3];
    std::map<const SimShape*, std::vector<float>> records;  // only shapes with a record
    std::map<const SimShape*, std::map<float, Quaternion>> keys;
    int key_writes = 0;               // by the rule, in the operation under way
    SimShape* maybe_keyed = nullptr;  // a turn too small to tell whether the panel counts it

    // The program wrote the angle into the box, or the box took the focus: it puts that back.
    void written(int slot) { axes[slot].saved = text_value(axes[slot].angle), axes[slot].saved_slack = axes[slot].slack; }
    static float text_value(float angle);  // of the first eleven characters a box gives back
    void lose_track() { sure = false, angles_known = false; }
    // What a relink links, by the selection as it begins (the guide's removal may change it).
    SimShape* selected_joint() const;
    void link(SimShape* selected);
    void take_pose(const Quaternion& pose);  // as linking and UNDO take it; every box shows its own
    void save_limits();
    void open_limits_to_default() { for (ModelAxis& axis : axes) axis.minimum = -180, axis.maximum = 180; }
    float clamped(int slot, float angle) const;
    int thumb(int slot) const { return thumb_at(axes[slot].angle); }  // where the thumb stands for the angle
    static int thumb_at(float angle);
    // A let-go or an entry keys the linked joint, the active shape, with motion on, under auto key, now.
    void key();
    void take_from_scene();  // the keys and records, after a host fault
    std::string broken_keys() const;
    std::string broken_records() const;

private:
    SimHost& host_;
    SimScene& scene_;
};

// The soak's own reading of texts: a number is a digit or a minus, then digits
// and points; the limits dialog's three fields (the first eleven characters
// count) are accepted as numbers with -180 <= minimum <= current <= maximum <= 180.
bool soak_numeric(const std::string& text);
bool soak_limits_accepted(const std::string texts[3], float* minimum, float* current, float* maximum);
std::string soak_angle_text(float angle);  // "%6f", as a box shows an angle, cut to eleven characters
