#pragma once
// A plain top-level window standing in for the host's main window: the
// panel's owner, disabled while the limits dialog runs, and the window that
// gets the focus back after drags and buttons.
#include <windows.h>

HWND create_host_main_window();
