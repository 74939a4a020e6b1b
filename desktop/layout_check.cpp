#include "desktop/layout_check.h"

#include <vector>

namespace {

std::string class_of(HWND part)
{
    char name[64] = "";
    GetClassNameA(part, name, sizeof name);
    return name;
}

std::string name_of(HWND part)
{
    char text[128] = "";
    GetWindowTextA(part, text, sizeof text);
    return class_of(part) + (text[0] != '\0' ? " \"" + std::string(text) + "\"" : "");
}

bool is_check_box(HWND part)
{
    if (lstrcmpiA(class_of(part).c_str(), "Button") != 0)
        return false;
    switch (GetWindowLongA(part, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE:
    case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON:
        return true;
    }
    return false;
}

// What the part shows: a list box's items, any other part's window text.
std::vector<std::string> texts_of(HWND part)
{
    std::vector<std::string> texts;
    if (lstrcmpiA(class_of(part).c_str(), "ListBox") == 0) {
        const LRESULT count = SendMessageA(part, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::string item(static_cast<size_t>(SendMessageA(part, LB_GETTEXTLEN, i, 0)) + 1, '\0');
            item.resize(static_cast<size_t>(SendMessageA(part, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&item[0]))));
            texts.push_back(item);
        }
        return texts;
    }
    const int length = GetWindowTextLengthA(part);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(part, &text[0], length + 1)));
    texts.push_back(text);
    return texts;
}

// The first text the part is too small for, or none.
std::string clipped_text(HWND part)
{
    RECT inside;
    GetClientRect(part, &inside);
    for (const std::string& text : texts_of(part)) {
        if (text.empty())
            continue;
        SIZE need = text_size(part, text);
        if (is_check_box(part))
            need.cx += GetSystemMetrics(SM_CXMENUCHECK) + GetSystemMetrics(SM_CXEDGE);
        if (need.cx > inside.right || need.cy > inside.bottom)
            return text;
    }
    return std::string();
}

}  // namespace

SIZE text_size(HWND part, const std::string& text)
{
    HDC dc = GetDC(part);
    HGDIOBJ old_font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(part, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old_font);
    ReleaseDC(part, dc);
    return size;
}

std::string layout_fault(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    std::vector<HWND> placed;
    for (HWND part = GetWindow(window, GW_CHILD); part != nullptr; part = GetWindow(part, GW_HWNDNEXT)) {
        if (!IsWindowVisible(part))
            continue;
        RECT frame, other, both;
        GetWindowRect(part, &frame);
        if (!IntersectRect(&both, &frame, &client) || !EqualRect(&both, &frame))
            return name_of(part) + " reaches past the window's client area";
        for (HWND earlier : placed) {
            GetWindowRect(earlier, &other);
            if (IntersectRect(&both, &frame, &other))
                return name_of(part) + " overlaps " + name_of(earlier);
        }
        placed.push_back(part);
        const std::string clipped = clipped_text(part);
        if (!clipped.empty())
            return name_of(part) + " is too small for \"" + clipped + "\"";
    }
    return std::string();
}
