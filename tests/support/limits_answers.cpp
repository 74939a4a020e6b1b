#include "limits_answers.h"

#include "desktop/real_input.h"
#include "panel/resource.h"

ModalAnswerer::Answer fill_limits_and_press(const char* minimum, const char* current,
                                            const char* maximum, int button_id)
{
    return [=](HWND dialog) {
        if (minimum != nullptr)
            SetDlgItemTextA(dialog, IDC_LIMIT_MINIMUM, minimum);
        if (current != nullptr)
            SetDlgItemTextA(dialog, IDC_LIMIT_CURRENT, current);
        if (maximum != nullptr)
            SetDlgItemTextA(dialog, IDC_LIMIT_MAXIMUM, maximum);
        post_button_click(dialog, button_id);
    };
}

ModalAnswerer::Answer type_limits_and_enter(const char* minimum, const char* current,
                                            const char* maximum)
{
    std::string texts[3] = {minimum, current, maximum};
    return [=](HWND dialog) {
        // The dialog manager puts the focus on the first field with its text
        // selected, and Tab does the same for the next one, so each text is
        // typed over what the field held.
        activate_for_input(dialog);
        for (int i = 0; i < 3; ++i) {
            if (i > 0)
                press_key(VK_TAB);
            if (texts[i].empty())
                press_key(VK_DELETE);
            else
                type_text(texts[i].c_str());
        }
        press_key(VK_RETURN);
    };
}
