// The limits dialog: minimum, current and maximum of the axis last touched,
// checked together and stored only when they make sense.
#include "panel/limits_dialog.h"

#include "panel/limits_validation.h"
#include "panel/panel_state.h"
#include "panel/resource.h"

namespace {

// The two messages, in code page 932. They are shown through the wide call,
// converted from 932 whatever the system's code page: through the ANSI call
// an English or French Windows would read these bytes in its own code page.
// "数値を入力してください": please enter a number.
const char not_a_number_message[] =
    "\x90\x94\x92\x6c\x82\xf0\x93\xfc\x97\xcd\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2";
// "入力値が矛盾しています": the entered values contradict each other.
const char inconsistent_message[] =
    "\x93\xfc\x97\xcd\x92\x6c\x82\xaa\x96\xb5\x8f\x82\x82\xb5\x82\xc4\x82\xa2\x82\xdc\x82\xb7";
const wchar_t message_caption[] = L"Error";
constexpr UINT message_code_page = 932;

const int limit_field_ids[3] = {IDC_LIMIT_MINIMUM, IDC_LIMIT_CURRENT, IDC_LIMIT_MAXIMUM};

// The joint the dialog shows, as linked when it opened (its part: the host's
// own handle of the shape). The host may relink while the dialog's modal loop
// runs; what the dialog answers is never stored into another joint's axis.
HostPart* dialog_joint = nullptr;

void show_field(HWND dialog, int field_id, float angle)
{
    char text[64];
    format_angle(angle, text, sizeof text);
    SetDlgItemTextA(dialog, field_id, text);
}

BOOL on_init_dialog(HWND dialog)
{
    dialog_joint = joint_link.part;
    if (AxisChannel* channel = axis_channel(joint_link.active_slider)) {
        show_field(dialog, IDC_LIMIT_MINIMUM, channel->minimum);
        show_field(dialog, IDC_LIMIT_CURRENT, channel->current);
        show_field(dialog, IDC_LIMIT_MAXIMUM, channel->maximum);
    }
    return TRUE;  // the dialog manager focuses the first field
}

void show_error(HWND dialog, const char* message)
{
    wchar_t text[64];
    if (MultiByteToWideChar(message_code_page, 0, message, -1, text, ARRAYSIZE(text)) == 0)
        text[0] = L'\0';
    MessageBoxW(dialog, text, message_caption, MB_OK | MB_ICONINFORMATION);
}

BOOL on_ok(HWND dialog)
{
    char texts[3][limits_field_text_size];
    const char* fields[3];
    for (int i = 0; i < 3; ++i) {
        GetDlgItemTextA(dialog, limit_field_ids[i], texts[i], limits_field_text_size);
        fields[i] = texts[i];
    }
    LimitsValues values;
    switch (validate_limits_texts(fields, &values)) {
    case LimitsVerdict::not_a_number:
        show_error(dialog, not_a_number_message);
        return TRUE;
    case LimitsVerdict::inconsistent:
        show_error(dialog, inconsistent_message);
        return TRUE;
    case LimitsVerdict::accepted:
        break;
    }
    AxisChannel* channel = axis_channel(joint_link.active_slider);
    if (channel == nullptr || joint_link.part != dialog_joint) {
        // No axis to store into, or the joint it showed is linked no more:
        // nothing is changed.
        EndDialog(dialog, 0);
        return TRUE;
    }
    // last_applied stays, so the panel's next application turns the joint by
    // the difference to the new current angle.
    channel->minimum = values.minimum;
    channel->current = values.current;
    channel->maximum = values.maximum;
    EndDialog(dialog, 1);
    return TRUE;
}

BOOL on_command(HWND dialog, WPARAM wparam)
{
    switch (wparam) {
    case IDOK:
        return on_ok(dialog);
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

// Another window is being activated: keep the dialog in view.
BOOL on_activate(HWND dialog, WPARAM wparam, LPARAM lparam)
{
    if (LOWORD(wparam) != WA_INACTIVE || lparam == 0)
        return FALSE;
    ShowWindow(dialog, SW_SHOW);
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK limits_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_INITDIALOG:
        return on_init_dialog(dialog);
    case WM_COMMAND:
        return on_command(dialog, wparam);
    case WM_ACTIVATE:
        return on_activate(dialog, wparam, lparam);
    default:
        return FALSE;
    }
}
