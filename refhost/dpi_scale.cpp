#include "refhost/dpi_scale.h"

int desktop_dpi()
{
    static int dpi = 0;
    if (dpi == 0) {
        HDC screen = GetDC(nullptr);
        dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        if (dpi <= 0)
            dpi = 96;
    }
    return dpi;
}

int scaled(int pixels_at_96_dpi)
{
    return MulDiv(pixels_at_96_dpi, desktop_dpi(), 96);
}
