#include "desktop/message_pump.h"

namespace {

// Until the queue is empty or the time is up: a stream of messages that never
// dries up (a window that never validates what it paints, a timer of 0 ms)
// would otherwise keep the pump here for ever.
void dispatch_queued(DWORD start, DWORD limit_ms, const MessageTranslator& translate = nullptr, UINT remove = PM_REMOVE)
{
    MSG msg;
    while (GetTickCount() - start < limit_ms && PeekMessageA(&msg, nullptr, 0, 0, remove)) {
        if (translate && translate(&msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

bool pump_until(const std::function<bool()>& done, DWORD limit_ms)
{
    return pump_until_translated(nullptr, done, limit_ms);
}

bool pump_until_translated(const MessageTranslator& translate, const std::function<bool()>& done, DWORD limit_ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        dispatch_queued(start, limit_ms, translate);
        if (done())
            return true;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= limit_ms)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, limit_ms - elapsed > 20 ? 20 : limit_ms - elapsed,
                                  QS_ALLINPUT);
    }
}

void pump_pending()
{
    dispatch_queued(GetTickCount(), default_pump_limit_ms);
}

void pump_pending_unpainted()
{
    dispatch_queued(GetTickCount(), default_pump_limit_ms, nullptr,
                    PM_REMOVE | PM_QS_SENDMESSAGE | PM_QS_POSTMESSAGE | PM_QS_INPUT);
}

void pump_for(DWORD duration_ms)
{
    pump_until([] { return false; }, duration_ms);
}
