#include "desktop/modal_answer.h"

#include <algorithm>
#include <cstring>

namespace {

ModalAnswerer* active_answerer = nullptr;
constexpr UINT look_period_ms = 10;

bool is_dialog_window(HWND window)
{
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    return strcmp(name, "#32770") == 0;
}

struct StaticTexts {
    std::string text;
    std::wstring wide_text;
    HICON icon = nullptr;
};

BOOL CALLBACK collect_static(HWND child, LPARAM context)
{
    auto* found = reinterpret_cast<StaticTexts*>(context);
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    if (_stricmp(name, "Static") != 0)
        return TRUE;
    if (HICON icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)))
        found->icon = icon;
    std::string text = window_text(child);
    if (!text.empty() && found->text.empty()) {
        found->text = text;
        wchar_t wide[512] = {};
        GetWindowTextW(child, wide, 512);
        found->wide_text = wide;
    }
    return TRUE;
}

BOOL CALLBACK collect_thread_window(HWND window, LPARAM context)
{
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

}  // namespace

std::string window_text(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

ModalAnswerer::ModalAnswerer()
{
    active_answerer = this;
    timer_ = SetTimer(nullptr, 0, look_period_ms, &on_tick);
}

ModalAnswerer::~ModalAnswerer()
{
    KillTimer(nullptr, timer_);
    if (active_answerer == this)
        active_answerer = nullptr;
}

void ModalAnswerer::expect(const std::string& caption, Answer answer)
{
    queue_.push_back({caption, std::move(answer)});
}

int ModalAnswerer::unexpected_count() const
{
    return static_cast<int>(std::count_if(seen_.begin(), seen_.end(),
                                          [](const ModalWindowSeen& s) { return !s.expected; }));
}

void CALLBACK ModalAnswerer::on_tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (active_answerer != nullptr && !active_answerer->busy_)
        active_answerer->look();
}

ModalWindowSeen ModalAnswerer::describe(HWND window) const
{
    ModalWindowSeen seen = {};
    seen.window = window;
    seen.owner = GetWindow(window, GW_OWNER);
    seen.caption = window_text(window);
    StaticTexts statics;
    EnumChildWindows(window, collect_static, reinterpret_cast<LPARAM>(&statics));
    seen.text = statics.text;
    seen.wide_text = statics.wide_text;
    seen.information_icon =
        statics.icon != nullptr && statics.icon == LoadIconA(nullptr, MAKEINTRESOURCEA(32516));
    seen.ok_only = GetDlgItem(window, IDOK) != nullptr && GetDlgItem(window, IDCANCEL) == nullptr &&
                   GetDlgItem(window, IDYES) == nullptr && GetDlgItem(window, IDNO) == nullptr;
    return seen;
}

// Answers strictly in the order queued: only the first pending answer is
// looked for. A window answered before that does not match it waits (its
// answer is still on the way through its loop); a window never seen before
// that does not match it is unexpected and is cancelled.
void ModalAnswerer::look()
{
    busy_ = true;
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), collect_thread_window, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
        if (!is_dialog_window(window) || !IsWindowVisible(window) || !IsWindowEnabled(window))
            continue;
        if (std::find(ignored_.begin(), ignored_.end(), window) != ignored_.end())
            continue;
        bool known = std::find(answered_.begin(), answered_.end(), window) != answered_.end();
        std::string caption = window_text(window);
        if (!queue_.empty() && queue_.front().caption == caption &&
            std::find(waiting_.begin(), waiting_.end(), window) == waiting_.end()) {
            ModalWindowSeen seen = describe(window);
            seen.expected = true;
            seen_.push_back(seen);
            if (!known)
                answered_.push_back(window);
            Answer answer = std::move(queue_.front().answer);
            queue_.erase(queue_.begin());
            // Not again until it has been disabled (by a message box of its
            // own) or gone: the answer is still on its way.
            waiting_.push_back(window);
            answer(window);
            break;  // one answer per tick: it may open the next window
        }
        if (!known) {
            ModalWindowSeen seen = describe(window);
            seen.expected = false;
            seen_.push_back(seen);
            answered_.push_back(window);
            post_button_click(window, IDCANCEL);
            break;
        }
    }
    // A window that was disabled since its answer (its message box is up) or
    // has gone may be answered again.
    waiting_.erase(std::remove_if(waiting_.begin(), waiting_.end(),
                                  [](HWND w) { return !IsWindow(w) || !IsWindowEnabled(w); }),
                   waiting_.end());
    busy_ = false;
}

void post_button_click(HWND dialog, int button_id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button_id)));
}
