#include "simhost/component_calls.h"

namespace {

#define HOST_THISCALL __attribute__((thiscall))

typedef uint32_t(__stdcall* ReleaseCall)(void* self);
typedef int32_t(HOST_THISCALL* OneWordCall)(void* self, uint32_t);
typedef void(HOST_THISCALL* ThreeWordCall)(void* self, uint32_t, uint32_t, uint32_t);
typedef void(HOST_THISCALL* FiveWordCall)(void* self, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t);
typedef void(HOST_THISCALL* SevenWordCall)(void* self, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                              uint32_t, uint32_t);
typedef uint8_t(HOST_THISCALL* TwoWordByteCall)(void* self, uint32_t, uint32_t);

// The object's first word points at its table.
template <typename Call>
Call table_entry(void* object, int position)
{
    void* const* table = *static_cast<void* const* const*>(object);
    return reinterpret_cast<Call>(table[position]);
}

uint32_t word(const void* pointer)
{
    return reinterpret_cast<uint32_t>(pointer);
}

}  // namespace

uint32_t component_release(void* object)
{
    return table_entry<ReleaseCall>(object, position_release)(object);
}

int32_t component_id_of(void* object)
{
    return table_entry<OneWordCall>(object, position_component_id)(object, 0);
}

void component_create_panel_window(void* object, HostApplication* host)
{
    table_entry<ThreeWordCall>(object, position_create_panel_window)(object, 0, word(host), 0);
}

void component_destroy_panel_window(void* object)
{
    table_entry<ThreeWordCall>(object, position_destroy_panel_window)(object, 0, 0, 0);
}

void component_open_panel(void* object, HostApplication* host, HostScene* scene)
{
    table_entry<ThreeWordCall>(object, position_open_panel)(object, word(host), word(scene), 0);
}

void component_notify_relink(void* object, uint8_t* flag, HostScene* scene)
{
    table_entry<SevenWordCall>(object, position_notify_relink)(object, word(flag), word(scene), 0, 0, 0, 0, 0);
}

void component_notify_refresh(void* object, uint8_t* flag, HostScene* scene)
{
    table_entry<FiveWordCall>(object, position_notify_refresh)(object, word(flag), word(scene), 0, 0, 0);
}

uint8_t component_run_attribute_command(void* object, HostShape* target)
{
    return table_entry<TwoWordByteCall>(object, position_run_attribute_command)(object, word(target), 0);
}
