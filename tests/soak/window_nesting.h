#pragma once
// How deep window procedures may still nest on this thread.
//
// Under Wine, a structured exception that unwinds through window-procedure
// frames (a host exception raised inside the panel's message handling and
// caught by the host above SendMessage) skips the window system's own
// bookkeeping: each one permanently uses up some of the thread's nesting of
// window procedures, and past the limit the deepest messages are silently not
// delivered (measured: a chain of 40 nested SendMessage calls reached depth 40
// at first, 25 after 57 such exceptions, 3 after 89). The panel's deepest
// path, a typed text clamped twice, needs well over ten levels.
//
// The probe sends a chain of up to `window_nesting_probe_depth` nested
// messages to a hidden window of its own and answers how deep it got.
constexpr int window_nesting_probe_depth = 40;

int window_nesting_left();
