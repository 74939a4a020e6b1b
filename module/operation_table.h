#pragma once
// How a component's operation table is made.
//
// The host calls a component's operations by position. Its tables are long and
// nearly all of it is fixed defaults, so they are written down as data: rows of
// (first position, last position, argument words, behaviour), in
// default_operations.h. Templates turn each (behaviour, argument words) pair
// into one function of the host's member-call form, and each component's table
// is an array of those functions in position order, with the component's own
// operations put in at their positions.
//
// Calling forms, fixed by the host:
// - positions 0 to 2 (QueryInterface, AddRef, Release): __stdcall, the object
//   as the first stack word;
// - position 3 onward: thiscall, the object in ECX, 32-bit argument words on
//   the stack, removed by the callee.
// A one-byte boolean comes back in AL; a 32-bit result in EAX.
#include <cstddef>
#include <cstdint>
#include <utility>

typedef uint32_t host_word;

// One position of a table: the address of a function of whichever form the
// position has. The host reads the table as plain addresses.
typedef const void* table_entry;

enum class DefaultBehaviour : uint8_t {
    none,             // no default: every component brings its own
    returns_zero,     // 32-bit 0
    returns_one,      // 32-bit 1
    returns_false,    // one byte
    returns_true,     // one byte
    does_nothing,
    clears_flag,      // the byte at the first argument becomes 0; returns the first argument
    sets_flag,        // the byte at the first argument becomes 1; returns the first argument
    marks_record,     // byte 24 of the record at the first argument becomes 1; returns the first argument
    returns_36088,    // 32-bit, the first number of plugin_info as well
    reserved,         // throws the host's int 0
};

struct DefaultRow {
    uint16_t first;
    uint16_t last;
    uint8_t words;
    DefaultBehaviour behaviour;
};

constexpr uint32_t host_fixed_number = 36088;
constexpr std::size_t marked_record_offset = 24;

// What each behaviour does with the argument words (words[0] is the first).
template <DefaultBehaviour B>
struct behaviour_of;

template <>
struct behaviour_of<DefaultBehaviour::returns_zero> {
    static host_word run(const host_word*) { return 0; }
};
template <>
struct behaviour_of<DefaultBehaviour::returns_one> {
    static host_word run(const host_word*) { return 1; }
};
template <>
struct behaviour_of<DefaultBehaviour::returns_false> {
    static uint8_t run(const host_word*) { return 0; }
};
template <>
struct behaviour_of<DefaultBehaviour::returns_true> {
    static uint8_t run(const host_word*) { return 1; }
};
template <>
struct behaviour_of<DefaultBehaviour::does_nothing> {
    static void run(const host_word*) {}
};
template <>
struct behaviour_of<DefaultBehaviour::clears_flag> {
    static uint8_t* run(const host_word* words)
    {
        auto* flag = reinterpret_cast<uint8_t*>(words[0]);
        *flag = 0;
        return flag;
    }
};
template <>
struct behaviour_of<DefaultBehaviour::sets_flag> {
    static uint8_t* run(const host_word* words)
    {
        auto* flag = reinterpret_cast<uint8_t*>(words[0]);
        *flag = 1;
        return flag;
    }
};
template <>
struct behaviour_of<DefaultBehaviour::marks_record> {
    static uint8_t* run(const host_word* words)
    {
        auto* record = reinterpret_cast<uint8_t*>(words[0]);
        record[marked_record_offset] = 1;
        return record;
    }
};
template <>
struct behaviour_of<DefaultBehaviour::returns_36088> {
    static host_word run(const host_word*) { return host_fixed_number; }
};
template <>
struct behaviour_of<DefaultBehaviour::reserved> {
    [[noreturn]] static void run(const host_word*);  // default_operations.cpp
};

template <std::size_t>
using argument_word = host_word;

// One default operation: thiscall, the object in ECX, exactly sizeof...(I)
// argument words on the stack, which the `ret` removes.
template <DefaultBehaviour B, std::size_t... I>
struct default_operation {
    static decltype(behaviour_of<B>::run(nullptr)) __attribute__((thiscall))
    call(void* /*object*/, argument_word<I>... words)
    {
        const host_word all[sizeof...(I) + 1] = {words..., 0};
        return behaviour_of<B>::run(all);
    }
};

template <DefaultBehaviour B, std::size_t... I>
constexpr auto default_operation_of(std::index_sequence<I...>)
{
    return &default_operation<B, I...>::call;
}

// The function for (behaviour, argument words), with its own type.
template <DefaultBehaviour B, std::size_t Words>
constexpr auto default_function()
{
    return default_operation_of<B>(std::make_index_sequence<Words>{});
}

// The table of a component: Positions::function<P>() names the function at
// position P. The addresses are constant, so the table is plain read-only
// data of the module, ready before anything runs.
template <class Positions, class Sequence>
struct OperationTable;

template <class Positions, std::size_t... P>
struct OperationTable<Positions, std::index_sequence<P...>> {
    static const table_entry entries[sizeof...(P)];
};

template <class Positions, std::size_t... P>
const table_entry OperationTable<Positions, std::index_sequence<P...>>::entries[sizeof...(P)] = {
    reinterpret_cast<table_entry>(Positions::template function<P>())...};
