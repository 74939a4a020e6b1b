#pragma once
// Real input through SendInput, as a user gives it: the cursor, the left
// button, keys and typed text. The input is queued; the caller pumps messages
// until its effect shows.
#include <windows.h>

// Makes the window the foreground window and, when given, focuses a control.
void activate_for_input(HWND top_level, HWND focus = nullptr);

POINT to_screen(HWND window, POINT client);
void move_cursor(POINT screen);
// Moves the cursor and pumps until the move is handled (at most a second).
void move_cursor_and_wait(POINT screen);
void press_left_button();
void release_left_button();
void click_at(POINT screen);
// Whether a press at this point of the screen would go to this window: the
// point is on the screen, the window and those it sits in are enabled, and the
// window is the one there, not a border, a caption or another window in front.
// When it would not, why_not (if given) says which of these fails.
bool reaches(HWND window, POINT screen, const char** why_not = nullptr);

// The middle of a window's client area, in screen coordinates.
POINT center_of(HWND window);
// A trackbar's thumb, the middle of its rectangle, in screen coordinates.
POINT thumb_center(HWND slider);
// A point in the channel, the given number of pixels right (positive) or left
// of the thumb's middle, on the channel's line.
POINT channel_point(HWND slider, int offset_from_thumb);
// Button down on the thumb, then moves of dx pixels in total in the given
// number of steps, each pumped through before the next (so a move that opens
// a modal window runs it to its end first); the button stays down unless
// release is set. False, with nothing pressed, when the thumb is not where a
// press would reach it (see reaches; why_not as there).
bool drag_thumb(HWND slider, int dx, int steps, bool release, const char** why_not = nullptr);

void key_down(WORD virtual_key);
void key_up(WORD virtual_key);
void press_key(WORD virtual_key);
// Types each character with the keys VkKeyScan gives for it (Shift included).
void type_text(const char* text);
