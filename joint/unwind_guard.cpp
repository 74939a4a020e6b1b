#include "joint/unwind_guard.h"
#include <cstddef>
#include "joint/host_exception.h"

ExceptionChainRecord* exception_chain_head()
{
    ExceptionChainRecord* head;
    asm volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

static void set_exception_chain_head(ExceptionChainRecord* head)
{
    asm volatile("movl %0, %%fs:0" : : "r"(head) : "memory");
}

// The end of the chain is marked by the address -1.
static ExceptionChainRecord* const chain_end = reinterpret_cast<ExceptionChainRecord*>(-1);

UnwindGuard::UnwindGuard(Action action, void* context) : record_{nullptr, nullptr}, action_(action), context_(context)
{
    static_assert(offsetof(UnwindGuard, record_) == 0, "the chain record must open the guard");
    if (action_ == nullptr)
        return;
    record_.handler = reinterpret_cast<void*>(&UnwindGuard::run_on_unwind);
    record_.next = exception_chain_head();
    set_exception_chain_head(&record_);
}

UnwindGuard::~UnwindGuard()
{
    if (record_.handler == nullptr)
        return;  // never registered
    // Normally the record is the head; take it out wherever it stands all the same.
    ExceptionChainRecord* head = exception_chain_head();
    if (head == &record_) {
        set_exception_chain_head(record_.next);
    } else {
        for (ExceptionChainRecord* r = head; r != nullptr && r != chain_end; r = r->next) {
            if (r->next == &record_) {
                r->next = record_.next;
                break;
            }
        }
    }
    run();
}

void UnwindGuard::run()
{
    Action action = action_;
    action_ = nullptr;
    if (action != nullptr)
        action(context_);
}

EXCEPTION_DISPOSITION __cdecl UnwindGuard::run_on_unwind(EXCEPTION_RECORD* record, void* frame, CONTEXT*, void*)
{
    // Only the unwinding pass concerns us; the unwinder takes the record out
    // of the chain after this returns.
    if (record->ExceptionFlags & (exception_unwinding | exception_exit_unwind))
        static_cast<UnwindGuard*>(frame)->run();
    return ExceptionContinueSearch;
}
