#pragma once
// A picture of what stands on the screen, saved as a compressed PNG (8-bit
// RGB), so that a person can look at what a scripted session or a test drove.
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

// PNG bytes of an image given as rows of R, G, B bytes, top row first; none
// when the rows are fewer than the size says.
std::vector<uint8_t> encode_png(int width, int height, const std::vector<uint8_t>& rgb);

// A rectangle of what a device context holds (a window's own drawing, a
// memory bitmap), read back as rows of R, G, B bytes.
bool capture_dc_rgb(HDC source, const RECT& area, int* width, int* height, std::vector<uint8_t>* rgb);

// A rectangle of the screen, read back as rows of R, G, B bytes.
bool capture_screen_rgb(const RECT& area, int* width, int* height, std::vector<uint8_t>* rgb);

// The window's outer rectangle, read back from the screen.
bool capture_window_rgb(HWND window, int* width, int* height, std::vector<uint8_t>* rgb);

// Writes the image as a PNG file; false when the file could not be written.
bool write_png_file(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);
