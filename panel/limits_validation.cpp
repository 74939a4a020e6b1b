#include "panel/limits_validation.h"

#include <cstdlib>
#include <cstring>

#include "panel/limits_dialog.h"

namespace {

// What GetDlgItemText with room for 12 characters leaves in the buffer.
void read_field(const char* text, char (&field)[limits_field_text_size])
{
    std::strncpy(field, text, limits_field_text_size - 1);
    field[limits_field_text_size - 1] = '\0';
}

}  // namespace

LimitsVerdict validate_limits_texts(const char* const texts[3], LimitsValues* values)
{
    char fields[3][limits_field_text_size];
    for (int i = 0; i < 3; ++i) {
        read_field(texts[i], fields[i]);
        if (!is_numeric_text(fields[i]))
            return LimitsVerdict::not_a_number;
    }
    const float minimum = static_cast<float>(atof(fields[0]));
    const float current = static_cast<float>(atof(fields[1]));
    const float maximum = static_cast<float>(atof(fields[2]));
    constexpr float lowest = -180.0f, highest = 180.0f;
    if (!(lowest <= minimum && minimum <= current && current <= maximum && maximum <= highest))
        return LimitsVerdict::inconsistent;
    *values = LimitsValues{minimum, current, maximum};
    return LimitsVerdict::accepted;
}
