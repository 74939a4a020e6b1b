#pragma once
// The floor of a drag step: the Win32 work that showing one slider step costs
// whatever the plug-in does, in a dialog of our own made from the panel's
// template (the same trackbars and edit boxes) with none of the plug-in's code
// behind it. Its procedure answers TB_THUMBTRACK by reading the slider's
// position and writing "%6f" of it into the row's edit box, whose EN_CHANGE
// comes back into the procedure before SetWindowText returns.
#include <windows.h>

HWND create_floor_dialog(HMODULE template_module, HWND owner);
