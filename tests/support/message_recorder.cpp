#include "message_recorder.h"

#include <algorithm>

namespace {

// One recorder at a time: the window procedure has nothing else to find it by.
MessageRecorder* active_recorder = nullptr;
int nesting = 0;

}  // namespace

MessageRecorder::MessageRecorder(std::initializer_list<UINT> kept) : kept_(kept)
{
    active_recorder = this;
}

MessageRecorder::~MessageRecorder()
{
    for (const Watched& w : watched_) {
        if (IsWindow(w.window))
            SetWindowLongPtrA(w.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(w.original));
    }
    if (active_recorder == this)
        active_recorder = nullptr;
}

void MessageRecorder::watch(HWND window)
{
    WNDPROC original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&recording_proc)));
    watched_.push_back({window, original});
}

LRESULT CALLBACK MessageRecorder::recording_proc(HWND window, UINT message, WPARAM wparam,
                                                 LPARAM lparam)
{
    MessageRecorder* self = active_recorder;
    WNDPROC original = nullptr;
    if (self != nullptr) {
        for (const Watched& w : self->watched_)
            if (w.window == window)
                original = w.original;
    }
    if (original == nullptr)
        return DefWindowProcA(window, message, wparam, lparam);
    if (self->kept_.empty() ||
        std::find(self->kept_.begin(), self->kept_.end(), message) != self->kept_.end())
        self->messages_.push_back({window, message, wparam, lparam, nesting});
    ++nesting;
    LRESULT result = CallWindowProcA(original, window, message, wparam, lparam);
    --nesting;
    return result;
}

std::vector<int> MessageRecorder::scroll_codes() const
{
    std::vector<int> codes;
    for (const RecordedMessage& m : messages_)
        if (m.message == WM_HSCROLL)
            codes.push_back(LOWORD(m.wparam));
    return codes;
}

std::vector<int> MessageRecorder::command_codes(int control_id) const
{
    std::vector<int> codes;
    for (const RecordedMessage& m : messages_)
        if (m.message == WM_COMMAND && LOWORD(m.wparam) == control_id)
            codes.push_back(HIWORD(m.wparam));
    return codes;
}

std::vector<RecordedMessage> MessageRecorder::of(UINT message) const
{
    std::vector<RecordedMessage> found;
    for (const RecordedMessage& m : messages_)
        if (m.message == message)
            found.push_back(m);
    return found;
}

int MessageRecorder::count(UINT message) const
{
    return static_cast<int>(of(message).size());
}

int MessageRecorder::deepest() const
{
    int depth = 0;
    for (const RecordedMessage& m : messages_)
        depth = std::max(depth, m.depth);
    return depth;
}
