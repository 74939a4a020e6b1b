// A picture of the linked panel for a person to look at, and the PNG form it
// is saved in.
#include "panel_fixture.h"

#include <set>

#include "desktop/message_pump.h"
#include "desktop/screenshot.h"
#include "support/saved_screenshot.h"

namespace {

uint32_t read_u32(const std::vector<uint8_t>& bytes, size_t at)
{
    return static_cast<uint32_t>(bytes[at]) << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 |
           bytes[at + 3];
}

}  // namespace

TEST(PngEncoding, ChunksCarryTheirLengthsAndChecksums)
{
    // Two by two: red, green / blue, white.
    std::vector<uint8_t> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    std::vector<uint8_t> png = encode_png(2, 2, rgb);
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    ASSERT_GT(png.size(), 8u + 25 + 12);
    EXPECT_TRUE(std::equal(signature, signature + 8, png.begin()));

    EXPECT_EQ(read_u32(png, 8), 13u);
    EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
    EXPECT_EQ(read_u32(png, 16), 2u);
    EXPECT_EQ(read_u32(png, 20), 2u);
    EXPECT_EQ(png[24], 8);  // bits
    EXPECT_EQ(png[25], 2);  // RGB

    // IDAT: a zlib stream of one stored block holding the two filtered rows.
    size_t idat = 8 + 25;
    uint32_t length = read_u32(png, idat);
    EXPECT_EQ(std::string(png.begin() + idat + 4, png.begin() + idat + 8), "IDAT");
    const uint8_t* data = png.data() + idat + 8;
    EXPECT_EQ(length, 2u + 5 + 14 + 4);
    EXPECT_EQ(data[0], 0x78);
    EXPECT_EQ((data[0] * 256 + data[1]) % 31, 0);  // the zlib header check
    EXPECT_EQ(data[2], 1);                        // the last block, stored
    EXPECT_EQ(data[3] | data[4] << 8, 14);
    EXPECT_EQ((data[5] | data[6] << 8) ^ 0xFFFF, 14);
    EXPECT_EQ(data[7], 0);    // filter of the first row
    EXPECT_EQ(data[8], 255);  // its red

    // The end chunk, whose checksum is the same in every PNG.
    size_t end = png.size() - 12;
    EXPECT_EQ(read_u32(png, end), 0u);
    EXPECT_EQ(std::string(png.begin() + end + 4, png.begin() + end + 8), "IEND");
    EXPECT_EQ(read_u32(png, end + 8), 0xAE426082u);
}

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
