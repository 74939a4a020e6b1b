// Fuzzes what a typed text becomes: is_numeric_text (panel/numeric_text.cpp,
// compiled natively) and the value atof makes of an accepted text, narrowed
// to float, as the panel's edit boxes and the limits dialog read them (the
// first 11 characters). Under AddressSanitizer and UndefinedBehaviorSanitizer.
//
// Properties:
// - the check reads nothing past the terminator, for any bytes (code page 932
//   double-byte characters, control characters, no terminator in the input);
// - an accepted text holds only "0123456789-." with "-" only first;
// - the value of an accepted 11-character text is finite, never NaN, and
//   within -9999999999..99999999999;
// - a text that starts with a digit has a value >= 0, one that starts with
//   "-" a value <= 0.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "panel/limits_dialog.h"

namespace {

void fail(const char* what)
{
    __builtin_trap();
    (void)what;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The whole input as one zero-terminated text, in a buffer of exactly
    // its size, so a read past the end is caught.
    std::vector<char> whole(data, data + size);
    whole.push_back('\0');
    const int accepted_whole = is_numeric_text(whole.data());

    // What a field of the panel gives: at most 11 characters.
    char field[12] = {};
    std::strncpy(field, whole.data(), 11);
    const int accepted = is_numeric_text(field);

    const size_t length = std::strlen(field);
    if (accepted) {
        if (length == 0)
            fail("an empty text counts as a number");
        for (size_t i = 0; i < length; ++i) {
            const char c = field[i];
            const bool allowed = (c >= '0' && c <= '9') || c == '.' || (c == '-' && i == 0);
            if (!allowed)
                fail("an accepted text holds a character outside the number's set");
        }
        const float value = static_cast<float>(atof(field));
        if (!std::isfinite(value))
            fail("an accepted field reads as infinite or NaN");
        if (value > 99999999999.0f || value < -9999999999.0f)
            fail("an accepted field reads beyond what eleven characters can hold");
        if (field[0] == '-' ? value > 0 : value < 0)
            fail("the sign of the value differs from the text's");
    }
    // A prefix of an accepted text is accepted, unless empty.
    if (accepted_whole && length > 0 && !accepted)
        fail("the first 11 characters of an accepted text are not accepted");
    return 0;
}
