#include "refhost/scripted_session.h"

#include <algorithm>
#include <commctrl.h>
#include <cstdio>
#include <cstring>
#include "math/euler_angles.h"
#include "panel/resource.h"
#include "refhost/dpi_scale.h"
#include "refhost/host_commands.h"
#include "desktop/layout_check.h"
#include "desktop/message_pump.h"
#include "desktop/modal_answer.h"
#include "desktop/real_input.h"
#include "desktop/screenshot.h"
#include "desktop/step_watch.h"

namespace {

const int32_t limits_key = 0x40a00030;  // the panel component's identifier

void euler_of(const Quaternion& q, float out[3])
{
    euler_degrees_from_quaternion(q, out[0], out[1], out[2]);
}

POINT centre_of(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::string utf8_of_code_page_932(const std::string& text)
{
    const int wide_size = MultiByteToWideChar(932, 0, text.c_str(), -1, nullptr, 0);
    if (wide_size <= 0)
        return text;
    std::wstring wide(static_cast<size_t>(wide_size), L'\0');
    MultiByteToWideChar(932, 0, text.c_str(), -1, &wide[0], wide_size);
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &utf8[0], size, nullptr, nullptr);
    utf8.resize(std::strlen(utf8.c_str()));
    return utf8;
}

bool has_guide(SimScene& scene)
{
    return scene.find("#Kelvaro_Guide") != nullptr;
}

// A step that neither ends nor fails (a modal loop it started that nobody
// answers) ends the whole program after this long, with the step named.
constexpr DWORD step_limit_ms = 30000;
constexpr UINT step_overdue_status = 3;

class Session {
public:
    Session(ReferenceHost& host, const ScriptedSessionOptions& options, ScriptedSessionReport& report,
            StepWatch& watch)
        : host_(host), options_(options), report_(report), watch_(watch) {}

    void run();

private:
    // The step under way, for a failure and for the watch.
    void step(const char* name)
    {
        step_ = name;
        watch_.begin(name);
    }
    // Records the step as failed when the condition does not come true in time.
    bool expect(const std::function<bool()>& done, DWORD limit_ms = 3000)
    {
        if (pump_until(done, limit_ms))
            return true;
        report_.failures.push_back(step_);
        return false;
    }
    // A step that cannot happen as the script has it: recorded with the
    // reason, and the session ends.
    bool possible(bool condition, const std::string& reason)
    {
        if (!condition)
            report_.failures.push_back(step_ + ": " + reason);
        return condition;
    }
    bool click_on(HWND window, POINT at)
    {
        const char* why_not = nullptr;
        if (!reaches(window, at, &why_not))
            return possible(false, std::string("a click at the point would not reach the window: ") + why_not);
        click_at(at);
        return true;
    }
    bool click_joint(SimShape& joint, bool add)
    {
        const POINT at = to_screen(host_.viewport(), host_.view().client_point(joint));
        if (add)
            key_down(VK_SHIFT);
        const bool clicked = click_on(host_.viewport(), at);
        if (add) {
            pump_pending();
            key_up(VK_SHIFT);
        }
        return clicked;
    }
    bool drag(int slider, int dx, int steps, bool release)
    {
        const char* why_not = nullptr;
        return drag_thumb(item(slider), dx, steps, release, &why_not) ||
               possible(false, std::string("a press on the slider's thumb would not reach it: ") + why_not);
    }
    bool panel_on_screen()
    {
        RECT frame;
        GetWindowRect(panel_, &frame);
        return possible(frame.left >= 0 && frame.top >= 0 && frame.right <= GetSystemMetrics(SM_CXSCREEN) &&
                            frame.bottom <= GetSystemMetrics(SM_CYSCREEN),
                        "the panel is not all on the screen");
    }
    // The panel in front, as a person's click on it brings it: Windows keeps
    // an owned window above its owner, Wine without a window manager may
    // leave it under the host's window when the two overlap.
    void activate_panel(HWND focus = nullptr)
    {
        SetWindowPos(panel_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        activate_for_input(panel_, focus);
    }
    bool selection_is(std::vector<SimShape*> shapes) { return host_.scene().selection() == shapes; }
    HWND item(int id) const { return GetDlgItem(panel_, id); }

    ReferenceHost& host_;
    const ScriptedSessionOptions& options_;
    ScriptedSessionReport& report_;
    StepWatch& watch_;
    std::string step_;
    HWND panel_ = nullptr;
};

void Session::run()
{
    SimScene& scene = host_.scene();
    SimShape* joint = scene.find(options_.joint);
    SimShape* second = scene.find(options_.second_joint);
    report_.joint = options_.joint;
    for (const PluginComponent& component : host_.plugin().components())
        report_.plugin_names.push_back(component.name);
    if (joint == nullptr || !joint->is_ball_joint() || second == nullptr) {
        report_.failures.push_back("the scene lacks the joints " + options_.joint + " and " + options_.second_joint);
        return;
    }
    step("the host's window shows");
    host_.show(SW_SHOW);
    activate_for_input(host_.window(), host_.viewport());
    pump_pending();

    // The timeline to the key time, as its trackbar reports a move.
    step("the timeline moves to the key time");
    SendMessageA(host_.time_slider(), TBM_SETPOS, TRUE, static_cast<LPARAM>(options_.key_time));
    SendMessageA(host_.window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, static_cast<int>(options_.key_time)),
                 reinterpret_cast<LPARAM>(host_.time_slider()));
    expect([&] { return scene.current_time() == options_.key_time; });

    // Auto key on, with a click on its box.
    step("a click turns auto key on");
    if (!click_on(host_.auto_key_box(), centre_of(host_.auto_key_box())))
        return;
    expect([&] { return host_.host().auto_key(); });

    // Pick the joint in the viewport.
    step("a click picks the joint");
    if (!click_joint(*joint, false) || !expect([&] { return selection_is({joint}); }))
        return;
    report_.rotation_before = joint->rotation();
    euler_of(report_.rotation_before, report_.euler_before);

    // Open the panel from the Plug-ins menu.
    step("the Plug-ins menu opens the panel");
    const std::vector<PluginComponent>& components = host_.plugin().components();
    size_t panel_entry = components.size();
    for (size_t n = 0; n < components.size(); ++n) {
        if (IsEqualGUID(components[n].kind, refhost_plugin_kind))
            panel_entry = n;
    }
    if (!possible(panel_entry != components.size(), "the module offers no panel component"))
        return;
    PostMessageA(host_.window(), WM_COMMAND, MAKEWPARAM(cmd_plugin_first + panel_entry, 0), 0);
    if (!expect([&] {
            panel_ = host_.panel_window();
            return panel_ != nullptr && IsWindowVisible(panel_);
        }))
        return;
    report_.linked_with_one = IsWindowEnabled(item(IDC_PITCH_SLIDER)) != 0;
    // The user moves the panel off the figure: beside the host's window, or
    // over the shape list when the screen has no room for it there (a 150 %
    // desktop on a small screen).
    step("the panel moves off the figure");
    RECT main_frame, panel_frame, list_frame;
    GetWindowRect(host_.window(), &main_frame);
    GetWindowRect(panel_, &panel_frame);
    GetWindowRect(host_.shape_list(), &list_frame);
    POINT to = {main_frame.right + 8, main_frame.top + 60};
    if (to.x + panel_frame.right - panel_frame.left > GetSystemMetrics(SM_CXSCREEN))
        to = POINT{list_frame.left, list_frame.top};
    SetWindowPos(panel_, nullptr, to.x, to.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pump_pending();
    if (!panel_on_screen())
        return;
    report_.guide_while_open = has_guide(scene);

    // Two joints picked: the panel lets go; one again: it links again.
    step("Shift+click picks a second joint");
    if (!click_joint(*second, true))
        return;
    expect([&] { return selection_is({joint, second}); });
    report_.unlinked_with_two = pump_until([&] { return !IsWindowEnabled(item(IDC_PITCH_SLIDER)); }, 1000);
    step("a click picks the joint alone again");
    if (!click_joint(*joint, false))
        return;
    expect([&] { return selection_is({joint}) && IsWindowEnabled(item(IDC_PITCH_SLIDER)); });

    // Type an angle into the Yaw box.
    step("typing shows 35 in the Yaw box");
    activate_panel(item(IDC_YAW_EDIT));
    SendMessageA(item(IDC_YAW_EDIT), EM_SETSEL, 0, -1);
    type_text("35");
    expect([&] { return window_text(item(IDC_YAW_EDIT)) == "35"; });
    pump_for(100);

    // Drag the Pitch slider's thumb to the right.
    step("dragging the Pitch slider turns the joint");
    const Quaternion dragged_from = joint->rotation();
    activate_panel();
    if (!drag(IDC_PITCH_SLIDER, 40, 8, true))
        return;
    expect([&] {
        const Quaternion& q = joint->rotation();
        return q.w != dragged_from.w || q.x != dragged_from.x || q.y != dragged_from.y || q.z != dragged_from.z;
    });
    step("the end of the drag writes a key");
    expect([&] { return !joint->keys().empty(); }, 1500);
    pump_for(100);

    // Ten frames on, with the keyboard on the timeline (Page Down). The
    // panel relinks (notify_refresh) and shows the keyed pose.
    step("Page Down on the timeline moves ten frames on");
    activate_for_input(host_.window(), host_.time_slider());
    press_key(VK_NEXT);
    const float second_time = options_.key_time + 10;
    expect([&] { return scene.current_time() == second_time; });
    // Ctrl + drag on the Roll slider: the limits dialog, answered from inside its loop.
    step("Ctrl+drag opens the limits dialog and OK closes it");
    ModalAnswerer answerer;
    answerer.ignore(panel_);
    answerer.expect("Joint Value Setting", [](HWND dialog) {
        SetWindowTextA(GetDlgItem(dialog, IDC_LIMIT_MINIMUM), "-30");
        SetWindowTextA(GetDlgItem(dialog, IDC_LIMIT_CURRENT), "20");
        SetWindowTextA(GetDlgItem(dialog, IDC_LIMIT_MAXIMUM), "60");
        release_left_button();
        key_up(VK_CONTROL);
        post_button_click(dialog, IDOK);
    });
    activate_panel();
    key_down(VK_CONTROL);
    const bool dragged = drag(IDC_ROLL_SLIDER, 12, 3, false);
    if (dragged)
        expect([&] { return answerer.all_answered() && IsWindowEnabled(host_.window()); });
    release_left_button();
    key_up(VK_CONTROL);
    if (!dragged)
        return;
    pump_for(200);
    if (answerer.unexpected_count() != 0)
        report_.failures.push_back("a modal window nobody expected");

    // One more drag: the Roll slider pushed past its new minimum.
    step("the second drag writes a key at the new time");
    activate_panel();
    if (!drag(IDC_ROLL_SLIDER, -70, 7, true))
        return;
    expect([&] {
        const std::vector<SimMotionKey>& keys = joint->keys();
        return !keys.empty() && keys.back().time == second_time;
    });
    pump_for(100);

    // The picture, with the panel open and in front.
    step("the picture of the window");
    SetWindowPos(panel_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    pump_pending();
    RedrawWindow(host_.window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RedrawWindow(panel_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pump_for(150);
    // Every part of the host's window holds its text, at whatever DPI.
    report_.dpi = desktop_dpi();
    const std::string fault = layout_fault(host_.window());
    if (!fault.empty())
        report_.failures.push_back("the host's window: " + fault);
    if (!options_.screenshot_path.empty()) {
        if (save_windows_picture(host_.window(), panel_, options_.screenshot_path))
            report_.screenshot = options_.screenshot_path;
        else
            report_.failures.push_back("the picture could not be written");
    }
    report_.panel_text_before_close[0] = window_text(item(IDC_PITCH_EDIT));
    report_.panel_text_before_close[1] = window_text(item(IDC_YAW_EDIT));
    report_.panel_text_before_close[2] = window_text(item(IDC_ROLL_EDIT));

    // Close the panel with its caption's close box.
    step("the close box hides the panel");
    PostMessageA(panel_, WM_SYSCOMMAND, SC_CLOSE, 0);
    expect([&] { return !IsWindowVisible(panel_); });
    pump_pending();
    report_.guide_after_close = has_guide(scene);

    report_.rotation_after = joint->rotation();
    euler_of(report_.rotation_after, report_.euler_after);
    report_.keys = joint->keys();
    report_.stored_limits = joint->stream_floats(limits_key);
}

}  // namespace

ScriptedSessionReport run_scripted_session(ReferenceHost& host, const ScriptedSessionOptions& options)
{
    ScriptedSessionReport report;
    StepWatch watch(step_limit_ms, step_overdue_status);
    Session(host, options, report, watch).run();
    return report;
}

std::string scripted_session_summary(const ScriptedSessionReport& report)
{
    std::string text;
    char line[256];
    auto add = [&](const char* format, auto... values) {
        std::snprintf(line, sizeof line, format, values...);
        text += line;
        text += '\n';
    };
    std::string names;
    for (const std::string& name : report.plugin_names)
        names += (names.empty() ? "" : " | ") + utf8_of_code_page_932(name);
    add("plug-ins menu:    %s", names.c_str());
    add("joint:            %s", report.joint.c_str());
    add("desktop:          %d DPI", report.dpi);
    add("rotation before:  (w %.6f, x %.6f, y %.6f, z %.6f)", report.rotation_before.w, report.rotation_before.x,
        report.rotation_before.y, report.rotation_before.z);
    add("angles before:    pitch %.3f  yaw %.3f  roll %.3f", report.euler_before[0], report.euler_before[1],
        report.euler_before[2]);
    add("rotation after:   (w %.6f, x %.6f, y %.6f, z %.6f)", report.rotation_after.w, report.rotation_after.x,
        report.rotation_after.y, report.rotation_after.z);
    add("angles after:     pitch %.3f  yaw %.3f  roll %.3f", report.euler_after[0], report.euler_after[1],
        report.euler_after[2]);
    add("panel showed:     Pitch %s  Yaw %s  Roll %s", report.panel_text_before_close[0].c_str(),
        report.panel_text_before_close[1].c_str(), report.panel_text_before_close[2].c_str());
    add("panel linked:     one joint picked %s, two picked %s", report.linked_with_one ? "linked" : "NOT linked",
        report.unlinked_with_two ? "unlinked" : "still linked");
    add("guide figure:     %s while open, %s after close", report.guide_while_open ? "shown" : "missing",
        report.guide_after_close ? "still there" : "removed");
    add("keys written:     %d", static_cast<int>(report.keys.size()));
    for (const SimMotionKey& key : report.keys)
        add("  at %-6g (w %.6f, x %.6f, y %.6f, z %.6f)", double(key.time), key.rotation.w, key.rotation.x,
            key.rotation.y, key.rotation.z);
    if (report.stored_limits.size() == 6) {
        const std::vector<float>& l = report.stored_limits;
        add("limits stored:    pitch %g..%g  yaw %g..%g  roll %g..%g", l[0], l[1], l[2], l[3], l[4], l[5]);
    } else {
        add("limits stored:    %d floats", static_cast<int>(report.stored_limits.size()));
    }
    if (!report.screenshot.empty())
        add("screenshot:       %s", report.screenshot.c_str());
    for (const std::string& failure : report.failures)
        add("FAILED:           %s", failure.c_str());
    return text;
}

bool save_windows_picture(HWND first, HWND second, const std::string& path)
{
    RECT a, b, both;
    if (!GetWindowRect(first, &a))
        return false;
    both = a;
    if (second != nullptr && IsWindowVisible(second) && GetWindowRect(second, &b))
        UnionRect(&both, &a, &b);
    int w = 0, h = 0;
    std::vector<uint8_t> rgb;
    if (!capture_screen_rgb(both, &w, &h, &rgb))
        return false;
    return write_png_file(path, w, h, rgb);
}
