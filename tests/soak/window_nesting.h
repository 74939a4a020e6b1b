#pragma once
// How deep window procedures may still nest on this thread. Under Wine, a structured
// exception that unwinds through window-procedure frames (a host exception raised in the
// panel's message handling, caught above SendMessage) skips the window system's own
// bookkeeping: each uses up some nesting for good, and past the limit the deepest messages
// are silently not delivered (measured: a chain of 40 nested SendMessage calls reached 40 at
// first, 25 after 57 such exceptions, 3 after 89). The panel's deepest path needs over ten.
// The probe sends a chain of up to 40 nested messages to a hidden window and answers how deep it got.
constexpr int window_nesting_probe_depth = 40;

int window_nesting_left();
