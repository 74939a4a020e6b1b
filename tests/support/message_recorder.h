#pragma once
// Records the messages that chosen windows receive, with the depth at which
// each arrived: 0 for a message that came in from the message loop or a
// caller outside the watched windows, 1 for one sent while a watched window
// was handling another, and so on. Re-entrant messages (an EN_CHANGE sent from
// inside a WM_COMMAND handler) show up with a greater depth.
#include <windows.h>
#include <initializer_list>
#include <vector>

struct RecordedMessage {
    HWND window;
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
    int depth;
};

class MessageRecorder {
public:
    // Only these messages are kept; an empty list keeps every message.
    explicit MessageRecorder(std::initializer_list<UINT> kept = {});
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // Subclasses the window until the recorder goes (or the window does).
    void watch(HWND window);

    const std::vector<RecordedMessage>& messages() const { return messages_; }
    void clear() { messages_.clear(); }

    // WM_HSCROLL notification codes (LOWORD(wParam)), in order.
    std::vector<int> scroll_codes() const;
    // WM_COMMAND notifications from one control, as HIWORD(wParam) codes.
    std::vector<int> command_codes(int control_id) const;
    // Messages of one kind, with their depths.
    std::vector<RecordedMessage> of(UINT message) const;
    int count(UINT message) const;
    int deepest() const;

private:
    static LRESULT CALLBACK recording_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    struct Watched {
        HWND window;
        WNDPROC original;
    };
    std::vector<UINT> kept_;
    std::vector<Watched> watched_;
    std::vector<RecordedMessage> messages_;
};
