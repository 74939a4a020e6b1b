// refhost.exe on a 150 % desktop: LogPixels 144, which a program reads as it
// starts. Its scripted session holds, every part of the host's window holding
// its text, none overlapping another.
//
// The DPI is a setting of the whole prefix, which every program that starts
// meanwhile would read: CTest runs this file's tests in a Wine session and
// prefix of their own (tests/CMakeLists.txt), so that no other test, and no
// later run after an interrupted one, starts at 144 DPI.
#include <windows.h>
#include <fstream>
#include <string>
#include "host_program.h"
#include "refhost_fixture.h"

TEST(HighDpiDesktop, TheScriptedSessionHoldsAt150Percent)
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
