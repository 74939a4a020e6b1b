#pragma once
// UnwindGuard: runs an action as a step ends, at the end of its scope or, when
// a host exception passes, in the unwinding pass (this compiler runs no
// destructors for the host's exceptions). While it waits it stands in the
// thread's structured-exception chain (fs:[0]); the unwinder calls its handler,
// which runs the action once.
//
// A guard lives on the stack only (the chain requires it), is neither copied
// nor moved, and guards end in the reverse order of their making, as locals do.
// A guard made without an action registers nothing.
#include <windows.h>

// One record of the thread's structured-exception chain.
struct ExceptionChainRecord {
    ExceptionChainRecord* next;
    void* handler;
};

// The head of this thread's exception chain; for tests that check the chain
// is left as it was found.
ExceptionChainRecord* exception_chain_head();

class UnwindGuard {
public:
    typedef void (*Action)(void* context);

    UnwindGuard(Action action, void* context);
    ~UnwindGuard();

    // The step went as planned: the action is not run, neither at the end of
    // the scope nor by a later unwinding.
    void dismiss() { action_ = nullptr; }

    UnwindGuard(const UnwindGuard&) = delete;
    UnwindGuard& operator=(const UnwindGuard&) = delete;

private:
    static EXCEPTION_DISPOSITION __cdecl run_on_unwind(EXCEPTION_RECORD* record, void* frame,
                                                       CONTEXT* context, void* dispatcher);
    void run();

    ExceptionChainRecord record_;  // first, so the handler finds the guard at its frame address
    Action action_;
    void* context_;
};
