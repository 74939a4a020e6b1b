#pragma once
// Answers for the limits dialog, for a ModalAnswerer to run from inside the
// dialog's own loop.
#include "desktop/modal_answer.h"

// Sets the three limit fields and presses OK, or leaves a field alone where
// its text is null.
ModalAnswerer::Answer fill_limits_and_press(const char* minimum, const char* current,
                                            const char* maximum, int button_id);
// Types over the limit fields with real keys (Tab from one to the next, Delete
// for an empty text) and presses Enter, all queued for the dialog's own loop.
ModalAnswerer::Answer type_limits_and_enter(const char* minimum, const char* current,
                                            const char* maximum);

