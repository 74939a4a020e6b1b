#pragma once
// The defaults of the host's two component interfaces, position by position.
// Positions that every component replaces (3, the destructor; 5, the
// component's ID; 205 and 208 of the attribute interface) have no row.
#include "module/operation_table.h"

namespace default_rows {
using B = DefaultBehaviour;

// unknown_interface, after IUnknown's three: position 4.
constexpr DefaultRow unknown_interface[] = {
    {4, 4, 0, B::returns_true},
};

// plugin_interface: positions 5 to 204.
constexpr DefaultRow plugin_interface[] = {
    {6, 7, 2, B::returns_zero},
    {8, 8, 3, B::returns_zero},
    {9, 22, 3, B::does_nothing},
    {23, 23, 2, B::returns_zero},
    {24, 24, 3, B::does_nothing},
    {25, 25, 4, B::does_nothing},
    {26, 26, 3, B::returns_zero},
    {27, 27, 6, B::clears_flag},
    {28, 28, 7, B::clears_flag},
    {29, 29, 5, B::clears_flag},
    {30, 31, 3, B::clears_flag},
    {32, 32, 3, B::does_nothing},
    {33, 33, 3, B::clears_flag},
    {34, 35, 6, B::clears_flag},
    {36, 36, 0, B::returns_36088},
    {37, 37, 4, B::clears_flag},
    {38, 39, 5, B::clears_flag},
    {40, 40, 3, B::clears_flag},
    {41, 41, 1, B::returns_true},
    {42, 43, 0, B::returns_false},
    {44, 51, 2, B::returns_zero},
    {52, 52, 1, B::does_nothing},
    {53, 56, 1, B::returns_false},
    {57, 57, 3, B::returns_true},
    {58, 59, 4, B::returns_true},
    {60, 60, 3, B::returns_true},
    {61, 61, 2, B::returns_false},
    {62, 62, 2, B::returns_true},
    {63, 65, 5, B::clears_flag},
    {66, 66, 3, B::clears_flag},
    {67, 67, 1, B::returns_false},
    {68, 68, 1, B::returns_one},
    {69, 69, 4, B::does_nothing},
    {70, 70, 1, B::returns_false},
    {71, 73, 2, B::does_nothing},
    {74, 74, 1, B::returns_false},
    {75, 75, 3, B::does_nothing},
    {76, 77, 3, B::clears_flag},
    {78, 78, 5, B::does_nothing},
    {79, 81, 3, B::clears_flag},
    {82, 82, 2, B::returns_zero},
    {83, 83, 1, B::does_nothing},
    {84, 85, 4, B::clears_flag},
    {86, 86, 3, B::clears_flag},
    {87, 87, 0, B::returns_zero},
    {88, 88, 2, B::does_nothing},
    {89, 90, 3, B::clears_flag},
    {91, 91, 4, B::clears_flag},
    {92, 93, 3, B::clears_flag},
    {94, 204, 0, B::reserved},
};

// attribute_interface: positions 205 to 404.
constexpr DefaultRow attribute_interface[] = {
    {206, 207, 3, B::returns_false},
    {209, 210, 2, B::clears_flag},
    {211, 211, 3, B::sets_flag},
    {212, 212, 3, B::does_nothing},
    {213, 213, 2, B::returns_one},
    {214, 214, 4, B::returns_zero},
    {215, 215, 7, B::marks_record},
    {216, 216, 3, B::returns_one},
    {217, 217, 10, B::returns_zero},
    {218, 219, 3, B::returns_zero},
    {220, 220, 2, B::clears_flag},
    {221, 221, 2, B::returns_false},
    {222, 222, 2, B::clears_flag},
    {223, 223, 2, B::returns_false},
    {224, 404, 0, B::reserved},
};
}  // namespace default_rows

constexpr std::size_t unknown_interface_length = 5;      // positions 0 to 4
constexpr std::size_t plugin_interface_length = 205;     // positions 0 to 204
constexpr std::size_t attribute_interface_length = 405;  // positions 0 to 404

// The row that covers a position; a row of behaviour `none` when none does.
template <std::size_t N>
constexpr DefaultRow find_default_row(const DefaultRow (&rows)[N], std::size_t position)
{
    for (const DefaultRow& row : rows)
        if (row.first <= position && position <= row.last)
            return row;
    return DefaultRow{0, 0, 0, DefaultBehaviour::none};
}

constexpr DefaultRow default_row(std::size_t position)
{
    if (position < unknown_interface_length)
        return find_default_row(default_rows::unknown_interface, position);
    if (position < plugin_interface_length)
        return find_default_row(default_rows::plugin_interface, position);
    return find_default_row(default_rows::attribute_interface, position);
}

// How many rows cover a position; the tables below must cover each position of
// an interface once, except those that every component replaces.
template <std::size_t N>
constexpr int rows_covering(const DefaultRow (&rows)[N], std::size_t position)
{
    int count = 0;
    for (const DefaultRow& row : rows)
        if (row.first <= position && position <= row.last)
            ++count;
    return count;
}

constexpr bool replaced_by_every_component(std::size_t position)
{
    return position == 3 || position == 5 || position == 205 || position == 208;
}

constexpr bool default_rows_cover_each_position_once()
{
    for (std::size_t p = 3; p < attribute_interface_length; ++p) {
        int count = rows_covering(default_rows::unknown_interface, p) +
                    rows_covering(default_rows::plugin_interface, p) +
                    rows_covering(default_rows::attribute_interface, p);
        if (count != (replaced_by_every_component(p) ? 0 : 1))
            return false;
        const DefaultRow row = default_row(p);
        if (row.behaviour != DefaultBehaviour::none &&
            (row.first < 3 || (p < plugin_interface_length) != (row.last < plugin_interface_length) ||
             (p < unknown_interface_length) != (row.last < unknown_interface_length)))
            return false;
    }
    return true;
}
static_assert(default_rows_cover_each_position_once(),
              "every default position is covered by exactly one row, inside its own interface");

// The default operation at a position.
template <std::size_t Position>
constexpr auto interface_default_function()
{
    constexpr DefaultRow row = default_row(Position);
    static_assert(row.behaviour != DefaultBehaviour::none, "this position has no default");
    return default_function<row.behaviour, row.words>();
}
