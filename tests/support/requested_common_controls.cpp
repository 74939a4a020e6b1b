// Compiled into each of the two programs of an area whose tests run under
// both sets of common controls, with the version that program asks for.
#include "support/requested_common_controls.h"

const int requested_common_controls = KELVARO_REQUESTED_COMMON_CONTROLS;
