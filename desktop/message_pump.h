#pragma once
// Running the thread's message loop from a scripted session or a test, always
// bounded: pump until a condition holds or a time limit passes. Waiting is
// done in MsgWaitForMultipleObjects, so it ends as soon as a message arrives.
// A message whose handling never returns (a modal loop it starts) is beyond
// any pump's bound: see step_watch.h.
#include <windows.h>
#include <functional>

constexpr DWORD default_pump_limit_ms = 3000;

// Dispatches messages (TranslateMessage and DispatchMessage, as a host's plain
// loop does) until done() answers true; false when the limit passed first.
bool pump_until(const std::function<bool()>& done, DWORD limit_ms = default_pump_limit_ms);

// An application loop's own step before it dispatches a message (its
// accelerators, the dialog manager): true when it used the message up.
using MessageTranslator = std::function<bool(MSG*)>;

// As pump_until, with each message offered to the application's translator
// first, as its own loop does.
bool pump_until_translated(const MessageTranslator& translate, const std::function<bool()>& done,
                           DWORD limit_ms = default_pump_limit_ms);

// Dispatches what is queued now, without waiting for more (for the default
// limit at most).
void pump_pending();

// As pump_pending, but for WM_PAINT: what is invalid waits in its window's
// update region for the next pump that paints (timers still come).
void pump_pending_unpainted();

// Pumps for the given time in full, for checks that something does NOT
// happen within it (a timer that must not fire, a window that must stay).
void pump_for(DWORD duration_ms);
