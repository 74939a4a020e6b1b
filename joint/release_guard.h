#pragma once
// ReleaseGuard<T>: holds one host handle for one step and releases it (when it
// is not none) as the step ends, also when a host exception passes: the
// release is the action of an UnwindGuard, which takes part in the unwinding
// of the host's structured exceptions.
#include "joint/host.h"
#include "joint/unwind_guard.h"

class ReleaseGuardBase : private UnwindGuard {
protected:
    explicit ReleaseGuardBase(HostUnknown* handle)
        : UnwindGuard(handle != nullptr ? &release : nullptr, handle), handle_(handle)
    {
    }

    HostUnknown* handle() const { return handle_; }

private:
    static void release(void* handle) { static_cast<HostUnknown*>(handle)->Release(); }

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
