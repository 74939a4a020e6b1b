#include "simhost/host_catch.h"
#include "joint/host_exception.h"
#include "joint/release_guard.h"

namespace {

struct CatchFrame {
    ExceptionChainRecord record;  // first: the handler receives its address
    void* jump[5];                // __builtin_setjmp's buffer
    HostCatch* caught;
};

void set_chain_head(ExceptionChainRecord* head)
{
    asm volatile("movl %0, %%fs:0" : : "r"(head) : "memory");
}

EXCEPTION_DISPOSITION __cdecl catch_host_exception(EXCEPTION_RECORD* record, void* frame, CONTEXT*, void*)
{
    if (record->ExceptionFlags & (exception_unwinding | exception_exit_unwind))
        return ExceptionContinueSearch;
    if (record->ExceptionCode != host_exception_code)
        return ExceptionContinueSearch;

    auto* catcher = static_cast<CatchFrame*>(frame);
    HostCatch* caught = catcher->caught;
    caught->caught = true;
    caught->code = record->ExceptionCode;
    caught->is_int = read_host_int_exception(record, &caught->int_value);

    // Unwind every frame registered inside the step; afterwards our record is
    // the head of the chain again. Then resume in host_try.
    RtlUnwind(frame, nullptr, record, nullptr);
    __builtin_longjmp(catcher->jump, 1);
}

}  // namespace

bool host_try(void (*step)(void* context), void* context, HostCatch* caught)
{
    static HostCatch ignored;
    CatchFrame catcher;
    catcher.caught = caught != nullptr ? caught : &ignored;
    *catcher.caught = HostCatch{};
    catcher.record.handler = reinterpret_cast<void*>(&catch_host_exception);
    catcher.record.next = exception_chain_head();
    set_chain_head(&catcher.record);

    bool returned = true;
    if (__builtin_setjmp(catcher.jump) == 0) {
        step(context);
    } else {
        returned = false;
    }
    set_chain_head(catcher.record.next);
    return returned;
}
