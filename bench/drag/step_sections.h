#pragma once
// Where the time of a drag step goes, by sections: the Win32 calls a step
// makes, from the benchmark (the trackbar's TBM_SETPOS, WM_HSCROLL to the
// dialog) and from the dialog's procedure (the panel's in Kelvaro.dll or a
// floor's), and the procedure's own code. The calls are timed through the
// import tables of this program and of the module, the procedure through a
// stand-in put in its place (DWLP_DLGPROC), each with QueryPerformanceCounter.
//
// A section's time leaves out the sections inside it: SetWindowText's time is
// the edit box's own work and the delivery of its EN_CHANGE, while the
// procedure's handling of that EN_CHANGE counts to the procedure and to the
// calls it makes. The timers themselves cost a little, which falls to the
// section around them.
#include <windows.h>

#include <array>

enum class StepSection {
    set_position,      // SendMessage TBM_SETPOS from the benchmark: the trackbar moves its thumb
    hscroll_delivery,  // SendMessage WM_HSCROLL to the dialog, into its procedure and back out
    procedure,         // the procedure's own code, for WM_HSCROLL and the EN_CHANGE inside it
    control_id,        // GetDlgCtrlID
    key_state,         // GetKeyState
    get_position,      // SendMessage TBM_GETPOS
    set_text,          // SetDlgItemText: the edit box, and the delivery of its EN_CHANGE
    focus,             // GetFocus
    get_text,          // GetWindowText
    other_calls,       // SendMessage of any other message, SendDlgItemMessage, GetDlgItem
};
constexpr int step_section_count = static_cast<int>(StepSection::other_calls) + 1;

const char* step_section_name(StepSection section);

struct StepTimes {
    std::array<double, step_section_count> us{};
    std::array<int, step_section_count> calls{};
    double total_us = 0;
};

// Puts the timers into the import tables of this program and of the module.
// Until a step is begun they only pass the calls on.
void time_step_calls(HMODULE module);
// Puts the timing stand-in in place of the dialog's procedure.
void time_dialog_procedure(HWND dialog);

void begin_timed_step();
StepTimes end_timed_step();

// What opening and closing one section costs, in microseconds: the median
// over batches of a thousand.
double section_timer_us();
