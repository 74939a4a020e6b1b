#pragma once
// The floors of a drag step: the Win32 work that showing one slider step costs
// whatever the plug-in does, in a dialog of our own made from the panel's
// template (the same trackbars and edit boxes) with none of the plug-in's code
// behind it. Its procedure answers TB_THUMBTRACK by reading the slider's
// position and writing "%6f" of it into the row's edit box, whose EN_CHANGE
// comes back into the procedure before SetWindowText returns.
//
// The bare floor does only that. The asking floor also asks what the panel
// must ask on every step: the Ctrl key's state on TB_THUMBTRACK (a Ctrl-drag
// opens the limits dialog), and which window has the focus when the box
// reports its change (a typed text is applied, a written one is not).
#include <windows.h>

enum class FloorKind { bare, asking };

HWND create_floor_dialog(HMODULE template_module, HWND owner, FloorKind kind);
