// A picture of the linked panel for a person to look at.
#include "panel_fixture.h"

#include <set>

#include "desktop/message_pump.h"
#include "desktop/screenshot.h"
#include "support/saved_screenshot.h"

TEST_F(PanelTest, ScreenshotOfTheLinkedPanel)
{
    joint->set_rotation(Quaternion(0.9659258f, 0, 0.2588190f, 0));
    open_linked_panel();
    joint_link.pitch.minimum = -45.5f;
    joint_link.pitch.maximum = 60;
    joint_link.pitch.current = 30;
    joint_link.roll.minimum = -90;
    joint_link.roll.maximum = 120;
    joint_link.roll.current = 90.5f;
    for (int slider : {IDC_PITCH_SLIDER, IDC_YAW_SLIDER, IDC_ROLL_SLIDER}) {
        show_axis_limits(slider);
        sync_axis_controls(slider, true, true);
    }
    SetForegroundWindow(panel());
    RedrawWindow(panel(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pump_pending();

    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    ASSERT_TRUE(capture_window_rgb(panel(), &width, &height, &rgb));
    EXPECT_EQ(width, panel_state.full_width);
    EXPECT_EQ(height, panel_state.full_height);
    std::set<uint32_t> colours;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3)
        colours.insert(rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]);
    EXPECT_GT(colours.size(), 3u);  // not a blank rectangle

    std::string path = save_window_screenshot(panel(), "panel.png");
    EXPECT_FALSE(path.empty());
    std::printf("screenshot: %s\n", path.c_str());
}
