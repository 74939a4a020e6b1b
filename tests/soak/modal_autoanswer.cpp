#include "modal_autoanswer.h"

#include <cstring>

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
                           int button)
{
    texts_[0] = minimum;
    texts_[1] = current;
    texts_[2] = maximum;
    button_ = button;
    answered_dialog_ = nullptr;
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
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        answered_dialog_ = window;
        ++dialogs_seen_;
        if (std::function<void()> action = std::move(meanwhile_)) {
            meanwhile_ = nullptr;
            action();
        }
        SetDlgItemTextA(window, IDC_LIMIT_MINIMUM, texts_[0].c_str());
        SetDlgItemTextA(window, IDC_LIMIT_CURRENT, texts_[1].c_str());
        SetDlgItemTextA(window, IDC_LIMIT_MAXIMUM, texts_[2].c_str());
        PostMessageA(window, WM_COMMAND, button_, 0);
        return;
    }
    if (std::strcmp(caption, "Error") == 0) {
        ++message_boxes_seen_;
        PostMessageA(window, WM_COMMAND, IDOK, 0);
        return;
    }
    // The panel itself is a dialog too; anything else is not ours to expect.
    if (std::strcmp(caption, "Kelvaro") != 0) {
        unexpected_.push_back(caption);
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
}
