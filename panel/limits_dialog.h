#pragma once
// Typed angles: the limits dialog (template 102) and the panel's edit boxes.
#include <windows.h>

// 1 when the text is a number: first character one of "0123456789-", every
// further one of "0123456789."; 0 otherwise (also for an empty text).
int is_numeric_text(const char* text);

INT_PTR CALLBACK limits_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// An edit box's text as its axis's new angle: clamped to the limits, applied
// and keyed. Called for EN_CHANGE while the edit box has the focus.
void commit_axis_edit(int edit_id);
