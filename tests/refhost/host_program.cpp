#include "host_program.h"

#include "refhost_fixture.h"

bool start_host(const std::string& arguments, PROCESS_INFORMATION* process, HANDLE* error_reader)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE error_writer = nullptr;
    if (!CreatePipe(error_reader, &error_writer, &inherit, 0))
        return false;
    SetHandleInformation(*error_reader, HANDLE_FLAG_INHERIT, 0);
    HANDLE nothing = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                 OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nothing;
    startup.hStdOutput = nothing;
    startup.hStdError = error_writer;
    std::string command = "\"" + windows_path(REFHOST_PROGRAM_PATH) + "\" " + arguments;
    const bool started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                        process) != 0;
    CloseHandle(error_writer);
    CloseHandle(nothing);
    return started;
}

ProgramRun finish(PROCESS_INFORMATION& process, HANDLE error_reader, DWORD limit_ms)
{
    ProgramRun run;
    run.ended = WaitForSingleObject(process.hProcess, limit_ms) == WAIT_OBJECT_0;
    if (!run.ended) {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    GetExitCodeProcess(process.hProcess, &run.exit_code);
    char buffer[512];
    DWORD got = 0;
    while (ReadFile(error_reader, buffer, sizeof buffer, &got, nullptr) && got > 0)
        run.error_output.append(buffer, got);
    CloseHandle(error_reader);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}
