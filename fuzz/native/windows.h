#pragma once
// Just enough of <windows.h> for the panel's text functions to compile
// natively for the fuzzers: the types that panel/limits_dialog.h names.
#include <cstdint>
typedef struct HWND__* HWND;
typedef unsigned int UINT;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t INT_PTR;
#define CALLBACK
