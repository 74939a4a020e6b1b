#pragma once
// Where a slider gesture begins: the press or the stepping key that a slider
// itself receives, seen before the trackbar acts on it (a channel click pages
// inside the press, before the trackbar takes the capture).
#include <windows.h>

// Watches the panel's three sliders; each gives its watch up as it is destroyed.
void watch_slider_gestures(HWND panel);
