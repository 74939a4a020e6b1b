// The six limits stored with the linked shape under panel_component_id.
#include <cmath>
#include <initializer_list>
#include "joint/joint_link.h"
#include "joint/release_guard.h"

// Reads the whole record or nothing: a record that ends before its sixth float
// counts as no record, so a half-read set of limits never reaches the channels.
// So does one that holds an infinity (a damaged or foreign scene): a step or a
// typed angle clamped to it would become an infinite angle, and a NaN pose.
// Its next save writes a whole record. A NaN limit clamps nothing and is kept.
bool read_stored_limits(HostShape* shape, JointLimits* limits)
{
    ReleaseGuard<HostStream> stream(shape->open_stream_for_read(panel_component_id));
    if (!stream)
        return false;
    JointLimits read{};
    float* const fields[] = {&read.pitch_minimum, &read.pitch_maximum, &read.yaw_minimum,
                             &read.yaw_maximum,   &read.roll_minimum,  &read.roll_maximum};
    stream->seek(0);
    for (float* field : fields) {
        if (!stream->read_float(field) || std::isinf(*field))
            return false;
    }
    *limits = read;
    return true;
}

// Taken as read: no test of order or range.
void take_limits(const JointLimits& limits)
{
    joint_link.pitch.minimum = limits.pitch_minimum;
    joint_link.pitch.maximum = limits.pitch_maximum;
    joint_link.yaw.minimum = limits.yaw_minimum;
    joint_link.yaw.maximum = limits.yaw_maximum;
    joint_link.roll.minimum = limits.roll_minimum;
    joint_link.roll.maximum = limits.roll_maximum;
}

void save_limits()
{
    if (joint_link.shape == nullptr)
        return;
    ReleaseGuard<HostStream> stream(joint_link.shape->open_stream_for_write(panel_component_id, 0, 0));
    if (!stream)
        return;  // the host gave no stream to write to: nothing is stored
    for (float limit : {joint_link.pitch.minimum, joint_link.pitch.maximum, joint_link.yaw.minimum,
                        joint_link.yaw.maximum, joint_link.roll.minimum, joint_link.roll.maximum})
        stream->write_float(limit);
}
