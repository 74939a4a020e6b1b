// The attribute component: the one menu command that deletes the joint limits
// stored with the target shape and opens every channel to -180..180.
#include <new>
#include <windows.h>
#include <commctrl.h>
#include "joint/joint_link.h"
#include "joint/release_guard.h"
#include "module/component_objects.h"
#include "module/default_operations.h"
#include "panel/panel_state.h"

namespace {

// Position 5: the component's ID, whatever the argument.
host_word __attribute__((thiscall)) attribute_component_id_operation(attribute_component*, host_word)
{
    return static_cast<host_word>(attribute_component_id);
}

using forwarded_operation = void(__attribute__((thiscall)) *)(attribute_component*, host_word, host_word,
                                                              host_word);
constexpr std::size_t forward_target_position = 212;

// Position 78: hands its first three words on to position 212 of this object.
void __attribute__((thiscall)) forward_to_212(attribute_component* self, host_word first, host_word second,
                                              host_word third, host_word, host_word)
{
    reinterpret_cast<forwarded_operation>(self->table[forward_target_position])(self, first, second, third);
}

void open_limits_to_default(AxisChannel& channel)
{
    channel.minimum = default_minimum_angle;
    channel.maximum = default_maximum_angle;
}

// Position 205: the command itself. Whichever shape the target is, deleting
// its record opens the limits held for the linked joint as well.
host_bool __attribute__((thiscall)) run_attribute_command(attribute_component*, HostShape* target, host_word)
{
    if (target == nullptr)
        return false;
    ReleaseGuard<HostStream> stream(target->find_attribute_stream(panel_component_id, 0));
    if (!stream)
        return false;
    target->delete_attribute_stream(panel_component_id, 0);

    open_limits_to_default(joint_link.pitch);
    open_limits_to_default(joint_link.yaw);
    open_limits_to_default(joint_link.roll);
    for (const AxisControls& controls : axis_controls) {
        const AxisChannel& channel = joint_link.*controls.channel;
        const LPARAM selection = MAKELPARAM(static_cast<WORD>(truncate_angle(channel.minimum)),
                                            static_cast<WORD>(truncate_angle(channel.maximum)));
        SendDlgItemMessageA(panel_state.panel_window, controls.slider_id, TBM_SETSEL, TRUE, selection);
    }
    return false;
}

// Position 208: sets the host's flag.
uint8_t* __attribute__((thiscall)) set_flag_208(attribute_component*, uint8_t* flag, host_word)
{
    *flag = 1;
    return flag;
}

struct attribute_component_positions {
    template <std::size_t P>
    static constexpr auto function()
    {
        if constexpr (P < 3)
            return unknown_function<P>();
        else if constexpr (P == 3)
            return &destroy_attribute_component;
        else if constexpr (P == 5)
            return &attribute_component_id_operation;
        else if constexpr (P == 78)
            return &forward_to_212;
        else if constexpr (P == 205)
            return &run_attribute_command;
        else if constexpr (P == 208)
            return &set_flag_208;
        else
            return interface_default_function<P>();
    }
};

using attribute_component_table =
    OperationTable<attribute_component_positions, std::make_index_sequence<attribute_interface_length>>;

}  // namespace

attribute_component::attribute_component() : attribute_interface{{{attribute_component_table::entries, 0}}} {}

attribute_component* new_attribute_component()
{
    void* memory = allocate_component(sizeof(attribute_component));
    return memory != nullptr ? new (memory) attribute_component() : nullptr;
}

void* __attribute__((thiscall)) destroy_attribute_component(attribute_component* object, host_word flags)
{
    object->~attribute_component();
    if (flags & 1)
        free_component(object);
    return object;
}
