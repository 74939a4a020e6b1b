#include "soak_model.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>

#include "joint/joint_link.h"  // panel_component_id: where the records live
#include "math/rotation_reference.h"

namespace {

constexpr double gimbal_threshold = 1.9073486328125e-06;  // 2^-19: the panel's, for its first two axes

bool same_bits(const void* a, const void* b, size_t size) { return std::memcmp(a, b, size) == 0; }

}  // namespace

SimShape* SoakModel::selected_joint() const
{
    const std::vector<SimShape*>& selection = scene_.selection();
    return selection.size() == 1 && selection[0]->is_ball_joint() ? selection[0] : nullptr;
}

// The limits from the joint's record (short, or holding an infinity: none), the angles from its pose.
void SoakModel::link(SimShape* selected)
{
    joint = selected, sure = true;
    if (joint == nullptr)
        return;
    std::vector<float> record = records.count(joint) != 0 ? records[joint] : std::vector<float>();
    if (record.size() < 6 || std::any_of(record.begin(), record.end(), [](float limit) { return std::isinf(limit); }))
        record = {-180, 180, -180, 180, -180, 180};
    for (int slot = 0; slot < 3; ++slot)
        axes[slot].minimum = record[2 * slot], axes[slot].maximum = record[2 * slot + 1];
    take_pose(undo_pose = joint->rotation());
}

// The pose's angles about x, y, z (R = Rz·Ry·Rx, column vectors), and how far the panel's
// float conversion may be off: pitch and roll come from entries as small as g, and at the
// gimbal threshold either branch may be taken.
void SoakModel::take_pose(const Quaternion& pose)
{
    using namespace rotation_reference;
    const DMatrix3 c = column_matrix(to_dquat(pose));
    const double g = std::hypot(c.m[0][0], c.m[1][0]);
    double angles[3] = {std::atan2(c.m[2][1], c.m[2][2]), std::atan2(-c.m[2][0], g), std::atan2(c.m[1][0], c.m[0][0])};
    if (g <= gimbal_threshold)
        angles[0] = std::atan2(-c.m[1][2], c.m[1][1]), angles[2] = 0;
    const double slack = std::fabs(g - gimbal_threshold) < 5e-7 ? pi : 1e-6 + 4e-7 / std::max(g, 4e-7);
    for (int slot = 0; slot < 3; ++slot) {
        axes[slot].angle = static_cast<float>(angles[slot] * 180 / pi), axes[slot].slack = slot == 1 ? 1e-6 : slack;
        written(slot);
    }
    angles_known = true;
}

void SoakModel::save_limits()
{
    if (joint != nullptr)
        records[joint] = {axes[0].minimum, axes[0].maximum, axes[1].minimum, axes[1].maximum, axes[2].minimum, axes[2].maximum};
}

float SoakModel::clamped(int slot, float angle) const  // as the panel compares: a NaN limit clamps nothing
{
    angle = angle < axes[slot].minimum ? axes[slot].minimum : angle;
    return angle > axes[slot].maximum ? axes[slot].maximum : angle;
}

// A float angle truncated to a whole degree (saturating, NaN as 0), within the slider's range.
int SoakModel::thumb_at(float angle)
{
    const int whole = std::isnan(angle) ? 0 : angle >= 2147483647.0f ? INT_MAX : angle <= -2147483648.0f ? INT_MIN
                                                                                 : static_cast<int>(angle);
    return std::max(-180, std::min(180, whole));
}

void SoakModel::key()
{
    const std::vector<SimShape*>& selection = scene_.selection();
    if (host_.auto_key() && joint != nullptr && !selection.empty() && selection[0] == joint && joint->motion_enabled())
        keys[joint][scene_.current_time()] = joint->rotation(), ++key_writes;
}

void SoakModel::take_from_scene()
{
    keys.clear(), records.clear();
    for (SimShape* shape : scene_.shapes()) {
        for (const SimMotionKey& key : shape->keys())
            keys[shape][key.time] = key.rotation;
        if (shape->has_stream(panel_component_id))
            records[shape] = shape->stream_floats(panel_component_id);
    }
}

// Every shape's keys at the times the rule gives, and at the current time in the pose keyed there.
std::string SoakModel::broken_keys() const
{
    const float now = scene_.current_time();
    auto same = [now](const SimMotionKey& key, const std::pair<const float, Quaternion>& rule) {
        return key.time == rule.first && (key.time != now || same_bits(&key.rotation, &rule.second, sizeof(Quaternion)));
    };
    for (SimShape* shape : scene_.shapes()) {
        const auto rule = keys.count(shape) != 0 ? keys.at(shape) : std::map<float, Quaternion>();
        if (!std::equal(shape->keys().begin(), shape->keys().end(), rule.begin(), rule.end(), same))
            return "joint " + shape->name() + "'s " + std::to_string(shape->keys().size()) + " keys are not the rule's " +
                   std::to_string(rule.size()) + ", at times or in the pose at the current time " + std::to_string(now);
    }
    return {};
}

std::string SoakModel::broken_records() const
{
    for (SimShape* shape : scene_.shapes()) {
        const std::vector<float> held = shape->stream_floats(panel_component_id);
        const auto record = records.find(shape);
        if ((record != records.end()) != shape->has_stream(panel_component_id) ||
            (record != records.end() && (held.size() != record->second.size() ||
                                         !same_bits(held.data(), record->second.data(), held.size() * sizeof(float)))))
            return "the limits stored with " + shape->name() + " are not those the soak stored or the panel saved";
    }
    return {};
}

bool soak_numeric(const std::string& text)
{
    return !text.empty() && (std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-') &&
           text.find_first_not_of("0123456789.", 1) == std::string::npos;
}

bool soak_limits_accepted(const std::string texts[3], float* minimum, float* current, float* maximum)
{
    float* values[3] = {minimum, current, maximum};
    for (int i = 0; i < 3; ++i) {
        if (!soak_numeric(texts[i].substr(0, 11)))
            return false;
        *values[i] = static_cast<float>(std::atof(texts[i].substr(0, 11).c_str()));
    }
    return -180.0f <= *minimum && *minimum <= *current && *current <= *maximum && *maximum <= 180.0f;
}

float SoakModel::text_value(float angle) { return static_cast<float>(std::atof(soak_angle_text(angle).c_str())); }

std::string soak_angle_text(float angle)
{
    char text[64];
    std::snprintf(text, sizeof text, "%6f", static_cast<double>(angle));
    return std::string(text).substr(0, 11);
}
