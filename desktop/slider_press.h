#pragma once
// A press on a trackbar as messages, for those who send its notifications
// themselves: WM_LBUTTONDOWN off the thumb and the channel, where a trackbar
// only takes the focus, then the capture a press on the thumb would take.
#include <windows.h>

void press_slider(HWND slider);
