// The panel's screen position, kept under the current user's key from one run
// to the next: x in the low word, y in the high word, both unsigned.
#include "panel/panel_window.h"

#include "panel/panel_state.h"

namespace {

const char position_key[] = "Software\\TAVIREK\\Kelvaro";
const char position_value[] = "Pos";

// What a missing value reads as: x and y both 9999, which no screen holds, so
// the panel comes up centred.
constexpr uint32_t missing_position = 0x270F270F;

uint32_t read_stored_position()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, position_key, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return missing_position;
    // The type is not looked at; only a value that fits the four bytes counts.
    DWORD stored = 0;
    DWORD size = sizeof stored;
    LONG result = RegQueryValueExA(key, position_value, nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(&stored), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? stored : missing_position;
}

}  // namespace

uint32_t load_panel_position()
{
    uint32_t packed = read_stored_position();
    long x = packed & 0xFFFF;
    long y = packed >> 16;
    long screen_width = GetSystemMetrics(SM_CXSCREEN);
    long screen_height = GetSystemMetrics(SM_CYSCREEN);
    if (x <= screen_width - panel_state.full_width && y <= screen_height - panel_state.full_height)
        return packed;
    return pack_panel_position(screen_width / 2 - panel_state.full_width / 2,
                               screen_height / 2 - panel_state.full_height / 2);
}

uint32_t pack_panel_position(int x, int y)
{
    return (static_cast<uint32_t>(y) & 0xFFFF) << 16 | (static_cast<uint32_t>(x) & 0xFFFF);
}

void store_panel_position(uint32_t packed)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, position_key, 0, KEY_WRITE, &key) != ERROR_SUCCESS &&
        RegCreateKeyExA(HKEY_CURRENT_USER, position_key, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    DWORD value = packed;
    RegSetValueExA(key, position_value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
    RegCloseKey(key);
}
