#pragma once
// The desktop's DPI and lengths scaled to it. The host says in its manifest
// that it is DPI-aware, so Windows hands it the real DPI (144 on a 150 %
// desktop) instead of stretching a 96-DPI picture of it: every length the
// host draws or places is given here at 96 DPI and scaled.
#include <windows.h>

// The desktop's DPI (96 at 100 %, 144 at 150 %), read once.
int desktop_dpi();

// A length in pixels at 96 DPI, in pixels at the desktop's DPI.
int scaled(int pixels_at_96_dpi);
