#pragma once
// ReleaseGuard<T>: holds one host handle for one step and releases it (when it
// is not none) as the step ends, also when a host exception passes.
//
// Host exceptions are structured exceptions, and this compiler runs no
// destructors for them. So while the guard holds a handle it registers itself
// in the thread's exception chain (fs:[0]); when a catcher further up unwinds,
// the unwinding pass calls the guard's handler, which releases the handle.
// When the step ends normally the destructor unregisters and releases.
//
// A guard lives on the stack only (the chain requires it), is neither copied
// nor moved, and guards are destroyed in the reverse order of their making, as
// locals are.
#include "joint/host.h"

// One record of the thread's structured-exception chain.
struct ExceptionChainRecord {
    ExceptionChainRecord* next;
    void* handler;
};

class ReleaseGuardBase {
public:
    ReleaseGuardBase(const ReleaseGuardBase&) = delete;
    ReleaseGuardBase& operator=(const ReleaseGuardBase&) = delete;

protected:
    explicit ReleaseGuardBase(HostUnknown* handle);
    ~ReleaseGuardBase();

    HostUnknown* handle() const { return handle_; }

private:
    static EXCEPTION_DISPOSITION __cdecl release_on_unwind(EXCEPTION_RECORD* record, void* frame,
                                                           CONTEXT* context, void* dispatcher);

    ExceptionChainRecord record_;  // first, so the handler finds the guard at its frame address
    HostUnknown* handle_;
};

template <class T>
class ReleaseGuard : public ReleaseGuardBase {
public:
    explicit ReleaseGuard(T* handle) : ReleaseGuardBase(handle) {}

    T* get() const { return static_cast<T*>(handle()); }
    T* operator->() const { return get(); }
    explicit operator bool() const { return handle() != nullptr; }
};

// The head of this thread's exception chain; for tests that check the chain
// is left as it was found.
ExceptionChainRecord* exception_chain_head();
