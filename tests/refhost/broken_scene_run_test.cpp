// refhost.exe itself on a scene file that does not open: the runs that have
// no person at the screen (--script, --show-limits) say why on standard error
// and end with a non-zero status, without waiting for anyone; a person gets
// the reason in a message box and the host goes on with an empty scene; and
// its scripted session on a 150 % desktop.
#include <windows.h>
#include <cstdio>
#include <fstream>
#include <string>
#include "desktop/message_pump.h"
#include "refhost_fixture.h"

namespace {

constexpr DWORD run_limit_ms = 20000;

struct ProgramRun {
    bool ended = false;
    DWORD exit_code = 0;
    std::string error_output;
};

// A scene that breaks on its third line.
std::string broken_scene()
{
    const std::string path = temporary_file("rhb");
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fputs("kelvaro-scene 1\njoint 0 Knee\nselect Hip\n", file);
    std::fclose(file);
    return path;
}

// Starts refhost.exe with its standard error on a pipe of ours.
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

// Waits for the program's end within the limit; one that does not end is ended.
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

ProgramRun run_host(const std::string& arguments)
{
    PROCESS_INFORMATION process = {};
    HANDLE error_reader = nullptr;
    if (!start_host(arguments, &process, &error_reader))
        return ProgramRun();
    return finish(process, error_reader, run_limit_ms);
}

struct ProcessWindow {
    DWORD process_id;
    const char* class_name;
    HWND found;
};

BOOL CALLBACK find_process_window(HWND window, LPARAM context)
{
    auto* wanted = reinterpret_cast<ProcessWindow*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (owner != wanted->process_id || !IsWindowVisible(window) || std::string(name) != wanted->class_name)
        return TRUE;
    wanted->found = window;
    return FALSE;
}

HWND visible_window_of(DWORD process_id, const char* class_name)
{
    ProcessWindow wanted = {process_id, class_name, nullptr};
    EnumWindows(find_process_window, reinterpret_cast<LPARAM>(&wanted));
    return wanted.found;
}

BOOL CALLBACK gather_static_text(HWND child, LPARAM context)
{
    char name[32] = "", text[512] = "";
    GetClassNameA(child, name, sizeof name);
    if (_stricmp(name, "Static") == 0 && GetWindowTextA(child, text, sizeof text) > 0)
        *reinterpret_cast<std::string*>(context) += text;
    return TRUE;
}

}  // namespace

TEST(BrokenSceneRun, HeadlessModesSayWhyOnStandardErrorAndEndNonZero)
{
    const std::string scene = broken_scene();
    const char* modes[] = {"--script", "--show-limits Knee"};
    for (const char* mode : modes) {
        SCOPED_TRACE(mode);
        const ProgramRun run = run_host(std::string(mode) + " \"" + scene + "\"");
        ASSERT_TRUE(run.ended) << "still running after " << run_limit_ms << " ms: waiting for a person";
        EXPECT_NE(run.exit_code, 0u);
        EXPECT_NE(run.error_output.find(scene + ":3: selects a shape that is not there"), std::string::npos)
            << run.error_output;
    }
    DeleteFileA(scene.c_str());
}

TEST(BrokenSceneRun, APersonIsToldInAMessageBoxAndGetsAnEmptyScene)
{
    const std::string scene = broken_scene();
    PROCESS_INFORMATION process = {};
    HANDLE error_reader = nullptr;
    ASSERT_TRUE(start_host("\"" + scene + "\"", &process, &error_reader));

    HWND box = nullptr;
    EXPECT_TRUE(pump_until([&] { return (box = visible_window_of(process.dwProcessId, "#32770")) != nullptr; },
                           run_limit_ms));
    std::string text;
    if (box != nullptr) {
        char caption[128] = "";
        GetWindowTextA(box, caption, sizeof caption);
        EXPECT_STREQ(caption, "Kelvaro reference host");
        EnumChildWindows(box, gather_static_text, reinterpret_cast<LPARAM>(&text));
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    EXPECT_NE(text.find(scene + ":3: selects a shape that is not there"), std::string::npos) << text;

    // Past the box, the host's window runs on; closing it ends the program.
    HWND host = nullptr;
    EXPECT_TRUE(pump_until([&] {
        host = visible_window_of(process.dwProcessId, "KelvaroReferenceHost");
        return host != nullptr && visible_window_of(process.dwProcessId, "#32770") == nullptr;
    }, run_limit_ms));
    if (host != nullptr)
        PostMessageA(host, WM_CLOSE, 0, 0);
    const ProgramRun run = finish(process, error_reader, run_limit_ms);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.exit_code, 0u);
    EXPECT_EQ(run.error_output, "");
    DeleteFileA(scene.c_str());
}

// LogPixels 144, which a program reads as it starts: the session holds, every
// part of the host's window holding its text, none overlapping another.
TEST(HostProgram, TheScriptedSessionHoldsOnA150PercentDesktop)
{
    const DWORD dpi = 144;
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi, sizeof dpi), 0);
    const std::string summary = temporary_file("rhd");
    PROCESS_INFORMATION process = {};
    HANDLE error_reader = nullptr;
    const bool started = start_host("--script --summary \"" + summary + "\" \"" + sample_scene_path() + "\"",
                                    &process, &error_reader);
    WaitForInputIdle(process.hProcess, run_limit_ms);  // its windows are made: it has read the DPI
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels");
    ASSERT_TRUE(started);
    const ProgramRun run = finish(process, error_reader, run_limit_ms);
    std::string text;
    std::getline(std::ifstream(summary), text, '\0');
    DeleteFileA(summary.c_str());
    EXPECT_TRUE(run.exit_code == 0 && text.find("desktop:          144 DPI") != std::string::npos)
        << text << run.error_output;
}
