#pragma once
// The floating joint panel: a modeless dialog from template 101, owned by the
// host's main window.
#include <cstdint>
#include <windows.h>
#include "joint/host.h"

// Makes the panel once, hidden; the host object yields the owner window.
void create_panel_window(HostApplication* host_object);
// Stops the AutoShade timer and destroys the panel.
void destroy_panel_window();

INT_PTR CALLBACK panel_dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// The panel's screen position under HKEY_CURRENT_USER "Software\TAVIREK\Kelvaro",
// value "Pos": x in the low 16 bits, y in the high 16 bits.
uint32_t load_panel_position();
void store_panel_position(uint32_t packed);
// A window corner in that layout.
uint32_t pack_panel_position(int x, int y);
