#pragma once
// The host's side of a try/catch: runs a step and catches a host exception
// (a structured exception of code 0xE06D7363) raised anywhere inside it, as a
// host built with Microsoft's compiler does with catch(...). The frames in
// between are unwound first, so every handler registered there (ReleaseGuard's
// among them) runs its unwinding pass before host_try returns.
#include <windows.h>

struct HostCatch {
    bool caught = false;
    DWORD code = 0;
    bool is_int = false;  // the thrown object is an int (catch(int) would take it)
    int int_value = 0;
};

// Runs step(context). True when it returned normally; false when a host
// exception was caught (described in *caught).
bool host_try(void (*step)(void* context), void* context, HostCatch* caught);

template <class Step>
bool host_try(Step&& step, HostCatch* caught)
{
    return host_try([](void* c) { (*static_cast<Step*>(c))(); }, &step, caught);
}
