// refhost.exe itself on a scene file that does not open: the runs that have
// no person at the screen (--script, --show-limits) say why on standard error
// and end with a non-zero status, without waiting for anyone; a person gets
// the reason in a message box and the host goes on with an empty scene.
#include <windows.h>
#include <cstdio>
#include <string>
#include "desktop/message_pump.h"
#include "host_program.h"
#include "refhost_fixture.h"

namespace {

// A scene that breaks on its third line.
std::string broken_scene()
{
    const std::string path = temporary_file("rhb");
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fputs("kelvaro-scene 1\njoint 0 Knee\nselect Hip\n", file);
    std::fclose(file);
    return path;
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
