#include "joint/host_exception.h"
#include <cstring>

// The run-time type records of Microsoft's compiler for a thrown object, in
// their 32-bit layout. For int the catchable type is a simple type of four
// bytes whose decorated name is ".H"; a catch(int) matches it by that name.
namespace {

struct ThrowTypeDescriptor {
    const void* vftable;
    void* spare;
    char name[4];
};

struct ThrowMemberDisplacement {
    int mdisp, pdisp, vdisp;
};

struct ThrowCatchableType {
    unsigned properties;  // 1: a simple type
    const ThrowTypeDescriptor* type;
    ThrowMemberDisplacement this_displacement;
    int size;
    const void* copy_function;
};

struct ThrowCatchableTypeArray {
    int count;
    const ThrowCatchableType* types[1];
};

struct ThrowInfo {
    unsigned attributes;
    const void* unwind;
    const void* forward_compat;
    const ThrowCatchableTypeArray* catchable_types;
};

const ThrowTypeDescriptor int_type = {nullptr, nullptr, ".H"};
const ThrowCatchableType int_catchable = {1, &int_type, {0, -1, 0}, sizeof(int), nullptr};
const ThrowCatchableTypeArray int_catchables = {1, {&int_catchable}};
const ThrowInfo int_throw_info = {0, nullptr, nullptr, &int_catchables};

}  // namespace

void raise_host_int_exception(int value)
{
    // The thrown object lives in this frame, which stays on the stack until
    // the catcher has unwound past it.
    volatile int thrown = value;
    const ULONG_PTR parameters[host_exception_parameter_count] = {
        host_exception_magic,
        reinterpret_cast<ULONG_PTR>(&thrown),
        reinterpret_cast<ULONG_PTR>(&int_throw_info),
    };
    RaiseException(host_exception_code, EXCEPTION_NONCONTINUABLE, host_exception_parameter_count, parameters);
    for (;;) {
    }
}

bool read_host_int_exception(const EXCEPTION_RECORD* record, int* value)
{
    if (record == nullptr || record->ExceptionCode != host_exception_code ||
        record->NumberParameters != host_exception_parameter_count ||
        record->ExceptionInformation[0] != host_exception_magic)
        return false;
    const auto* info = reinterpret_cast<const ThrowInfo*>(record->ExceptionInformation[2]);
    if (info == nullptr || info->catchable_types == nullptr || info->catchable_types->count < 1)
        return false;
    const ThrowCatchableType* type = info->catchable_types->types[0];
    if (type == nullptr || type->type == nullptr || std::strcmp(type->type->name, ".H") != 0)
        return false;
    *value = *reinterpret_cast<const int*>(record->ExceptionInformation[1]);
    return true;
}
