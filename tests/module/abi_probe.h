#pragma once
// Calls a function at an address with a given number of 32-bit argument words,
// as the host's compiler would, and notes what the stack pointer did.
#include <cstdint>

struct ProbeResult {
    uint32_t eax;       // EAX after the call (it holds 0xA5A5A5A5 going in)
    int32_t esp_moved;  // ESP after the call minus ESP before the words were pushed
};

// words[0] is the first argument (pushed last). `self` goes into ECX, as a
// thiscall caller does; a stdcall caller passes the object among the words.
ProbeResult probe_call(const void* function, void* self, const uint32_t* words, int count);

constexpr uint32_t probe_eax_going_in = 0xA5A5A5A5;
