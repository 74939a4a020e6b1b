#include "joint/joint_link.h"
#include "panel/resource.h"

// The one link of the module. Constant-initialised apart from the two
// quaternions, whose default w is a constant-initialised NaN.
JointLink joint_link;

AxisChannel* axis_channel(int slider_id)
{
    switch (slider_id) {
    case IDC_PITCH_SLIDER:
        return &joint_link.pitch;
    case IDC_YAW_SLIDER:
        return &joint_link.yaw;
    case IDC_ROLL_SLIDER:
        return &joint_link.roll;
    default:
        return nullptr;
    }
}
