#pragma once
// A press on a trackbar as messages, for tests and benchmarks that send the
// trackbar's notifications themselves: the control gets the press a user gives
// it (WM_LBUTTONDOWN, at a point off its thumb and channel, where a trackbar
// takes the focus and does nothing more), then the mouse capture that a press
// on the thumb takes. Nothing moves the thumb.
#include <windows.h>

void press_slider(HWND slider);
