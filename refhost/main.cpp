// The reference host's entry point.
//
//   refhost.exe [options] [scene.kscene]
//     --plugin PATH       the module to load (default: Kelvaro.dll beside refhost.exe)
//     --japanese, --english   the language the plug-in is asked for (default: the user's)
//     --script            play the scripted session and exit: status 0 when every step showed,
//                         1 when one did not or could not happen (named in the summary), 3 when
//                         one never ended (a modal loop nobody answers; named on standard error)
//     --screenshot PATH   the script's picture of the window with the panel open
//     --summary PATH      the script's summary (default: standard output)
//     --save PATH         the script saves the scene here at the end
//     --show-limits JOINT open the scene, pick JOINT, open the panel and report the
//                         limits stored with it and shown on the sliders, then exit
//
//   With --script or --show-limits nobody is at the screen: a scene that does not
//   open, or any other error, goes to standard error and the exit status is not 0.
//   Otherwise the reason is shown in a message box and the host starts empty.
#include <windows.h>
#include <commctrl.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include "panel/resource.h"
#include "refhost/reference_host.h"
#include "refhost/scripted_session.h"
#include "desktop/message_pump.h"

namespace {

struct CommandLine {
    std::string plugin, scene, screenshot, summary, save, show_limits;
    bool script = false;
    int language = -1;  // -1: the user's, 0: English, 1: Japanese
};

std::string folder_of_program()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : folder.substr(0, slash);
}

CommandLine parse(int argc, char** argv)
{
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() { return i + 1 < argc ? std::string(argv[++i]) : std::string(); };
        if (arg == "--plugin") line.plugin = value();
        else if (arg == "--japanese") line.language = 1;
        else if (arg == "--english") line.language = 0;
        else if (arg == "--script") line.script = true;
        else if (arg == "--screenshot") line.screenshot = value();
        else if (arg == "--summary") line.summary = value();
        else if (arg == "--save") line.save = value();
        else if (arg == "--show-limits") line.show_limits = value();
        else line.scene = arg;
    }
    if (line.plugin.empty())
        line.plugin = folder_of_program() + "\\Kelvaro.dll";
    return line;
}

void write_text(const std::string& path, const std::string& text)
{
    if (path.empty()) {
        std::fputs(text.c_str(), stdout);
        std::fflush(stdout);
        return;
    }
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fputs(text.c_str(), file);
        std::fclose(file);
    }
}

// After a restart: what the panel shows for a joint of a saved scene.
int show_limits(ReferenceHost& host, const CommandLine& line)
{
    SimShape* joint = host.scene().find(line.show_limits);
    if (joint == nullptr || !joint->is_ball_joint()) {
        std::fprintf(stderr, "refhost: no ball joint named %s\n", line.show_limits.c_str());
        write_text(line.summary, "no joint named " + line.show_limits + "\n");
        return 1;
    }
    host.show(SW_SHOW);
    host.select({joint});
    host.open_panel();
    HWND panel = host.panel_window();
    pump_until([&] { return panel != nullptr && IsWindowVisible(panel); }, 2000);
    std::string text;
    char row[160];
    const std::vector<float> stored = joint->stream_floats(0x40a00030);
    std::snprintf(row, sizeof row, "stored with %s: %d floats", line.show_limits.c_str(), static_cast<int>(stored.size()));
    text += row;
    for (float f : stored) {
        std::snprintf(row, sizeof row, " %g", double(f));
        text += row;
    }
    text += "\n";
    static const struct { int id; const char* name; } sliders[] = {
        {IDC_PITCH_SLIDER, "Pitch"}, {IDC_YAW_SLIDER, "Yaw"}, {IDC_ROLL_SLIDER, "Roll"}};
    for (const auto& s : sliders) {
        HWND slider = panel != nullptr ? GetDlgItem(panel, s.id) : nullptr;
        const int low = slider ? static_cast<int>(SendMessageA(slider, TBM_GETSELSTART, 0, 0)) : 0;
        const int high = slider ? static_cast<int>(SendMessageA(slider, TBM_GETSELEND, 0, 0)) : 0;
        std::snprintf(row, sizeof row, "panel after restart: %-5s slider range %d..%d\n", s.name, low, high);
        text += row;
    }
    write_text(line.summary, text);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const CommandLine line = parse(argc, argv);
    ReferenceHostOptions options;
    options.plugin_path = line.plugin;
    options.scene_path = line.scene;
    options.japanese = line.language < 0 ? PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE
                                         : line.language == 1;
    if (line.script || !line.show_limits.empty()) {
        options.x = 10;
        options.y = 40;
        options.width = 860;
        options.height = 620;
    }

    // Without a person at the screen (a script, a report) nothing may wait
    // for a click: errors go to standard error and the run ends non-zero.
    const bool headless = line.script || !line.show_limits.empty();
    ReferenceHost host;
    std::string error;
    if (!host.create(options, &error)) {
        if (headless)
            std::fprintf(stderr, "refhost: %s\n", error.c_str());
        else
            MessageBoxA(nullptr, error.c_str(), "Kelvaro reference host", MB_OK | MB_ICONERROR);
        return 2;
    }
    if (!host.last_error().empty() && headless) {
        std::fprintf(stderr, "refhost: %s\n", host.last_error().c_str());
        return 2;
    }

    if (!line.show_limits.empty()) {
        const int status = show_limits(host, line);
        host.destroy();
        return status;
    }
    if (line.script) {
        ScriptedSessionOptions script;
        script.screenshot_path = line.screenshot;
        const ScriptedSessionReport report = run_scripted_session(host, script);
        if (!line.save.empty() && !host.save_scene(line.save))
            std::fprintf(stderr, "refhost: %s\n", host.last_error().c_str());
        write_text(line.summary, scripted_session_summary(report));
        host.destroy();
        return report.ok() ? 0 : 1;
    }

    host.show(SW_SHOWNORMAL);
    if (!host.last_error().empty())  // the scene given did not open: an empty one instead
        MessageBoxA(host.window(), host.last_error().c_str(), "Kelvaro reference host", MB_OK | MB_ICONWARNING);
    HACCEL accelerators = ReferenceHost::create_accelerators();
    const int status = ReferenceHost::run_message_loop(accelerators);
    DestroyAcceleratorTable(accelerators);
    return status;
}
