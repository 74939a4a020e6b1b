#include "bench/drag/step_sections.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "simhost/import_patch.h"

namespace {

// ---- The sections open at this moment ------------------------------------

struct OpenSection {
    StepSection section;
    LONGLONG started;
    LONGLONG inside;  // ticks spent in the sections opened within this one
};

bool recording = false;
OpenSection open_sections[32];
int depth = 0;
LONGLONG step_started = 0;
std::array<LONGLONG, step_section_count> section_ticks{};
std::array<int, step_section_count> section_calls{};

LONGLONG now()
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

double ticks_to_us(LONGLONG ticks)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// Times one section for as long as it lives, while a step is being timed.
class SectionTimer {
public:
    explicit SectionTimer(StepSection section) : timing_(recording && depth < 32)
    {
        if (timing_)
            open_sections[depth++] = {section, now(), 0};
    }
    ~SectionTimer()
    {
        if (!timing_)
            return;
        const OpenSection closed = open_sections[--depth];
        const LONGLONG elapsed = now() - closed.started;
        const int index = static_cast<int>(closed.section);
        section_ticks[index] += elapsed - closed.inside;
        ++section_calls[index];
        if (depth > 0)
            open_sections[depth - 1].inside += elapsed;
    }
    SectionTimer(const SectionTimer&) = delete;
    SectionTimer& operator=(const SectionTimer&) = delete;

private:
    bool timing_;
};

// ---- The calls, through the import tables --------------------------------

struct OriginalCalls {
    LRESULT(WINAPI* send_message)(HWND, UINT, WPARAM, LPARAM);
    LRESULT(WINAPI* send_dlg_item_message)(HWND, int, UINT, WPARAM, LPARAM);
    HWND(WINAPI* get_dlg_item)(HWND, int);
    int(WINAPI* get_dlg_ctrl_id)(HWND);
    SHORT(WINAPI* get_key_state)(int);
    BOOL(WINAPI* set_dlg_item_text)(HWND, int, LPCSTR);
    HWND(WINAPI* get_focus)();
    int(WINAPI* get_window_text)(HWND, LPSTR, int);
};
OriginalCalls original;

StepSection section_of_message(UINT message)
{
    switch (message) {
    case TBM_SETPOS: return StepSection::set_position;
    case WM_HSCROLL: return StepSection::hscroll_delivery;
    case TBM_GETPOS: return StepSection::get_position;
    default: return StepSection::other_calls;
    }
}

LRESULT WINAPI timed_send_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    SectionTimer timer(section_of_message(message));
    return original.send_message(window, message, wparam, lparam);
}

LRESULT WINAPI timed_send_dlg_item_message(HWND dialog, int id, UINT message, WPARAM wparam, LPARAM lparam)
{
    SectionTimer timer(StepSection::other_calls);
    return original.send_dlg_item_message(dialog, id, message, wparam, lparam);
}

HWND WINAPI timed_get_dlg_item(HWND dialog, int id)
{
    SectionTimer timer(StepSection::other_calls);
    return original.get_dlg_item(dialog, id);
}

int WINAPI timed_get_dlg_ctrl_id(HWND window)
{
    SectionTimer timer(StepSection::control_id);
    return original.get_dlg_ctrl_id(window);
}

SHORT WINAPI timed_get_key_state(int key)
{
    SectionTimer timer(StepSection::key_state);
    return original.get_key_state(key);
}

BOOL WINAPI timed_set_dlg_item_text(HWND dialog, int id, LPCSTR text)
{
    SectionTimer timer(StepSection::set_text);
    return original.set_dlg_item_text(dialog, id, text);
}

HWND WINAPI timed_get_focus()
{
    SectionTimer timer(StepSection::focus);
    return original.get_focus();
}

int WINAPI timed_get_window_text(HWND window, LPSTR text, int size)
{
    SectionTimer timer(StepSection::get_text);
    return original.get_window_text(window, text, size);
}

struct TimedCall {
    const char* function;
    void* timer;
    void** original;
};

const TimedCall timed_calls[] = {
    {"SendMessageA", reinterpret_cast<void*>(&timed_send_message), reinterpret_cast<void**>(&original.send_message)},
    {"SendDlgItemMessageA", reinterpret_cast<void*>(&timed_send_dlg_item_message),
     reinterpret_cast<void**>(&original.send_dlg_item_message)},
    {"GetDlgItem", reinterpret_cast<void*>(&timed_get_dlg_item), reinterpret_cast<void**>(&original.get_dlg_item)},
    {"GetDlgCtrlID", reinterpret_cast<void*>(&timed_get_dlg_ctrl_id),
     reinterpret_cast<void**>(&original.get_dlg_ctrl_id)},
    {"GetKeyState", reinterpret_cast<void*>(&timed_get_key_state), reinterpret_cast<void**>(&original.get_key_state)},
    {"SetDlgItemTextA", reinterpret_cast<void*>(&timed_set_dlg_item_text),
     reinterpret_cast<void**>(&original.set_dlg_item_text)},
    {"GetFocus", reinterpret_cast<void*>(&timed_get_focus), reinterpret_cast<void**>(&original.get_focus)},
    {"GetWindowTextA", reinterpret_cast<void*>(&timed_get_window_text),
     reinterpret_cast<void**>(&original.get_window_text)},
};

// Both tables hold the same functions of USER32; the first one found is the
// one every timer calls on.
void hook_calls(HMODULE module)
{
    for (const TimedCall& call : timed_calls) {
        void* replaced = replace_import(module, "USER32.dll", call.function, call.timer);
        if (replaced != nullptr && *call.original == nullptr)
            *call.original = replaced;
    }
}

// ---- The dialogs' procedures ---------------------------------------------

struct ReplacedProcedure {
    HWND dialog;
    DLGPROC procedure;
};
ReplacedProcedure replaced_procedures[4];
int replaced_count = 0;

DLGPROC procedure_of(HWND dialog)
{
    for (int i = 0; i < replaced_count; ++i) {
        if (replaced_procedures[i].dialog == dialog)
            return replaced_procedures[i].procedure;
    }
    return nullptr;
}

INT_PTR CALLBACK timed_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    DLGPROC procedure = procedure_of(dialog);
    if (procedure == nullptr)
        return FALSE;
    SectionTimer timer(StepSection::procedure);
    return procedure(dialog, message, wparam, lparam);
}

}  // namespace

const char* step_section_name(StepSection section)
{
    switch (section) {
    case StepSection::set_position: return "TBM_SETPOS (the trackbar)";
    case StepSection::hscroll_delivery: return "WM_HSCROLL delivery";
    case StepSection::procedure: return "procedure's own code";
    case StepSection::control_id: return "GetDlgCtrlID";
    case StepSection::key_state: return "GetKeyState";
    case StepSection::get_position: return "TBM_GETPOS";
    case StepSection::set_text: return "SetDlgItemText + EN_CHANGE delivery";
    case StepSection::focus: return "GetFocus";
    case StepSection::get_text: return "GetWindowText";
    case StepSection::other_calls: return "other hooked calls";
    }
    return "?";
}

void time_step_calls(HMODULE module)
{
    hook_calls(GetModuleHandleA(nullptr));
    hook_calls(module);
}

void time_dialog_procedure(HWND dialog)
{
    if (replaced_count == 4)
        return;
    auto procedure = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(dialog, DWLP_DLGPROC));
    replaced_procedures[replaced_count++] = {dialog, procedure};
    SetWindowLongPtrA(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&timed_procedure));
}

void begin_timed_step()
{
    section_ticks.fill(0);
    section_calls.fill(0);
    depth = 0;
    recording = true;
    step_started = now();
}

StepTimes end_timed_step()
{
    const LONGLONG ended = now();
    recording = false;
    StepTimes times;
    for (int i = 0; i < step_section_count; ++i) {
        times.us[i] = ticks_to_us(section_ticks[i]);
        times.calls[i] = section_calls[i];
    }
    times.total_us = ticks_to_us(ended - step_started);
    return times;
}

double section_timer_us()
{
    constexpr int batches = 101;
    constexpr int timers_per_batch = 1000;
    std::vector<double> per_timer_us;
    for (int b = 0; b < batches; ++b) {
        begin_timed_step();
        for (int i = 0; i < timers_per_batch; ++i)
            SectionTimer timer(StepSection::other_calls);
        per_timer_us.push_back(end_timed_step().total_us / timers_per_batch);
    }
    std::nth_element(per_timer_us.begin(), per_timer_us.begin() + batches / 2, per_timer_us.end());
    return per_timer_us[batches / 2];
}
