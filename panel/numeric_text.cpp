// What counts as a typed number, in the panel's edit boxes and in the limits
// dialog alike. The check is deliberately loose about points and a lone minus
// sign (atof reads what it can of them); it only keeps out signs, spaces,
// exponents and words such as "nan" or "inf".
#include "panel/limits_dialog.h"

#include <cstring>

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int is_numeric_text(const char* text)
{
    if (text == nullptr || text[0] == '\0')
        return 0;
    if (!is_digit(text[0]) && text[0] != '-')
        return 0;
    for (const char* c = text + 1; *c != '\0'; ++c) {
        if (!is_digit(*c) && *c != '.')
            return 0;
    }
    return 1;
}
