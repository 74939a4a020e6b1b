#pragma once
// Putting a function of our own in place of one that a module imports, by
// rewriting the module's import address table: the module's own calls then go
// through ours, while calls that other modules make are left alone.
#include <windows.h>

// Puts replacement into the slot of dll!function; answers what the slot held,
// or none when the module imports no such function.
void* replace_import(HMODULE module, const char* dll, const char* function, void* replacement);
