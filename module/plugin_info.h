#pragma once
// The information record the host asks for with _get_info@12: ten 32-bit
// fields, always the same. The strings are static, code page 932.
#include <cstdint>

struct plugin_info {
    int32_t number;         // 36088, also what position 36 of every component answers
    int32_t second_number;  // 36090
    int32_t version_major;  // 1.3.0.0, as in the version record
    int32_t version_minor;
    int32_t version_patch;
    int32_t version_build;
    const char* name;
    const char* maker;
    const char* maker_again;  // the same string as maker
    const char* description;
};

static_assert(sizeof(plugin_info) == 40, "ten 32-bit fields");

void fill_plugin_info(plugin_info* info);
