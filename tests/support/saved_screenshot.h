#pragma once
// A test's picture of a window, kept in the build tree for a person to look at.
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

// Captures the window into <build folder>/screenshots/<name> (screenshots/v6/
// in a program with a manifest of its own), the build
// folder being the nearest folder above the test program that holds
// CMakeCache.txt. Answers the path written, or an empty text.
std::string save_window_screenshot(HWND window, const char* name);
// The same for an image already read from the screen (rows of R, G, B bytes).
std::string save_screenshot(int width, int height, const std::vector<uint8_t>& rgb, const char* name);
