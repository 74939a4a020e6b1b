#include "random_text.h"

#include <cstdio>

namespace {

// Double-byte characters in code page 932: "数" "値" "入" "力", a full-width
// digit one and minus, and a half-width katakana (one byte).
const char* const double_byte[] = {"\x90\x94", "\x92\x6c", "\x93\xfc", "\x97\xcd", "\x82\x50", "\x81\x7c", "\xb1"};

std::string number_text(SoakRandom& random)
{
    char text[64];
    switch (random.below(6)) {
    case 0: snprintf(text, sizeof text, "%d", random.between(-180, 180)); break;
    case 1: snprintf(text, sizeof text, "%d", random.between(-100000, 100000)); break;
    case 2: snprintf(text, sizeof text, "%.*f", random.between(0, 9), random.between(-180000, 180000) / 1000.0); break;
    case 3: snprintf(text, sizeof text, "%6f", random.between(-200, 200) / 1.0); break;
    case 4: snprintf(text, sizeof text, "0.%07d", random.between(0, 9999999)); break;
    default: snprintf(text, sizeof text, "-0.%08d", random.between(0, 99999999)); break;
    }
    return text;
}

std::string odd_text(SoakRandom& random)
{
    static const char* const texts[] = {
        "", "-", ".", "-.", "1.2.3", "007", "--1", "+5", "1e2", " 12", "12 ", "nan", "inf", "-inf", "1,5",
        "0x10", "-0", "180.", "-180.000000", "180.0000001", "-180.0000001", "999999999999999999",
        "-99999999999", "1-2", "..", "\t", "abc",
    };
    return texts[random.below(static_cast<int>(sizeof texts / sizeof texts[0]))];
}

std::string long_text(SoakRandom& random)
{
    std::string text;
    const int length = random.between(12, 300);
    for (int i = 0; i < length; ++i)
        text += random_keystroke(random);
    return text;
}

std::string foreign_text(SoakRandom& random)
{
    std::string text;
    const int length = random.between(1, 8);
    for (int i = 0; i < length; ++i) {
        if (random.chance(50))
            text += double_byte[random.below(static_cast<int>(sizeof double_byte / sizeof double_byte[0]))];
        else
            text += static_cast<char>('0' + random.below(10));
    }
    return text;
}

}  // namespace

std::string random_text(SoakRandom& random)
{
    switch (random.below(10)) {
    case 0: case 1: case 2: case 3: return number_text(random);
    case 4: case 5: return odd_text(random);
    case 6: return long_text(random);
    case 7: return foreign_text(random);
    case 8: return std::string(random.between(1, 40), static_cast<char>('0' + random.below(10)));
    default: {
        // A number with a stray character somewhere in it.
        std::string text = number_text(random);
        text.insert(static_cast<size_t>(random.below(static_cast<int>(text.size()) + 1)), 1, "x .-+e"[random.below(6)]);
        return text;
    }
    }
}

std::string random_keystroke(SoakRandom& random)
{
    const int pick = random.below(20);
    if (pick < 11)
        return std::string(1, static_cast<char>('0' + random.below(10)));
    if (pick < 13)
        return "-";
    if (pick < 15)
        return ".";
    if (pick < 16)
        return double_byte[random.below(static_cast<int>(sizeof double_byte / sizeof double_byte[0]))];
    if (pick < 17)
        return std::string(1, "ae+ ,x"[random.below(6)]);
    return "\b";  // backspace
}
