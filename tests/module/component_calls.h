#pragma once
// Calling a component's position through its raw table, as the host does,
// with the stack pointer checked on the way out.
#include <gtest/gtest.h>
#include <initializer_list>
#include <vector>
#include "abi_probe.h"
#include "kelvaro_module.h"

inline uint32_t as_word(const void* pointer)
{
    return reinterpret_cast<uint32_t>(pointer);
}

// Calls position `position` (thiscall: the object in ECX) with the words; a
// stack pointer that does not come back is a test failure. Answers EAX.
inline uint32_t call_position(ComponentObject* object, int position, std::initializer_list<uint32_t> words)
{
    const std::vector<uint32_t> list(words);
    const ProbeResult r = probe_call(object->table[position], object, list.data(), static_cast<int>(list.size()));
    EXPECT_EQ(r.esp_moved, 0) << "position " << position << " left the stack " << r.esp_moved << " bytes off";
    return r.eax;
}
