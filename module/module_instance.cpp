#include "module/module_instance.h"

HINSTANCE module_instance = nullptr;
