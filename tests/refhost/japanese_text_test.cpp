// Japanese as a person sees it under code page 932: the faces that the dialog
// templates and the menus ask for resolve to the Japanese font the session
// maps them to, and the Plug-ins menu draws the Japanese names' glyphs, not
// empty boxes.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>
#include "desktop/message_pump.h"
#include "desktop/real_input.h"
#include "desktop/screenshot.h"
#include "panel/resource.h"
#include "refhost/host_commands.h"
#include "refhost_fixture.h"
#include "support/saved_screenshot.h"

namespace {

// The face the session maps the asked-for faces to: IPA's proportional Gothic.
const wchar_t japanese_full_name[] = L"IPAPGothic";
const wchar_t template_face[] = L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF";  // ＭＳ Ｐゴシック
const wchar_t menu_japanese[] = L"\u64CD\u4F5C\u5C5E\u6027\u30AF\u30EA\u30A2";    // 操作属性クリア
// A face with no Japanese glyphs at all.
const wchar_t box_only_face[] = L"DejaVu Sans";

struct FaceSeen {
    std::wstring asked;      // the face name in the font's LOGFONT
    std::wstring full_name;  // the full name in the font file that was found for it
    bool proportional = false;
    int missing = -1;        // glyphs of the menu names' Japanese that it lacks
};

FaceSeen face_of(HFONT font)
{
    FaceSeen seen;
    LOGFONTW asked = {};
    GetObjectW(font, sizeof asked, &asked);
    seen.asked = asked.lfFaceName;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    std::vector<char> buffer(GetOutlineTextMetricsW(dc, 0, nullptr));
    auto* metrics = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
    if (!buffer.empty() && GetOutlineTextMetricsW(dc, static_cast<UINT>(buffer.size()), metrics)) {
        seen.full_name = reinterpret_cast<const wchar_t*>(buffer.data() + reinterpret_cast<size_t>(metrics->otmpFullName));
        seen.proportional = (metrics->otmTextMetrics.tmPitchAndFamily & TMPF_FIXED_PITCH) != 0;  // set: variable
    }
    WORD glyphs[16] = {};
    GetGlyphIndicesW(dc, menu_japanese, 7, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
    seen.missing = static_cast<int>(std::count(glyphs, glyphs + 7, WORD(0xFFFF)));
    SelectObject(dc, old);
    DeleteDC(dc);
    return seen;
}

void expect_japanese_face(const FaceSeen& seen)
{
    EXPECT_EQ(seen.full_name.compare(0, wcslen(japanese_full_name), japanese_full_name), 0) << seen.full_name.c_str();
    EXPECT_TRUE(seen.proportional);
    EXPECT_EQ(seen.missing, 0);
}

INT_PTR CALLBACK inert_dialog(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

LOGFONTW menu_logfont()
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return metrics.lfMenuFont;
}

// The pixels of a part of an image that stand apart from its background (its
// commonest colour).
struct Ink {
    int width = 0, height = 0;
    std::vector<char> dots;
    bool at(int x, int y) const { return dots[static_cast<size_t>(y) * width + x] != 0; }
};

Ink ink_of(const std::vector<uint8_t>& rgb, int image_width, const RECT& part)
{
    Ink ink;
    ink.width = part.right - part.left;
    ink.height = part.bottom - part.top;
    auto pixel = [&](int x, int y) {
        return &rgb[(static_cast<size_t>(part.top + y) * image_width + part.left + x) * 3];
    };
    std::map<int, int> counts;
    for (int y = 0; y < ink.height; ++y)
        for (int x = 0; x < ink.width; ++x)
            ++counts[pixel(x, y)[0] << 16 | pixel(x, y)[1] << 8 | pixel(x, y)[2]];
    const int background =
        std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    for (int y = 0; y < ink.height; ++y)
        for (int x = 0; x < ink.width; ++x) {
            int distance = 0;
            for (int c = 0; c < 3; ++c)
                distance += std::abs(pixel(x, y)[c] - (background >> (16 - 8 * c) & 255));
            ink.dots.push_back(distance > 200);
        }
    return ink;
}

// Over the Japanese run of a drawn text, which begins `before` pixels and ends
// `through` pixels after the text's first inked column: the share of the
// inked columns that cross three or more separate strokes. A kanji or a kana
// crosses several; an empty box only its top and bottom edges, or runs down
// one of its sides.
double japanese_share(const Ink& ink, int before, int through)
{
    int left = ink.width;
    for (int x = 0; x < ink.width && left == ink.width; ++x)
        for (int y = 0; y < ink.height; ++y)
            if (ink.at(x, y))
                left = x;
    int inked = 0, many = 0;
    for (int x = left + before; x < std::min(left + through, ink.width); ++x) {
        int strokes = 0;
        for (int y = 0; y < ink.height; ++y)
            strokes += ink.at(x, y) && (y == 0 || !ink.at(x, y - 1));
        inked += strokes > 0;
        many += strokes >= 3;
    }
    return inked == 0 ? 0.0 : double(many) / inked;
}

// The Japanese run of an entry's text: [begin, end) in characters.
void japanese_run(const std::wstring& text, int* begin, int* end)
{
    *begin = static_cast<int>(std::find_if(text.begin(), text.end(), [](wchar_t c) { return c >= 0x80; }) - text.begin());
    *end = static_cast<int>(std::find_if(text.begin() + *begin, text.end(), [](wchar_t c) { return c < 0x80; }) -
                            text.begin());
}

// A menu entry's share, its run measured in the menu font.
double menu_entry_share(const std::wstring& text, const Ink& ink)
{
    int begin = 0, end = 0;
    japanese_run(text, &begin, &end);
    const LOGFONTW menu = menu_logfont();
    HFONT font = CreateFontIndirectW(&menu);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE before = {}, through = {};
    GetTextExtentPoint32W(dc, text.c_str(), begin, &before);
    GetTextExtentPoint32W(dc, text.c_str(), end, &through);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    return japanese_share(ink, before.cx, through.cx);
}

// The same text drawn by us in the box-only face at the menu font's size, each
// Japanese character as the face's missing-glyph box (by glyph index, so that
// no linked font fills it in), and its share.
double box_only_share(const std::wstring& text)
{
    LOGFONTW face = menu_logfont();
    face.lfCharSet = ANSI_CHARSET;
    wcscpy(face.lfFaceName, box_only_face);
    HFONT font = CreateFontIndirectW(&face);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old_font = SelectObject(dc, font);
    std::vector<WORD> glyphs(text.size());
    GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    int begin = 0, end = 0;
    japanese_run(text, &begin, &end);
    for (int i = begin; i < end; ++i) {
        EXPECT_EQ(glyphs[i], 0xFFFF) << "the box-only face has a glyph for a Japanese character";
        glyphs[i] = 0;
    }
    SIZE size = {}, before = {}, through = {};
    GetTextExtentPointI(dc, glyphs.data(), static_cast<int>(glyphs.size()), &size);
    GetTextExtentPointI(dc, glyphs.data(), begin, &before);
    GetTextExtentPointI(dc, glyphs.data(), end, &through);
    const RECT all = {0, 0, size.cx + 8, size.cy + 8};
    HBITMAP bitmap = CreateCompatibleBitmap(screen, all.right, all.bottom);
    HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ExtTextOutW(dc, 4, 4, ETO_GLYPH_INDEX, nullptr, reinterpret_cast<LPCWSTR>(glyphs.data()),
                static_cast<UINT>(glyphs.size()), nullptr);
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    EXPECT_TRUE(capture_dc_rgb(dc, all, &width, &height, &rgb));
    SelectObject(dc, old_bitmap);
    SelectObject(dc, old_font);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
    return rgb.empty() ? 1.0 : japanese_share(ink_of(rgb, width, all), before.cx, through.cx);
}

BOOL CALLBACK find_visible_menu(HWND window, LPARAM context)
{
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) != "#32768" || !IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(context) = window;
    return FALSE;
}

HWND visible_menu()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), find_visible_menu, reinterpret_cast<LPARAM>(&found));
    return found;
}

// What the open Plug-ins menu showed, read from the screen from inside the
// menu's own loop.
struct MenuPicture {
    HMENU menu = nullptr;
    RECT bar_entry = {};    // the menu bar's entry, on the screen
    DWORD opened = 0;
    bool taken = false;
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // the bar's entry and the open menu
    RECT entries[2] = {};      // in the picture
};
MenuPicture* wanted_picture = nullptr;

// Whether the screen shows the menu's window as the menu drew it (the window
// is visible before its pixels reach the screen).
bool menu_shows(HWND popup, const RECT& frame)
{
    int w = 0, h = 0;
    std::vector<uint8_t> shown, drawn;
    HDC window_dc = GetWindowDC(popup);
    const bool read = capture_screen_rgb(frame, &w, &h, &shown) &&
                      capture_dc_rgb(window_dc, {0, 0, frame.right - frame.left, frame.bottom - frame.top}, &w, &h,
                                     &drawn);
    ReleaseDC(popup, window_dc);
    return read && shown == drawn;
}

// Each tick while the menu is open: once the screen shows it, the picture is
// taken and the menu closed.
void CALLBACK take_menu_picture(HWND, UINT, UINT_PTR, DWORD)
{
    MenuPicture* picture = wanted_picture;
    HWND popup = visible_menu();
    if (picture == nullptr || picture->taken || popup == nullptr)
        return;
    if (GetTickCount() - picture->opened > 3000) {  // never seen on the screen: the test fails
        EndMenu();
        return;
    }
    UpdateWindow(popup);
    RECT frame, area;
    GetWindowRect(popup, &frame);
    if (!menu_shows(popup, frame))
        return;
    UnionRect(&area, &picture->bar_entry, &frame);
    InflateRect(&area, 6, 6);
    if (!capture_screen_rgb(area, &picture->width, &picture->height, &picture->rgb))
        return;
    for (int i = 0; i < 2; ++i) {
        GetMenuItemRect(nullptr, picture->menu, i, &picture->entries[i]);
        OffsetRect(&picture->entries[i], -area.left, -area.top);
    }
    picture->taken = true;
    EndMenu();
}

}  // namespace

TEST(JapaneseText, TheTemplatesAndMenusFacesResolveToTheJapaneseFont)
{
    TestHost host = make_host(sample_scene_path(), true);
    HMODULE module = GetModuleHandleA("Kelvaro.dll");
    ASSERT_NE(module, nullptr);
    for (int id : {IDD_JOINT_PANEL, IDD_LIMITS_DIALOG}) {
        SCOPED_TRACE(id);
        HWND dialog = CreateDialogParamA(module, MAKEINTRESOURCEA(id), host->window(), inert_dialog, 0);
        ASSERT_NE(dialog, nullptr);
        const FaceSeen seen = face_of(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
        EXPECT_EQ(seen.asked, template_face);
        expect_japanese_face(seen);
        DestroyWindow(dialog);
    }

    // The menus' font, and the system's message font that the host's own controls use.
    const LOGFONTW menu = menu_logfont();
    HFONT menu_font = CreateFontIndirectW(&menu);
    expect_japanese_face(face_of(menu_font));
    DeleteObject(menu_font);
    expect_japanese_face(face_of(reinterpret_cast<HFONT>(SendMessageA(host->shape_list(), WM_GETFONT, 0, 0))));
}

TEST(JapaneseText, ThePluginsMenuDrawsTheJapaneseNamesNotBoxes)
{
    TestHost host = make_host(sample_scene_path(), true);
    host->show(SW_SHOW);
    HMENU bar = GetMenu(host->window());
    int entry = -1;
    for (int i = 0; i < GetMenuItemCount(bar); ++i)
        if (GetMenuItemID(GetSubMenu(bar, i), 0) == static_cast<UINT>(cmd_plugin_first))
            entry = i;
    ASSERT_GE(entry, 0);
    MenuPicture picture;
    picture.menu = GetSubMenu(bar, entry);
    ASSERT_GE(GetMenuItemCount(picture.menu), 2);
    ASSERT_TRUE(GetMenuItemRect(host->window(), bar, entry, &picture.bar_entry));

    // The host in front first (activated later, it would come up over the
    // menu); a click on the menu bar opens the menu, and the picture is taken
    // from inside the menu's loop.
    activate_for_input(host->window());
    ASSERT_TRUE(pump_until([&] { return GetForegroundWindow() == host->window(); }));
    wanted_picture = &picture;
    picture.opened = GetTickCount();
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, take_menu_picture);
    click_at({(picture.bar_entry.left + picture.bar_entry.right) / 2,
              (picture.bar_entry.top + picture.bar_entry.bottom) / 2});
    const bool closed = pump_until([&] { return picture.taken && visible_menu() == nullptr; }, 5000);
    KillTimer(nullptr, timer);
    wanted_picture = nullptr;
    ASSERT_TRUE(closed);
    ASSERT_TRUE(picture.taken);
    std::printf("screenshot: %s\n", save_screenshot(picture.width, picture.height, picture.rgb, "plugins_menu_ja.png").c_str());

    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        wchar_t text[128] = L"";
        GetMenuStringW(picture.menu, i, text, 128, MF_BYPOSITION);
        const double drawn = menu_entry_share(text, ink_of(picture.rgb, picture.width, picture.entries[i]));
        const double boxes = box_only_share(text);
        std::printf("entry %d: %.2f of the Japanese columns cross three strokes or more; %.2f when boxes\n", i, drawn,
                    boxes);
        EXPECT_LE(boxes, 0.05);
        EXPECT_GE(drawn, 0.15);
    }
}
