#pragma once
// What the panel is told, as it is told it: the positions the sliders report
// in WM_HSCROLL (with Ctrl's state), the text a box holds as it reports a
// change the user made, and the buttons' clicks. These are the user's input,
// not the panel's state. And the trackbar Microsoft documents, played over
// Wine's: a let-go lets the capture go before it notifies, and a drag that
// loses the capture ends there and then.
#include <windows.h>
#include <string>
#include <vector>

struct SliderReport { int slot, code, position; bool ctrl; };
struct TypedText { int slot; std::string text; };

struct PanelWatch {
    bool reporting = false;  // keeps the sliders' reports
    bool typing = false;     // keeps the boxes' changes that the user made
    std::vector<SliderReport> reports;
    std::vector<TypedText> typed;
    std::vector<int> clicked;  // BN_CLICKED, by control
    bool documented = false, dragging = false;
    int depth = 0;  // of the panel's messages: a box's change inside another is the panel's own
};

extern PanelWatch panel_watch;
extern const int slider_ids[3], edit_ids[3];

void watch_panel(HWND panel);
