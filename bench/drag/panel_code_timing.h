#pragma once
// The panel's own code of a drag step, timed alone in this program: the same
// sources Kelvaro.dll is built from (kelvaro_core), with this program's copy
// of the link pointed at a joint handle of the simulated host. Each figure is
// the median, over batches of calls, of a batch's time per call.
#include <vector>

struct HostJoint;

struct PanelCodeTimes {
    double apply_axis_change_us;  // the rotation maths and the joint's set_rotation
    double set_rotation_us;       // the host call alone, through the same handle
    double format_angle_us;       // the "%6f" text of an angle
};

// Angles are taken in turn from positions, as a sweep of drags gives them.
PanelCodeTimes time_panel_code(HostJoint* joint, const std::vector<int>& positions);
