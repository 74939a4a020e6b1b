#include "bench/drag/panel_code_timing.h"

#include <windows.h>

#include <algorithm>

#include "joint/joint_link.h"
#include "math/rotation_constants.h"
#include "panel/panel_state.h"
#include "panel/resource.h"

namespace {

constexpr int batches = 101;
constexpr int calls_per_batch = 1000;

// The median over the batches of the time per call, in microseconds.
template <class Call>
double time_per_call(const std::vector<int>& positions, Call call)
{
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> per_call_us;
    size_t next = 0;
    for (int b = 0; b < batches; ++b) {
        QueryPerformanceCounter(&before);
        for (int i = 0; i < calls_per_batch; ++i) {
            call(positions[next]);
            next = (next + 1) % positions.size();
        }
        QueryPerformanceCounter(&after);
        per_call_us.push_back(static_cast<double>(after.QuadPart - before.QuadPart) * 1e6 /
                              static_cast<double>(frequency.QuadPart) / calls_per_batch);
    }
    std::nth_element(per_call_us.begin(), per_call_us.begin() + batches / 2, per_call_us.end());
    return per_call_us[batches / 2];
}

}  // namespace

PanelCodeTimes time_panel_code(HostJoint* joint, const std::vector<int>& positions)
{
    PanelCodeTimes times{};
    joint_link.joint = joint;
    joint_link.rotation = identity_quaternion;
    joint_link.active_slider = IDC_PITCH_SLIDER;
    times.apply_axis_change_us = time_per_call(positions, [](int angle) {
        joint_link.pitch.current = static_cast<float>(angle);
        apply_axis_change();
    });
    times.set_rotation_us = time_per_call(positions, [joint](int) { joint->set_rotation(&joint_link.rotation); });
    times.format_angle_us = time_per_call(positions, [](int angle) {
        char text[64];
        format_angle(static_cast<float>(angle), text, sizeof text);
    });
    joint_link.joint = nullptr;
    return times;
}
