// The dialog templates 101 and 102 and the version record, read back from this
// program's own resources (it links the module's resource script) byte by byte:
// language, font, every control's identifier, class, text, styles and
// rectangle in template order. Self-contained on purpose: nothing here but the
// resource identifiers comes from the module.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>
#include "panel/resource.h"

namespace {

const LPCWSTR dialog_type = MAKEINTRESOURCEW(5);    // RT_DIALOG
const LPCWSTR version_type = MAKEINTRESOURCEW(16);  // RT_VERSION
const LANGID japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);  // 1041
const wchar_t panel_font[] = L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF";  // ＭＳ Ｐゴシック

BOOL CALLBACK collect_language(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR context)
{
    reinterpret_cast<std::vector<WORD>*>(context)->push_back(language);
    return TRUE;
}

std::vector<WORD> resource_languages(LPCWSTR type, LPCWSTR name)
{
    std::vector<WORD> languages;
    EnumResourceLanguagesW(GetModuleHandleW(nullptr), type, name, collect_language,
                           reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

// The bytes of a resource in exactly the given language (no neutral fallback:
// the languages are checked first).
std::vector<uint8_t> resource_bytes(LPCWSTR type, LPCWSTR name, LANGID language)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceExW(module, type, name, language);
    if (found == nullptr)
        return {};
    HGLOBAL loaded = LoadResource(module, found);
    const auto* data = static_cast<const uint8_t*>(LockResource(loaded));
    return std::vector<uint8_t>(data, data + SizeofResource(module, found));
}

// A cursor over template bytes; every read is bounds-checked so a malformed
// template fails the test instead of reading past the resource.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    size_t offset() const { return offset_; }

    uint8_t byte() { return static_cast<uint8_t>(take(1)); }
    uint16_t word() { return static_cast<uint16_t>(take(2)); }
    uint32_t dword() { return static_cast<uint32_t>(take(4)); }
    int16_t short_value() { return static_cast<int16_t>(word()); }

    std::wstring string()
    {
        std::wstring text;
        for (;;) {
            const uint16_t c = word();
            if (!ok_ || c == 0)
                return text;
            text.push_back(static_cast<wchar_t>(c));
        }
    }

    // A name or ordinal field: 0 none, 0xFFFF then an ordinal, else a string.
    // Ordinals come back as "#n".
    std::wstring name_or_ordinal()
    {
        const size_t start = offset_;
        const uint16_t first = word();
        if (first == 0)
            return L"";
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(word());
        offset_ = start;
        return string();
    }

    void seek(size_t offset) { offset_ = offset; }
    void align_dword() { offset_ = (offset_ + 3) & ~size_t(3); }
    void skip(size_t count)
    {
        if (offset_ + count > bytes_.size())
            ok_ = false;
        else
            offset_ += count;
    }

private:
    uint32_t take(size_t size)
    {
        if (!ok_ || offset_ + size > bytes_.size()) {
            ok_ = false;
            return 0;
        }
        uint32_t value = 0;
        for (size_t i = 0; i < size; ++i)
            value |= static_cast<uint32_t>(bytes_[offset_ + i]) << (8 * i);
        offset_ += size;
        return value;
    }

    const std::vector<uint8_t>& bytes_;
    size_t offset_ = 0;
    bool ok_ = true;
};

// The predefined classes a template may name by ordinal.
std::wstring class_name(const std::wstring& name)
{
    if (name == L"#128")
        return L"BUTTON";
    if (name == L"#129")
        return L"EDIT";
    if (name == L"#130")
        return L"STATIC";
    std::wstring upper = name;
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(towupper(c));
    return upper;
}

struct ControlItem {
    uint32_t id;
    std::wstring class_name;
    std::wstring text;
    uint32_t style;
    uint32_t ex_style;
    int16_t x, y, cx, cy;
};

struct DialogTemplate {
    bool extended = false;
    uint32_t style = 0, ex_style = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::wstring menu, window_class, caption;
    uint16_t point_size = 0, weight = 0;
    uint8_t italic = 0, charset = 0;
    std::wstring font;
    std::vector<ControlItem> controls;
    bool parsed = false;
};

DialogTemplate parse_dialog(const std::vector<uint8_t>& bytes)
{
    DialogTemplate dialog;
    TemplateReader in(bytes);
    const uint16_t version = in.word();
    const uint16_t signature = in.word();
    dialog.extended = version == 1 && signature == 0xFFFF;
    uint16_t count;
    if (dialog.extended) {
        in.dword();  // help ID
        dialog.ex_style = in.dword();
        dialog.style = in.dword();
    } else {
        in.seek(0);
        dialog.style = in.dword();
        dialog.ex_style = in.dword();
    }
    count = in.word();
    dialog.x = in.short_value();
    dialog.y = in.short_value();
    dialog.cx = in.short_value();
    dialog.cy = in.short_value();
    dialog.menu = in.name_or_ordinal();
    dialog.window_class = in.name_or_ordinal();
    dialog.caption = in.string();
    if (dialog.style & (DS_SETFONT | DS_SHELLFONT)) {
        dialog.point_size = in.word();
        if (dialog.extended) {
            dialog.weight = in.word();
            dialog.italic = in.byte();
            dialog.charset = in.byte();
        }
        dialog.font = in.string();
    }
    for (uint16_t i = 0; i < count && in.ok(); ++i) {
        ControlItem item{};
        in.align_dword();
        if (dialog.extended) {
            in.dword();  // help ID
            item.ex_style = in.dword();
            item.style = in.dword();
        } else {
            item.style = in.dword();
            item.ex_style = in.dword();
        }
        item.x = in.short_value();
        item.y = in.short_value();
        item.cx = in.short_value();
        item.cy = in.short_value();
        item.id = dialog.extended ? in.dword() : in.word();
        item.class_name = class_name(in.name_or_ordinal());
        item.text = in.name_or_ordinal();
        in.skip(in.word());  // creation data
        dialog.controls.push_back(item);
    }
    dialog.parsed = in.ok() && dialog.controls.size() == count;
    return dialog;
}

struct ExpectedControl {
    uint32_t id;
    const wchar_t* class_name;
    const wchar_t* text;
    uint32_t style;
    int16_t x, y, cx, cy;
};

void expect_controls(const DialogTemplate& dialog, const std::vector<ExpectedControl>& expected)
{
    ASSERT_EQ(dialog.controls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("control #" + std::to_string(i + 1));
        const ControlItem& got = dialog.controls[i];
        EXPECT_EQ(got.id, expected[i].id);
        EXPECT_EQ(got.class_name, expected[i].class_name);
        EXPECT_EQ(got.text, expected[i].text);
        EXPECT_EQ(got.style, expected[i].style) << std::hex << got.style << " vs " << expected[i].style;
        EXPECT_EQ(got.ex_style, 0u);
        EXPECT_EQ(got.x, expected[i].x);
        EXPECT_EQ(got.y, expected[i].y);
        EXPECT_EQ(got.cx, expected[i].cx);
        EXPECT_EQ(got.cy, expected[i].cy);
    }
}

const uint32_t child = WS_CHILD | WS_VISIBLE;
const uint32_t slider_style = child | WS_TABSTOP | TBS_ENABLESELRANGE;
const uint32_t edit_style = child | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
const uint32_t push_style = child | WS_TABSTOP | BS_PUSHBUTTON;
const uint32_t label_style = child | WS_GROUP | SS_LEFT;
const uint32_t no_id = 0xFFFFFFFF;
const uint32_t dialog_style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

}  // namespace

TEST(PanelResources, EachTemplateAndTheVersionRecordExistOnlyInJapanese)
{
    const std::vector<WORD> only_japanese{japanese};
    EXPECT_EQ(resource_languages(dialog_type, MAKEINTRESOURCEW(IDD_JOINT_PANEL)), only_japanese);
    EXPECT_EQ(resource_languages(dialog_type, MAKEINTRESOURCEW(IDD_LIMITS_DIALOG)), only_japanese);
    EXPECT_EQ(resource_languages(version_type, MAKEINTRESOURCEW(VS_VERSION_INFO)), only_japanese);
}

TEST(PanelResources, PanelTemplateIsTheSmallToolWindowWithItsFifteenControls)
{
    const DialogTemplate dialog =
        parse_dialog(resource_bytes(dialog_type, MAKEINTRESOURCEW(IDD_JOINT_PANEL), japanese));
    ASSERT_TRUE(dialog.parsed);
    EXPECT_TRUE(dialog.extended);
    EXPECT_EQ(dialog.style, dialog_style) << std::hex << dialog.style;
    EXPECT_EQ(dialog.style & WS_VISIBLE, 0u);
    EXPECT_EQ(dialog.ex_style, static_cast<uint32_t>(WS_EX_TOOLWINDOW));
    EXPECT_EQ(dialog.caption, L"Kelvaro");
    EXPECT_EQ(dialog.menu, L"");
    EXPECT_EQ(dialog.window_class, L"");
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, 205);
    EXPECT_EQ(dialog.cy, 118);
    EXPECT_EQ(dialog.point_size, 9);
    EXPECT_EQ(dialog.weight, 0);
    EXPECT_EQ(dialog.italic, 0);
    EXPECT_EQ(dialog.charset, 1);
    EXPECT_EQ(dialog.font, panel_font);

    expect_controls(dialog, {
        {IDC_YAW_SLIDER, L"MSCTLS_TRACKBAR32", L"Slider1", slider_style, 25, 7, 116, 24},
        {IDC_YAW_EDIT, L"EDIT", L"", edit_style, 146, 7, 52, 14},
        {IDC_PITCH_SLIDER, L"MSCTLS_TRACKBAR32", L"Slider1", slider_style, 25, 32, 116, 24},
        {IDC_PITCH_EDIT, L"EDIT", L"", edit_style, 146, 32, 52, 14},
        {IDC_ROLL_SLIDER, L"MSCTLS_TRACKBAR32", L"Slider1", slider_style, 25, 59, 116, 24},
        {IDC_ROLL_EDIT, L"EDIT", L"", edit_style, 146, 59, 52, 14},
        {IDC_UNDO, L"BUTTON", L"UNDO", push_style, 7, 97, 45, 14},
        {no_id, L"STATIC", L"Pitch", label_style, 7, 32, 18, 8},
        {no_id, L"STATIC", L"Yaw", label_style, 7, 7, 20, 8},
        {no_id, L"STATIC", L"Roll", label_style, 7, 59, 18, 8},
        {no_id, L"STATIC", L"-180", label_style, 25, 82, 17, 8},
        {no_id, L"STATIC", L"180", label_style, 129, 82, 13, 8},
        {no_id, L"STATIC", L"0", label_style, 81, 82, 8, 8},
        {IDC_RESET, L"BUTTON", L"RESET", push_style, 59, 97, 45, 14},
        {IDC_AUTOSHADE, L"BUTTON", L"AutoShade", child | WS_TABSTOP | BS_AUTOCHECKBOX, 141, 101, 51, 10},
    });
    for (const ControlItem& control : dialog.controls)
        EXPECT_EQ(control.style & WS_DISABLED, 0u) << control.id;
}

TEST(PanelResources, LimitsTemplateIsThePlainJointValueSettingDialog)
{
    const DialogTemplate dialog =
        parse_dialog(resource_bytes(dialog_type, MAKEINTRESOURCEW(IDD_LIMITS_DIALOG), japanese));
    ASSERT_TRUE(dialog.parsed);
    EXPECT_FALSE(dialog.extended);
    EXPECT_EQ(dialog.style, dialog_style) << std::hex << dialog.style;
    EXPECT_EQ(dialog.ex_style, 0u);
    EXPECT_EQ(dialog.caption, L"Joint Value Setting");
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, 219);
    EXPECT_EQ(dialog.cy, 60);
    EXPECT_EQ(dialog.point_size, 9);
    EXPECT_EQ(dialog.font, panel_font);

    const uint32_t no_word_id = 0xFFFF;  // a plain template's identifiers are words
    expect_controls(dialog, {
        {IDC_LIMIT_MINIMUM, L"EDIT", L"", edit_style, 7, 18, 62, 12},
        {IDC_LIMIT_CURRENT, L"EDIT", L"", edit_style, 78, 18, 62, 12},
        {IDC_LIMIT_MAXIMUM, L"EDIT", L"", edit_style, 150, 18, 62, 12},
        {IDOK, L"BUTTON", L"OK", child | WS_TABSTOP | BS_DEFPUSHBUTTON, 106, 39, 50, 14},
        {IDCANCEL, L"BUTTON", L"CANCEL", push_style, 162, 39, 50, 14},
        {no_word_id, L"STATIC", L"Min", label_style, 7, 7, 37, 8},
        {no_word_id, L"STATIC", L"Cur", label_style, 79, 7, 38, 8},
        {no_word_id, L"STATIC", L"Max", label_style, 150, 7, 37, 8},
    });
}

namespace {

// The version functions, taken from version.dll at run time so this program
// needs no import library beyond what every test links.
struct VersionFunctions {
    DWORD(WINAPI* size)(LPCSTR, LPDWORD) = nullptr;
    BOOL(WINAPI* read)(LPCSTR, DWORD, DWORD, LPVOID) = nullptr;
    BOOL(WINAPI* query)(LPCVOID, LPCSTR, LPVOID*, PUINT) = nullptr;

    VersionFunctions()
    {
        HMODULE library = LoadLibraryA("version.dll");
        if (library == nullptr)
            return;
        size = reinterpret_cast<decltype(size)>((void*)GetProcAddress(library, "GetFileVersionInfoSizeA"));
        read = reinterpret_cast<decltype(read)>((void*)GetProcAddress(library, "GetFileVersionInfoA"));
        query = reinterpret_cast<decltype(query)>((void*)GetProcAddress(library, "VerQueryValueA"));
    }
    bool ok() const { return size && read && query; }
};

}  // namespace

TEST(PanelResources, VersionRecordReadsBackAsRelease1300InJapanese)
{
    VersionFunctions version;
    ASSERT_TRUE(version.ok());
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
    DWORD ignored = 0;
    const DWORD size = version.size(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<uint8_t> block(size);
    ASSERT_TRUE(version.read(path, 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(version.query(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010003u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010003u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    WORD* translation = nullptr;
    ASSERT_TRUE(version.query(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                              &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x411);
    EXPECT_EQ(translation[1], 1200);

    const struct {
        const char* name;
        const char* value;
    } strings[] = {
        {"Comments", "Shade Plugin"},  {"CompanyName", "TAVIREK"},          {"FileDescription", "Kelvaro"},
        {"FileVersion", "1.3.0.0"},    {"InternalName", "Kelvaro"},         {"OriginalFilename", "Kelvaro.dll"},
        {"ProductName", "Kelvaro"},    {"ProductVersion", "1.3.0.0"},
    };
    for (const auto& entry : strings) {
        const std::string key = std::string("\\StringFileInfo\\041104b0\\") + entry.name;
        char* value = nullptr;
        ASSERT_TRUE(version.query(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) << key;
        EXPECT_STREQ(value, entry.value) << key;
    }
}
