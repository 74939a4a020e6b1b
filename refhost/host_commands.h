#pragma once
// The reference host's own menu commands and control identifiers (the
// plug-in's controls have theirs in panel/resource.h).

enum : int {
    cmd_open = 100,
    cmd_save = 101,
    cmd_save_as = 102,
    cmd_exit = 103,
    cmd_select_next = 110,
    cmd_select_all_joints = 111,
    cmd_select_none = 112,
    cmd_view_front = 120,
    cmd_view_side = 121,
    cmd_view_top = 122,
    cmd_view_fit = 123,
    cmd_language_english = 130,
    cmd_language_japanese = 131,
    cmd_plugin_first = 200,  // the n-th component of the Plug-ins menu is cmd_plugin_first + n
    cmd_plugin_last = 299,

    id_viewport = 500,
    id_shape_list = 501,
    id_time_slider = 502,
    id_time_value = 503,
    id_auto_key = 504,
    id_keys_label = 505,
    id_time_label = 506,
    id_key_strip = 507,

    // Posted to the main window when the scene changed under the plug-in's
    // calls; coalesced, so a drag repaints once per step.
    msg_scene_changed = WM_APP + 1,
};
