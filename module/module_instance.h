#pragma once
#include <windows.h>

// The module that holds the dialog templates 101 and 102. The library's entry
// point stores it when the library attaches; test programs that link the panel
// directly set it to their own executable. Never cleared.
extern HINSTANCE module_instance;
