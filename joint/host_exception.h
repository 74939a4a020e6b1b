#pragma once
// The host's exceptions. The host is built with Microsoft's compiler, whose
// C++ exceptions are structured exceptions on x86: code 0xE06D7363 with three
// parameters, the magic number 0x19930520, the address of the thrown object
// and the address of its ThrowInfo. They pass through our frames; this
// compiler runs no destructors for them (ReleaseGuard takes part in the
// unwinding itself). The module never lets an exception of this compiler's own
// kind cross into or out of it.
#include <windows.h>

constexpr DWORD host_exception_code = 0xE06D7363;
constexpr ULONG_PTR host_exception_magic = 0x19930520;
constexpr DWORD host_exception_parameter_count = 3;

// The flags that mark the unwinding pass in an EXCEPTION_RECORD.
constexpr DWORD exception_unwinding = 0x2;
constexpr DWORD exception_exit_unwind = 0x4;

// Throws the int value exactly as the host's compiler throws an int: a host
// built with it catches it with catch(int) or catch(...).
[[noreturn]] void raise_host_int_exception(int value);

// True when the record is a host C++ exception that carries an int; the value
// is then stored in *value.
bool read_host_int_exception(const EXCEPTION_RECORD* record, int* value);
