// The panel's process-wide state, the table of axis controls, and the text and
// slider forms of an angle.
#include "panel/panel_state.h"
#include <climits>
#include <cstdio>
#include <cstring>
#include "panel/resource.h"

PanelState panel_state;

void forget_slider_gesture()
{
    panel_state.gesture = SliderGesture{};
}

const AxisControls axis_controls[3] = {
    {IDC_PITCH_SLIDER, IDC_PITCH_EDIT, &JointLink::pitch},
    {IDC_YAW_SLIDER, IDC_YAW_EDIT, &JointLink::yaw},
    {IDC_ROLL_SLIDER, IDC_ROLL_EDIT, &JointLink::roll},
};

const AxisControls* axis_controls_for_slider(int slider_id)
{
    for (const AxisControls& controls : axis_controls) {
        if (controls.slider_id == slider_id)
            return &controls;
    }
    return nullptr;
}

const AxisControls* axis_controls_for_edit(int edit_id)
{
    for (const AxisControls& controls : axis_controls) {
        if (controls.edit_id == edit_id)
            return &controls;
    }
    return nullptr;
}

char* saved_text_of(const AxisControls& controls)
{
    return panel_state.saved_text[&controls - axis_controls];
}

// "%6f" of the angle widened to double. An angle in -180..180 takes at most 11
// characters; a stored limit may be as large as a float goes (3.4e38 prints
// with 46), so the text is cut to the buffer, always terminated. A text that
// reads as zero shows no sign ("0.000000"), whether the angle is -0 (the
// rotation maths may yield it) or a tiny negative; the angle itself is kept.
void format_angle(float angle, char* text, size_t size)
{
    if (text == nullptr || size == 0)
        return;
    if (snprintf(text, size, "%6f", static_cast<double>(angle)) < 0)
        text[0] = '\0';
    text[size - 1] = '\0';
    if (text[0] == '-' && text[1] != '\0' && strspn(text + 1, "0.") == strlen(text + 1))
        memmove(text, text + 1, strlen(text));
}

int truncate_angle(float angle)
{
    if (angle != angle)
        return 0;
    // 2^31 is exact as a float; every float below it in magnitude truncates
    // into the int range.
    if (angle >= 2147483648.0f)
        return INT_MAX;
    if (angle <= -2147483648.0f)
        return INT_MIN;
    return static_cast<int>(angle);
}
