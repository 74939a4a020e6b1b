#include "modal_autoanswer.h"

#include <cstring>

#include "desktop/real_input.h"
#include "panel/resource.h"

namespace {

ModalAutoanswer* active = nullptr;

bool is_dialog_window(HWND window)
{
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    return std::strcmp(name, "#32770") == 0;
}

}  // namespace

ModalAutoanswer::ModalAutoanswer()
{
    active = this;
    hook_ = SetWindowsHookExA(WH_CBT, on_cbt, nullptr, GetCurrentThreadId());
}

ModalAutoanswer::~ModalAutoanswer()
{
    if (hook_ != nullptr)
        UnhookWindowsHookEx(hook_);
    active = nullptr;
}

void ModalAutoanswer::plan(const std::string& minimum, const std::string& current, const std::string& maximum,
                           int button, By by)
{
    texts_[0] = minimum, texts_[1] = current, texts_[2] = maximum;
    button_ = button, by_ = by, answered_dialog_ = nullptr;
}

void CALLBACK ModalAutoanswer::on_time_to_click(HWND dialog, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(dialog, timer);
    release_left_button();  // a button held through the dialog is let go to click
    click_at(center_of(GetDlgItem(dialog, active->button_)));
}

void CALLBACK ModalAutoanswer::on_unanswered(HWND dialog, UINT, UINT_PTR, DWORD)
{
    active->unexpected_.push_back("a real answer left the limits dialog open");
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

LRESULT CALLBACK ModalAutoanswer::on_cbt(int code, WPARAM wparam, LPARAM lparam)
{
    if (code == HCBT_ACTIVATE && active != nullptr)
        active->on_activate(reinterpret_cast<HWND>(wparam));
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

void ModalAutoanswer::on_activate(HWND window)
{
    if (!is_dialog_window(window))
        return;
    char caption[64] = {};
    GetWindowTextA(window, caption, sizeof caption);

    if (std::strcmp(caption, "Joint Value Setting") == 0) {
        if (window == answered_dialog_) {
            // Back after a message box: give up on this opening.
            if (by_ == By::messages)
                PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            else
                press_key(VK_ESCAPE);
            return;
        }
        answered_dialog_ = window;
        ++dialogs_seen_;
        if (std::function<void()> action = std::move(meanwhile_)) {
            meanwhile_ = nullptr;
            action();
        }
        if (by_ != By::messages) {  // the first field has the focus and its text selected
            key_up(VK_CONTROL);
            std::string typed;  // the printable part, as far as a user types into a field
            for (const std::string& text : texts_) {
                for (char c : text.substr(0, 12))
                    typed += c >= ' ' && c <= '~' ? std::string(1, c) : "";
                typed += "\t";
            }
            type_text(typed.c_str());
            if (by_ == By::keys)
                press_key(button_ == IDOK ? VK_RETURN : VK_ESCAPE);
            else  // once the dialog stands where the window manager put it
                SetTimer(window, 2, 100, &on_time_to_click);
            // An answer the dialog did not take leaves it open: it is cancelled, and said.
            SetTimer(window, 1, 3000, &on_unanswered);
            return;
        }
        SetDlgItemTextA(window, IDC_LIMIT_MINIMUM, texts_[0].c_str());
        SetDlgItemTextA(window, IDC_LIMIT_CURRENT, texts_[1].c_str());
        SetDlgItemTextA(window, IDC_LIMIT_MAXIMUM, texts_[2].c_str());
        PostMessageA(window, WM_COMMAND, button_, 0);
        return;
    }
    if (std::strcmp(caption, "Error") == 0) {
        ++message_boxes_seen_;
        if (by_ == By::messages)
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        else
            press_key(VK_RETURN);
        return;
    }
    // The panel itself is a dialog too; anything else is not ours to expect.
    if (std::strcmp(caption, "Kelvaro") != 0) {
        unexpected_.push_back(caption);
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
}
