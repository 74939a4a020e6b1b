#include "desktop/step_watch.h"

#include <cstdio>

namespace {

constexpr DWORD look_period_ms = 100;

}  // namespace

StepWatch::StepWatch(DWORD limit_ms, UINT exit_status)
    : limit_ms_(limit_ms), exit_status_(exit_status), started_(GetTickCount())
{
    InitializeCriticalSection(&lock_);
    stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &StepWatch::watch, this, 0, nullptr);
}

StepWatch::~StepWatch()
{
    SetEvent(stop_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(stop_);
    DeleteCriticalSection(&lock_);
}

void StepWatch::begin(const std::string& step)
{
    EnterCriticalSection(&lock_);
    step_ = step;
    started_ = GetTickCount();
    LeaveCriticalSection(&lock_);
}

DWORD WINAPI StepWatch::watch(void* self)
{
    StepWatch* watch = static_cast<StepWatch*>(self);
    while (WaitForSingleObject(watch->stop_, look_period_ms) == WAIT_TIMEOUT)
        watch->end_if_overdue();
    return 0;
}

// TerminateProcess, not ExitProcess: the thread that is stuck may be inside
// a loaded module, whose detach code must not run under it.
void StepWatch::end_if_overdue()
{
    EnterCriticalSection(&lock_);
    const DWORD elapsed = GetTickCount() - started_;
    if (elapsed >= limit_ms_) {
        std::fprintf(stderr, "the step \"%s\" did not end within %lu s: the run ends\n", step_.c_str(),
                     static_cast<unsigned long>(limit_ms_ / 1000));
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), exit_status_);
    }
    LeaveCriticalSection(&lock_);
}
