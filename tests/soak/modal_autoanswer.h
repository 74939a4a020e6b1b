#pragma once
// Answers the limits dialog and its message boxes from inside their modal
// loops without waiting: a thread CBT hook sees each dialog window as it is
// activated and posts the answer at once, or queues it as a user's real keys
// and clicks. The limits dialog gets the planned
// texts and button on its first activation; a message box ("Error") gets OK;
// the limits dialog activated again after a message box is cancelled, so every
// opening ends within two answers.
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

class ModalAutoanswer {
public:
    ModalAutoanswer();
    ~ModalAutoanswer();
    ModalAutoanswer(const ModalAutoanswer&) = delete;
    ModalAutoanswer& operator=(const ModalAutoanswer&) = delete;

    // The answer to the next limits dialog: three field texts, then IDOK or IDCANCEL.
    // Real answers let go of Ctrl, type over the fields, and press Enter or
    // Escape or click the button; a message box gets Enter.
    enum class By { messages, keys, clicks };
    void plan(const std::string& minimum, const std::string& current, const std::string& maximum, int button,
              By by = By::messages);
    // Runs once, inside the next limits dialog's modal loop as it shows, before
    // the answer: what the host does on its own while the dialog is up.
    void meanwhile(std::function<void()> action) { meanwhile_ = std::move(action); }

    int dialogs_seen() const { return dialogs_seen_; }
    int message_boxes_seen() const { return message_boxes_seen_; }
    // Captions of dialog windows that were neither the limits dialog nor "Error".
    const std::vector<std::string>& unexpected() const { return unexpected_; }

private:
    static LRESULT CALLBACK on_cbt(int code, WPARAM wparam, LPARAM lparam);
    static void CALLBACK on_time_to_click(HWND dialog, UINT, UINT_PTR timer, DWORD);
    static void CALLBACK on_unanswered(HWND dialog, UINT, UINT_PTR, DWORD);
    void on_activate(HWND window);

    HHOOK hook_ = nullptr;
    HWND answered_dialog_ = nullptr;
    std::string texts_[3];
    int button_ = IDCANCEL;
    By by_ = By::messages;
    std::function<void()> meanwhile_;
    int dialogs_seen_ = 0;
    int message_boxes_seen_ = 0;
    std::vector<std::string> unexpected_;
};
