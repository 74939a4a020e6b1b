#include "desktop/message_pump.h"

namespace {

void dispatch_queued(const MessageTranslator& translate = nullptr)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
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
        dispatch_queued(translate);
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
    dispatch_queued();
}

void pump_for(DWORD duration_ms)
{
    pump_until([] { return false; }, duration_ms);
}
