// Fuzzes the limits dialog's check of its three fields (limits_validation.h,
// on top of is_numeric_text from panel/numeric_text.cpp). The input is split
// at its first two zero bytes into the three field texts.
//
// Properties:
// - accepted values are finite and -180 <= minimum <= current <= maximum <= 180;
// - "not a number" exactly when one of the three 11-character fields fails
//   is_numeric_text;
// - reopening the dialog after OK shows the three values as "%6f" texts;
//   pressing OK on those again is accepted (the rounding keeps the order),
//   and each text reads back within half a millionth of its value.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "panel/limits_validation.h"
#include "panel/limits_dialog.h"

namespace {

void fail(const char* what)
{
    __builtin_trap();
    (void)what;
}

bool field_is_number(const std::string& text)
{
    char field[limits_field_text_size] = {};
    std::strncpy(field, text.c_str(), limits_field_text_size - 1);
    return is_numeric_text(field) != 0;
}

std::string angle_text(float angle)
{
    char text[64];
    std::snprintf(text, sizeof text, "%6f", static_cast<double>(angle));
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string parts[3];
    int part = 0;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && part < 2)
            ++part;
        else if (data[i] != 0)
            parts[part] += static_cast<char>(data[i]);
    }
    const char* texts[3] = {parts[0].c_str(), parts[1].c_str(), parts[2].c_str()};
    LimitsValues values{};
    const LimitsVerdict verdict = validate_limits_texts(texts, &values);

    const bool all_numbers = field_is_number(parts[0]) && field_is_number(parts[1]) && field_is_number(parts[2]);
    if ((verdict == LimitsVerdict::not_a_number) == all_numbers)
        fail("the first message does not match the fields' numeric check");
    if (verdict != LimitsVerdict::accepted)
        return 0;

    if (!std::isfinite(values.minimum) || !std::isfinite(values.current) || !std::isfinite(values.maximum))
        fail("accepted values that are not finite");
    if (!(-180.0f <= values.minimum && values.minimum <= values.current && values.current <= values.maximum &&
          values.maximum <= 180.0f))
        fail("accepted values out of order or range");

    // The dialog opened again shows "%6f" of each; OK on that is accepted.
    const std::string shown[3] = {angle_text(values.minimum), angle_text(values.current), angle_text(values.maximum)};
    const char* again[3] = {shown[0].c_str(), shown[1].c_str(), shown[2].c_str()};
    LimitsValues reread{};
    if (validate_limits_texts(again, &reread) != LimitsVerdict::accepted)
        fail("the shown values are refused on a second OK");
    if (std::fabs(reread.minimum - values.minimum) > 5e-7f + 1e-5f * std::fabs(values.minimum) ||
        std::fabs(reread.maximum - values.maximum) > 5e-7f + 1e-5f * std::fabs(values.maximum))
        fail("a shown limit reads back far from its value");
    return 0;
}
