// The six limits stored with the linked shape under panel_component_id.
#include <initializer_list>
#include "joint/joint_link.h"
#include "joint/release_guard.h"

namespace {

void take_default_limits()
{
    for (AxisChannel* channel : {&joint_link.pitch, &joint_link.yaw, &joint_link.roll}) {
        channel->minimum = default_minimum_angle;
        channel->maximum = default_maximum_angle;
    }
}

// Reads the whole record or nothing: a record that ends before its sixth float
// counts as no record, so a half-read set of limits never reaches the channels.
bool read_joint_limits(HostStream* stream, JointLimits* limits)
{
    float* const fields[] = {&limits->pitch_minimum, &limits->pitch_maximum, &limits->yaw_minimum,
                             &limits->yaw_maximum,   &limits->roll_minimum,  &limits->roll_maximum};
    stream->seek(0);
    for (float* field : fields) {
        if (!stream->read_float(field))
            return false;
    }
    return true;
}

}  // namespace

void load_limits()
{
    if (joint_link.shape == nullptr) {
        take_default_limits();
        return;
    }
    ReleaseGuard<HostStream> stream(joint_link.shape->open_stream_for_read(panel_component_id));
    JointLimits limits{};
    if (!stream || !read_joint_limits(stream.get(), &limits)) {
        take_default_limits();
        return;
    }
    // Taken as read: no test of order or range.
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
    stream->write_float(joint_link.pitch.minimum);
    stream->write_float(joint_link.pitch.maximum);
    stream->write_float(joint_link.yaw.minimum);
    stream->write_float(joint_link.yaw.maximum);
    stream->write_float(joint_link.roll.minimum);
    stream->write_float(joint_link.roll.maximum);
}
