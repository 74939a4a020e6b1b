#pragma once
// A bound on each step of a scripted run, kept by a thread of its own. The
// message pump bounds the waits between messages, but not a message whose
// handling never returns: a press that landed on a window's border starts the
// system's own move or size loop, which waits for a release nobody sends. A
// step still under way when its time is up is named on standard error, and
// the process ends at once with the given status, running no module's code.
// The watch calls nothing of the C runtime: it may fire while the stuck thread
// holds one of the runtime's locks (the heap's, a stream's), so the message is
// made as the step begins and written with WriteFile.
#include <windows.h>
#include <string>

class StepWatch {
public:
    StepWatch(DWORD limit_ms, UINT exit_status);
    ~StepWatch();
    StepWatch(const StepWatch&) = delete;
    StepWatch& operator=(const StepWatch&) = delete;

    // The step under way from now on, with the whole limit before it.
    void begin(const std::string& step);

private:
    static DWORD WINAPI watch(void* self);
    void end_if_overdue();

    const DWORD limit_ms_;
    const UINT exit_status_;
    CRITICAL_SECTION lock_;
    char overdue_message_[512];
    DWORD overdue_message_length_ = 0;
    DWORD started_;
    HANDLE stop_;
    HANDLE thread_;
};
