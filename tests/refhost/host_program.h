#pragma once
// refhost.exe itself, started as a person or a script starts it: its standard
// error on a pipe of the test's, its end waited for within a limit.
#include <windows.h>
#include <string>

constexpr DWORD run_limit_ms = 20000;

struct ProgramRun {
    bool ended = false;
    DWORD exit_code = 0;
    std::string error_output;
};

// Starts refhost.exe with these arguments, its standard error on a pipe of ours.
bool start_host(const std::string& arguments, PROCESS_INFORMATION* process, HANDLE* error_reader);

// Waits for the program's end within the limit; one that does not end is ended.
ProgramRun finish(PROCESS_INFORMATION& process, HANDLE error_reader, DWORD limit_ms);
