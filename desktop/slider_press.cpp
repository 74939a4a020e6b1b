#include "desktop/slider_press.h"

void press_slider(HWND slider)
{
    SendMessageA(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-1, -1));
    SetCapture(slider);
}
