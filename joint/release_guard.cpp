#include "joint/release_guard.h"
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

ReleaseGuardBase::ReleaseGuardBase(HostUnknown* handle) : record_{nullptr, nullptr}, handle_(handle)
{
    static_assert(offsetof(ReleaseGuardBase, record_) == 0, "the chain record must open the guard");
    if (handle_ == nullptr)
        return;
    record_.handler = reinterpret_cast<void*>(&ReleaseGuardBase::release_on_unwind);
    record_.next = exception_chain_head();
    set_exception_chain_head(&record_);
}

ReleaseGuardBase::~ReleaseGuardBase()
{
    if (handle_ == nullptr)
        return;
    // Normally the record is the head; take it out wherever it stands all the same.
    ExceptionChainRecord* head = exception_chain_head();
    if (head == &record_) {
        set_exception_chain_head(record_.next);
    } else {
        for (ExceptionChainRecord* r = head; r != nullptr && r != reinterpret_cast<ExceptionChainRecord*>(-1);
             r = r->next) {
            if (r->next == &record_) {
                r->next = record_.next;
                break;
            }
        }
    }
    HostUnknown* handle = handle_;
    handle_ = nullptr;
    handle->Release();
}

EXCEPTION_DISPOSITION __cdecl ReleaseGuardBase::release_on_unwind(EXCEPTION_RECORD* record, void* frame,
                                                                   CONTEXT*, void*)
{
    // Only the unwinding pass concerns us; the unwinder takes the record out
    // of the chain after this returns.
    if (record->ExceptionFlags & (exception_unwinding | exception_exit_unwind)) {
        auto* guard = static_cast<ReleaseGuardBase*>(frame);
        HostUnknown* handle = guard->handle_;
        guard->handle_ = nullptr;
        if (handle != nullptr)
            handle->Release();
    }
    return ExceptionContinueSearch;
}
