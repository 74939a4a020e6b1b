#pragma once
// The check the limits dialog makes when OK is pressed, as a pure function of
// the three field texts (minimum, current, maximum), so that it can also be
// fuzzed natively: only the first 11 characters of a field count; any field
// that is not a number, tested in that order, gives the first message; then
// -180 <= minimum <= current <= maximum <= 180, compared as floats, or the
// second message.

enum class LimitsVerdict { accepted, not_a_number, inconsistent };

struct LimitsValues {
    float minimum, current, maximum;
};

// Room for the eleven characters that count, and the terminator.
constexpr int limits_field_text_size = 12;

LimitsVerdict validate_limits_texts(const char* const texts[3], LimitsValues* values);
