#pragma once
// A test's picture of a window, kept in the build tree for a person to look at.
#include <windows.h>
#include <string>

// Captures the window into <build folder>/screenshots/<name>, the build
// folder being the nearest folder above the test program that holds
// CMakeCache.txt. Answers the path written, or an empty text.
std::string save_window_screenshot(HWND window, const char* name);
