#pragma once
// Answers modal windows (dialog boxes, message boxes) from inside their own
// modal loops: a thread timer looks every few milliseconds for a visible,
// enabled dialog window of this thread, and runs the answer queued for its
// caption. An answer only types or posts (never waits), so the modal loop
// goes on and ends the window itself.
//
// A dialog window that nobody expected is recorded and cancelled, so that a
// scripted run never hangs in a modal loop it did not plan for.
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

struct ModalWindowSeen {
    HWND window;
    HWND owner;
    std::string caption;
    std::string text;       // a message box's message: its text static, as ANSI bytes
    std::wstring wide_text; // the same as the control holds it
    bool ok_only;           // an OK button and no CANCEL, YES or NO button
    bool information_icon;  // shows the system's information icon
    bool expected;
};

class ModalAnswerer {
public:
    using Answer = std::function<void(HWND window)>;

    ModalAnswerer();
    ~ModalAnswerer();
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;

    // Windows that are no modal windows to answer (the panel itself).
    void ignore(HWND window) { ignored_.push_back(window); }
    // The next window with this caption gets this answer, once.
    void expect(const std::string& caption, Answer answer);

    bool all_answered() const { return queue_.empty(); }
    const std::vector<ModalWindowSeen>& seen() const { return seen_; }
    int unexpected_count() const;

private:
    static void CALLBACK on_tick(HWND, UINT, UINT_PTR, DWORD);
    void look();
    ModalWindowSeen describe(HWND window) const;

    struct Pending {
        std::string caption;
        Answer answer;
    };
    UINT_PTR timer_ = 0;
    bool busy_ = false;
    std::vector<HWND> ignored_;
    std::vector<HWND> answered_;
    std::vector<HWND> waiting_;
    std::vector<Pending> queue_;
    std::vector<ModalWindowSeen> seen_;
};

// The exact WM_COMMAND that a button sends its dialog when clicked, posted.
void post_button_click(HWND dialog, int button_id);

// A window's text, as ANSI bytes.
std::string window_text(HWND window);
