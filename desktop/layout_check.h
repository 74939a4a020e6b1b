#pragma once
// Whether a window's parts hold what they show, as a person sees it at the
// desktop's DPI: every visible child as large as its text needs (a check
// box's box beside its text, a list box's every item), inside the window,
// and no two of them overlapping.
#include <windows.h>
#include <string>

// The size of a text in the part's own font: what a part must hold to show it.
SIZE text_size(HWND part, const std::string& text);

// The first fault among the window's visible children, naming the parts
// ("Button "Auto key" is too small for ..."); empty when there is none.
std::string layout_fault(HWND window);
