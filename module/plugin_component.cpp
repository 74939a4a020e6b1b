// The joint panel's component. Every panel component works on the one panel
// window and the one joint link of the process; the object itself holds only
// its count.
#include <new>
#include "joint/joint_link.h"
#include "module/component_objects.h"
#include "module/default_operations.h"
#include "panel/panel_state.h"
#include "panel/panel_window.h"

namespace {

// Position 5: the component's ID, whatever the argument.
host_word __attribute__((thiscall)) plugin_component_id(plugin_component*, host_word)
{
    return static_cast<host_word>(panel_component_id);
}

// Position 28: the host has a new scene for us. While the panel is open, the
// limits of the shape linked so far are written back before relinking.
void __attribute__((thiscall)) notify_relink(plugin_component*, host_word /*flag*/, HostScene* scene,
                                             host_word, host_word, host_word, host_word, host_word)
{
    joint_link.scene = scene;
    if (panel_state.shown == 0)
        return;
    save_limits_and_relink();
}

// Position 29: the scene has changed. Our own panel being the active window
// means the change is ours; nothing to follow then.
void __attribute__((thiscall)) notify_refresh(plugin_component*, host_word /*flag*/, HostScene* scene,
                                              host_word, host_word, host_word)
{
    joint_link.scene = scene;
    if (GetActiveWindow() == panel_state.panel_window)
        return;
    if (panel_state.shown == 1)
        relink();
}

// Position 30: the host wants our window; it is made once, hidden.
void __attribute__((thiscall)) create_panel_window_operation(plugin_component*, host_word,
                                                             HostApplication* host_object, host_word)
{
    create_panel_window(host_object);
}

// Position 31: the host is done with our window.
void __attribute__((thiscall)) destroy_panel_window_operation(plugin_component*, host_word, host_word,
                                                              host_word)
{
    destroy_panel_window();
}

// Position 32: the user opened the plug-in. An open panel keeps its link.
void __attribute__((thiscall)) open_panel(plugin_component*, HostApplication* host, HostScene* scene,
                                          host_word)
{
    joint_link.host = host;
    joint_link.scene = scene;
    if (panel_state.shown == 1)
        return;
    relink();
    ShowWindow(panel_state.panel_window, SW_SHOW);
    panel_state.shown = 1;
}

struct plugin_component_positions {
    template <std::size_t P>
    static constexpr auto function()
    {
        if constexpr (P < 3)
            return unknown_function<P>();
        else if constexpr (P == 3)
            return &destroy_plugin_component;
        else if constexpr (P == 5)
            return &plugin_component_id;
        else if constexpr (P == 28)
            return &notify_relink;
        else if constexpr (P == 29)
            return &notify_refresh;
        else if constexpr (P == 30)
            return &create_panel_window_operation;
        else if constexpr (P == 31)
            return &destroy_panel_window_operation;
        else if constexpr (P == 32)
            return &open_panel;
        else
            return interface_default_function<P>();
    }
};

using plugin_component_table =
    OperationTable<plugin_component_positions, std::make_index_sequence<plugin_interface_length>>;

}  // namespace

plugin_component::plugin_component() : plugin_interface{{plugin_component_table::entries, 0}} {}

plugin_component* new_plugin_component()
{
    void* memory = allocate_component(sizeof(plugin_component));
    return memory != nullptr ? new (memory) plugin_component() : nullptr;
}

void* __attribute__((thiscall)) destroy_plugin_component(plugin_component* object, host_word flags)
{
    object->~plugin_component();
    if (flags & 1)
        free_component(object);
    return object;
}
