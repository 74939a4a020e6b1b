#include "simhost/sim_operation.h"
#include <cstring>

namespace {

struct OperationName {
    const char* interface_name;
    const char* operation_name;
    int32_t position;
    int32_t argument_words;
    SimResult result;
};

constexpr SimResult result_none = SimResult::none;
constexpr SimResult result_word = SimResult::word;
constexpr SimResult result_byte = SimResult::byte;
constexpr SimResult result_float = SimResult::float_;
constexpr SimResult result_handle = SimResult::handle;

const OperationName operation_names[sim_operation_count] = {
#define SIM_OPERATION_NAME(interface_name, operation_name, position, words, result) \
    {#interface_name, #operation_name, position, words, result_##result},
    SIM_HOST_OPERATIONS(SIM_OPERATION_NAME)
#undef SIM_OPERATION_NAME
};

bool in_range(SimOperation operation)
{
    return static_cast<int32_t>(operation) >= 0 && static_cast<int32_t>(operation) < sim_operation_count;
}

}  // namespace

const char* sim_operation_name(SimOperation operation)
{
    return in_range(operation) ? operation_names[static_cast<int32_t>(operation)].operation_name : "?";
}

const char* sim_operation_interface(SimOperation operation)
{
    return in_range(operation) ? operation_names[static_cast<int32_t>(operation)].interface_name : "?";
}

int32_t sim_operation_position(SimOperation operation)
{
    return in_range(operation) ? operation_names[static_cast<int32_t>(operation)].position : -1;
}

int32_t sim_operation_argument_words(SimOperation operation)
{
    return in_range(operation) ? operation_names[static_cast<int32_t>(operation)].argument_words : -1;
}

SimResult sim_operation_result(SimOperation operation)
{
    return in_range(operation) ? operation_names[static_cast<int32_t>(operation)].result : SimResult::none;
}

bool sim_operation_named(const char* name, SimOperation* out)
{
    if (name == nullptr)
        return false;
    for (int32_t i = 0; i < sim_operation_count; ++i) {
        if (std::strcmp(operation_names[i].operation_name, name) == 0) {
            *out = static_cast<SimOperation>(i);
            return true;
        }
    }
    return false;
}
