// The host's main window on the work area: where it is asked to go, its size
// cut to what the work area has from there.
#include <windows.h>
#include "refhost_fixture.h"

TEST(MainWindow, PlacedAtXAloneStartsAtTheWorkAreasTopAndStaysOnIt)
{
    ReferenceHostOptions options;
    options.plugin_path = module_path();
    options.quit_on_close = false;
    options.x = 10;  // y left to CW_USEDEFAULT
    ReferenceHost host;
    std::string error;
    ASSERT_TRUE(host.create(options, &error)) << error;
    RECT work, frame;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(host.window(), &frame);
    EXPECT_TRUE(frame.left == 10 && frame.top == work.top && frame.bottom > frame.top && frame.bottom <= work.bottom)
        << frame.left << "," << frame.top << " to " << frame.right << "," << frame.bottom;
}
