#include "desktop/step_watch.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr DWORD look_period_ms = 100;

}  // namespace

StepWatch::StepWatch(DWORD limit_ms, UINT exit_status)
    : limit_ms_(limit_ms), exit_status_(exit_status), started_(GetTickCount())
{
    InitializeCriticalSection(&lock_);
    begin("the start");
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
    char message[sizeof overdue_message_];
    int length = std::snprintf(message, sizeof message, "the step \"%s\" did not end within %lu s: the run ends\n",
                               step.c_str(), static_cast<unsigned long>(limit_ms_ / 1000));
    if (length < 0 || length >= static_cast<int>(sizeof message)) {
        // A step's name too long for the message is cut; the line still ends.
        length = sizeof message - 1;
        message[length - 1] = '\n';
    }
    EnterCriticalSection(&lock_);
    std::memcpy(overdue_message_, message, sizeof message);
    overdue_message_length_ = static_cast<DWORD>(length);
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
        DWORD written;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), overdue_message_, overdue_message_length_, &written, nullptr);
        TerminateProcess(GetCurrentProcess(), exit_status_);
    }
    LeaveCriticalSection(&lock_);
}
