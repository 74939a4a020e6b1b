#include "refhost/reference_host.h"

#include <algorithm>
#include <commctrl.h>
#include <commdlg.h>
#include <cstdio>
#include "desktop/layout_check.h"
#include "simhost/component_calls.h"
#include "refhost/dpi_scale.h"
#include "refhost/host_commands.h"
#include "refhost/scene_file.h"

namespace {

const char* const host_class_name = "KelvaroReferenceHost";
const int time_frames = 100;  // the timeline runs from frame 0 to 100

std::string file_name_of(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int depth_of(const SimShape& shape)
{
    int depth = 0;
    for (const SimShape* s = shape.parent(); s != nullptr && s->parent() != nullptr; s = s->parent())
        ++depth;
    return depth;
}

}  // namespace

ReferenceHost::ReferenceHost() = default;

ReferenceHost::~ReferenceHost()
{
    destroy();
    host_.set_call_observer(nullptr);
    if (font_ != nullptr && font_ != GetStockObject(DEFAULT_GUI_FONT))
        DeleteObject(font_);
}

bool ReferenceHost::create(const ReferenceHostOptions& options, std::string* error)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = window_proc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = host_class_name;
        registered = RegisterClassA(&wc) != 0;
    }
    // The font of messages and dialogs, which the system gives at the
    // desktop's DPI.
    if (font_ == nullptr) {
        NONCLIENTMETRICSA metrics = {};
        metrics.cbSize = sizeof metrics;
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            font_ = CreateFontIndirectA(&metrics.lfMessageFont);
        if (font_ == nullptr)
            font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    // The size asked for is at 96 DPI; scaled, it stays on the work area.
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    // Clamped from where the window starts: the place given, or the work
    // area's corner when the system places it. With x left to CW_USEDEFAULT, y
    // is no position either; with x given and y not, y is the work area's top.
    const bool placed = options.x != CW_USEDEFAULT;
    const int y = placed && options.y == CW_USEDEFAULT ? work.top : options.y;
    const int width = std::min<int>(scaled(options.width), work.right - (placed ? options.x : work.left));
    const int height = std::min<int>(scaled(options.height), work.bottom - (placed ? y : work.top));
    quit_on_close_ = options.quit_on_close;
    window_ = CreateWindowExA(0, host_class_name, "Kelvaro reference host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                              options.x, y, width, height, nullptr, nullptr, instance, this);
    if (window_ == nullptr) {
        *error = "cannot make the main window";
        return false;
    }
    // A long session: count the calls, keep none of them.
    host_.set_call_logging(false);
    host_.set_call_observer([this](const SimCall& call) { observe(call); });
    host_.set_main_window(window_);
    host_.set_uses_japanese(options.japanese);
    CheckMenuRadioItem(view_menu_, cmd_language_english, cmd_language_japanese,
                       options.japanese ? cmd_language_japanese : cmd_language_english, MF_BYCOMMAND);

    // A scene that does not open leaves its reason in last_error_, for the
    // caller to tell: a person in a message box, a run without one on
    // standard error.
    if (!options.scene_path.empty())
        open_scene(options.scene_path);
    else
        view_.set_scene(&scene());

    if (!plugin_.load(options.plugin_path)) {
        *error = plugin_.error();
        return false;
    }
    plugin_.enumerate(host_.application());
    rebuild_plugin_menu();
    // The host asks the panel component for its window once, at start-up.
    if (PluginComponent* panel = panel_component()) {
        if (panel->object != nullptr) {
            component_create_panel_window(panel->object, host_.application());
            panel_window_made_ = true;
        }
    }
    update_title();
    return true;
}

void ReferenceHost::destroy()
{
    if (window_ != nullptr)
        DestroyWindow(window_);
}

void ReferenceHost::on_destroy()
{
    // The plug-in's window goes first, then the components, then the module.
    PluginComponent* panel = panel_component();
    if (panel != nullptr && panel->object != nullptr && panel_window_made_)
        component_destroy_panel_window(panel->object);
    panel_window_made_ = false;
    plugin_.unload();
    window_ = nullptr;
}

namespace {

struct PanelSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK find_panel(HWND candidate, LPARAM data)
{
    PanelSearch* search = reinterpret_cast<PanelSearch*>(data);
    char caption[32] = "";
    GetWindowTextA(candidate, caption, sizeof caption);
    if (GetWindow(candidate, GW_OWNER) == search->owner && std::string(caption) == "Kelvaro") {
        search->found = candidate;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND ReferenceHost::panel_window() const
{
    PanelSearch search = {window_, nullptr};
    if (window_ != nullptr)
        EnumThreadWindows(GetCurrentThreadId(), find_panel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

SimShape* ReferenceHost::timeline_joint() const
{
    for (SimShape* shape : const_cast<ReferenceHost*>(this)->scene().selection()) {
        if (shape->is_ball_joint())
            return shape;
    }
    return nullptr;
}

// --- what the user does ---------------------------------------------------

void ReferenceHost::select(const std::vector<SimShape*>& shapes)
{
    scene().select(shapes);
    show_selection_in_list();
    update_timeline();
    view_.redraw();
    notify_relink();
    view_.redraw();
}

void ReferenceHost::run_component(size_t n)
{
    if (n >= plugin_.components().size())
        return;
    const PluginComponent& component = plugin_.components()[n];
    if (IsEqualGUID(component.kind, refhost_plugin_kind))
        open_panel();
    else
        run_attribute_command();
}

void ReferenceHost::open_panel()
{
    PluginComponent* panel = panel_component();
    if (panel == nullptr || panel->object == nullptr)
        return;
    component_open_panel(panel->object, host_.application(), scene().handle());
    view_.redraw();
}

uint8_t ReferenceHost::run_attribute_command()
{
    PluginComponent* command = plugin_.find(refhost_attribute_kind);
    if (command == nullptr)
        return 0;
    // Not resident: made for the command, released after it.
    void* object = plugin_.create(command->kind, command->index);
    if (object == nullptr)
        return 0;
    uint8_t answer = 0;
    for (SimShape* shape : scene().selection())
        answer = component_run_attribute_command(object, shape->shape_handle());
    component_release(object);
    notify_refresh();
    view_.redraw();
    return answer;
}

void ReferenceHost::set_time(float time)
{
    scene().set_current_time(time);
    SendMessageA(time_slider_, TBM_SETPOS, TRUE, static_cast<LPARAM>(time));
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(time));
    SetWindowTextA(time_value_, text);
    pose_from_keys();
    update_timeline();
    notify_refresh();
    view_.redraw();
}

void ReferenceHost::set_auto_key(bool on)
{
    host_.set_auto_key(on);
    SendMessageA(auto_key_box_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void ReferenceHost::set_language(bool japanese)
{
    host_.set_uses_japanese(japanese);
    CheckMenuRadioItem(view_menu_, cmd_language_english, cmd_language_japanese,
                       japanese ? cmd_language_japanese : cmd_language_english, MF_BYCOMMAND);
    plugin_.refresh_names(host_.application());
    rebuild_plugin_menu();
}

void ReferenceHost::set_view(ViewDirection direction)
{
    CheckMenuRadioItem(view_menu_, cmd_view_front, cmd_view_top, cmd_view_front + static_cast<int>(direction),
                       MF_BYCOMMAND);
    view_.set_direction(direction);
}

bool ReferenceHost::open_scene(const std::string& path)
{
    // A new scene becomes current; the old one stays in the application,
    // since the plug-in may still hold handles of it until it relinks.
    SimScene& fresh = host_.add_scene();
    std::string error;
    if (!load_scene_file(fresh, path, &error)) {
        last_error_ = error;
        return false;
    }
    host_.set_current_scene(fresh);
    scene_path_ = path;
    view_.set_scene(&fresh);
    rebuild_shape_list();
    SendMessageA(time_slider_, TBM_SETPOS, TRUE, static_cast<LPARAM>(fresh.current_time()));
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(fresh.current_time()));
    SetWindowTextA(time_value_, text);
    update_timeline();
    update_title();
    // Both a new selection and a new scene for the plug-in.
    notify_relink();
    view_.redraw();
    return true;
}

bool ReferenceHost::save_scene(const std::string& path)
{
    std::string error;
    if (!save_scene_file(scene(), path, &error)) {
        last_error_ = error;
        return false;
    }
    scene_path_ = path;
    update_title();
    return true;
}

// --- telling the plug-in --------------------------------------------------

void ReferenceHost::notify_relink()
{
    PluginComponent* panel = panel_component();
    if (panel == nullptr || panel->object == nullptr)
        return;
    uint8_t flag = 0;
    component_notify_relink(panel->object, &flag, scene().handle());
    ++relink_notifications_;
}

void ReferenceHost::notify_refresh()
{
    PluginComponent* panel = panel_component();
    if (panel == nullptr || panel->object == nullptr)
        return;
    uint8_t flag = 0;
    component_notify_refresh(panel->object, &flag, scene().handle());
    ++refresh_notifications_;
}

void ReferenceHost::observe(const SimCall& call)
{
    // Told as a call begins, before it takes effect: repaint once it has.
    switch (call.operation) {
    case SimOperation::begin_part:
    case SimOperation::begin_line:
    case SimOperation::remove:
        structure_changed_ = true;
        break;
    case SimOperation::set_rotation:
    case SimOperation::insert_key:
    case SimOperation::set_key_rotation:
    case SimOperation::end_part:
    case SimOperation::set_transformation:
    case SimOperation::set_color:
    case SimOperation::delete_attribute_stream:
    case SimOperation::open_stream_for_write:
        break;
    default:
        return;
    }
    if (!change_posted_ && window_ != nullptr) {
        change_posted_ = true;
        PostMessageA(window_, msg_scene_changed, 0, 0);
    }
}

void ReferenceHost::on_scene_changed()
{
    change_posted_ = false;
    if (structure_changed_) {
        structure_changed_ = false;
        rebuild_shape_list();
    }
    update_timeline();
    view_.redraw();
}

void ReferenceHost::pose_from_keys()
{
    // Playing the motion: every keyed joint takes its rotation at the time.
    for (SimShape* shape : scene().shapes()) {
        Quaternion q;
        if (shape->is_ball_joint() && shape->motion_enabled() && keyed_rotation_at(*shape, scene().current_time(), &q))
            shape->set_rotation(q);
    }
}

// --- the window -----------------------------------------------------------

void ReferenceHost::build_menu()
{
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, cmd_open, "&Open...\tCtrl+O");
    AppendMenuA(file, MF_STRING, cmd_save, "&Save\tCtrl+S");
    AppendMenuA(file, MF_STRING, cmd_save_as, "Save &As...");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING, cmd_exit, "E&xit");
    HMENU edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, cmd_select_next, "Select &next joint\tTab");
    AppendMenuA(edit, MF_STRING, cmd_select_all_joints, "Select &all joints\tCtrl+A");
    AppendMenuA(edit, MF_STRING, cmd_select_none, "Select n&one\tEsc");
    view_menu_ = CreatePopupMenu();
    AppendMenuA(view_menu_, MF_STRING, cmd_view_front, "&Front\tCtrl+1");
    AppendMenuA(view_menu_, MF_STRING, cmd_view_side, "&Side\tCtrl+2");
    AppendMenuA(view_menu_, MF_STRING, cmd_view_top, "&Top\tCtrl+3");
    AppendMenuA(view_menu_, MF_STRING, cmd_view_fit, "F&it the figure\tF");
    AppendMenuA(view_menu_, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(view_menu_, MF_STRING, cmd_language_english, "Plug-in names in &English");
    AppendMenuA(view_menu_, MF_STRING, cmd_language_japanese, "Plug-in names in &Japanese");
    CheckMenuRadioItem(view_menu_, cmd_view_front, cmd_view_top, cmd_view_front, MF_BYCOMMAND);
    plugin_menu_ = CreatePopupMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view_menu_), "&View");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(plugin_menu_), "&Plug-ins");
    SetMenu(window_, bar);
}

void ReferenceHost::rebuild_plugin_menu()
{
    while (GetMenuItemCount(plugin_menu_) > 0)
        DeleteMenu(plugin_menu_, 0, MF_BYPOSITION);
    const std::vector<PluginComponent>& components = plugin_.components();
    for (size_t n = 0; n < components.size() && cmd_plugin_first + static_cast<int>(n) <= cmd_plugin_last; ++n)
        AppendMenuA(plugin_menu_, MF_STRING, cmd_plugin_first + n, components[n].name.c_str());
    if (components.empty())
        AppendMenuA(plugin_menu_, MF_STRING | MF_GRAYED, 0, "(no plug-in loaded)");
    DrawMenuBar(window_);
}

void ReferenceHost::rebuild_shape_list()
{
    filling_list_ = true;
    SendMessageA(shape_list_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(shape_list_, LB_RESETCONTENT, 0, 0);
    for (SimShape* shape : scene().shapes()) {
        std::string label(static_cast<size_t>(depth_of(*shape)) * 3, ' ');
        label += shape->name();
        if (shape->is_ball_joint())
            label += "  (ball joint)";
        else if (shape->is_line())
            label += "  (line)";
        const LRESULT at = SendMessageA(shape_list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
        SendMessageA(shape_list_, LB_SETITEMDATA, at, reinterpret_cast<LPARAM>(shape));
    }
    SendMessageA(shape_list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(shape_list_, nullptr, TRUE);
    filling_list_ = false;
    show_selection_in_list();
}

void ReferenceHost::show_selection_in_list()
{
    filling_list_ = true;
    const std::vector<SimShape*>& active = scene().selection();
    const LRESULT count = SendMessageA(shape_list_, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        SimShape* shape = reinterpret_cast<SimShape*>(SendMessageA(shape_list_, LB_GETITEMDATA, i, 0));
        const bool on = std::find(active.begin(), active.end(), shape) != active.end();
        SendMessageA(shape_list_, LB_SETSEL, on, i);
    }
    filling_list_ = false;
}

void ReferenceHost::update_timeline()
{
    SendMessageA(time_slider_, TBM_CLEARTICS, TRUE, 0);
    SimShape* joint = timeline_joint();
    std::string text = "Keys: select a joint";
    if (joint != nullptr) {
        text = "Keys of " + joint->name() + ":";
        if (joint->keys().empty())
            text += " none";
        for (const SimMotionKey& key : joint->keys()) {
            char number[24];
            std::snprintf(number, sizeof number, " %g", double(key.time));
            text += number;
            SendMessageA(time_slider_, TBM_SETTIC, 0, static_cast<LPARAM>(key.time));
        }
    }
    SetWindowTextA(keys_label_, text.c_str());
    InvalidateRect(time_slider_, nullptr, TRUE);
    std::vector<float> times;
    if (joint != nullptr) {
        for (const SimMotionKey& key : joint->keys())
            times.push_back(key.time);
    }
    key_strip_.show(times, scene().current_time());
}

void ReferenceHost::update_title()
{
    std::string title = "Kelvaro reference host";
    if (!scene_path_.empty())
        title += " - " + file_name_of(scene_path_);
    SetWindowTextA(window_, title.c_str());
}

namespace {

// The file dialogs' common settings for a scene file.
OPENFILENAMEA scene_file_dialog(HWND owner, char* path, DWORD path_size, DWORD flags)
{
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = "Scenes (*.kscene)\0*.kscene\0All files\0*.*\0";
    ofn.lpstrFile = path;
    ofn.nMaxFile = path_size;
    ofn.lpstrDefExt = "kscene";
    ofn.Flags = flags;
    return ofn;
}

}  // namespace

void ReferenceHost::choose_and_open()
{
    char path[MAX_PATH] = "";
    OPENFILENAMEA ofn = scene_file_dialog(window_, path, sizeof path, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    if (GetOpenFileNameA(&ofn) && !open_scene(path))
        MessageBoxA(window_, last_error_.c_str(), "Kelvaro reference host", MB_OK | MB_ICONWARNING);
}

void ReferenceHost::choose_and_save()
{
    char path[MAX_PATH] = "";
    OPENFILENAMEA ofn = scene_file_dialog(window_, path, sizeof path, OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST);
    if (GetSaveFileNameA(&ofn) && !save_scene(path))
        MessageBoxA(window_, last_error_.c_str(), "Kelvaro reference host", MB_OK | MB_ICONWARNING);
}

void ReferenceHost::on_create()
{
    build_menu();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    auto child = [&](DWORD ex_style, const char* cls, const char* text, DWORD style, int id) {
        HWND w = CreateWindowExA(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, window_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        return w;
    };
    shape_list_ = child(WS_EX_CLIENTEDGE, "LISTBOX", "",
                        WS_VSCROLL | WS_TABSTOP | LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, id_shape_list);
    view_.create(window_, id_viewport, font_);
    view_.set_select_handler([this](const std::vector<SimShape*>& shapes) { select(shapes); });
    time_label_ = child(0, "STATIC", "Time", SS_LEFT, id_time_label);
    time_slider_ = child(0, TRACKBAR_CLASSA, "", WS_TABSTOP | TBS_HORZ | TBS_BOTTOM, id_time_slider);
    SendMessageA(time_slider_, TBM_SETRANGE, TRUE, MAKELPARAM(0, time_frames));
    SendMessageA(time_slider_, TBM_SETPAGESIZE, 0, 10);
    time_value_ = child(0, "STATIC", "0", SS_LEFT, id_time_value);
    auto_key_box_ = child(0, "BUTTON", "Auto key", WS_TABSTOP | BS_AUTOCHECKBOX, id_auto_key);
    keys_label_ = child(0, "STATIC", "Keys: select a joint", SS_LEFT, id_keys_label);
    key_strip_.create(window_, id_key_strip, time_slider_);
    key_strip_.set_time_handler([this](float time) { set_time(time); });
}

void ReferenceHost::on_size(int width, int height)
{
    // Lengths at 96 DPI, scaled; the parts that show a text as large as it.
    const int gap = scaled(8);
    const int slider_height = scaled(32), strip_height = scaled(14);
    const SIZE label = text_size(time_label_, "Time"), value = text_size(time_value_, "100"),
               check = text_size(auto_key_box_, "Auto key");
    const int timeline_height = gap + slider_height + strip_height + scaled(4) + label.cy + gap;
    const int list_width = scaled(190);
    const int view_height = std::max(scaled(10), height - timeline_height);
    MoveWindow(shape_list_, 0, 0, list_width, view_height, TRUE);
    MoveWindow(view_.window(), list_width, 0, std::max(scaled(10), width - list_width), view_height, TRUE);

    // The time row: its label, the trackbar, the time, the Auto key box at
    // the right; the trackbar takes what the others leave.
    const int row = view_height + gap, middle = row + slider_height / 2;
    const int box_width = GetSystemMetrics(SM_CXMENUCHECK) + scaled(6) + check.cx;
    const int box_height = std::max<int>(GetSystemMetrics(SM_CYMENUCHECK), check.cy) + scaled(2);
    const int box_left = width - scaled(24) - box_width;
    const int value_left = box_left - scaled(24) - value.cx;
    const int slider_left = gap + label.cx + gap / 2;
    const int slider_width = std::max(scaled(100), value_left - scaled(16) - slider_left);
    MoveWindow(time_label_, gap, middle - label.cy / 2, label.cx, label.cy, TRUE);
    MoveWindow(time_slider_, slider_left, row, slider_width, slider_height, TRUE);
    MoveWindow(time_value_, value_left, middle - value.cy / 2, value.cx, value.cy, TRUE);
    MoveWindow(auto_key_box_, box_left, middle - box_height / 2, box_width, box_height, TRUE);
    // The key strip right under the trackbar, the keys' line under both.
    MoveWindow(key_strip_.window(), slider_left, row + slider_height, slider_width, strip_height, TRUE);
    MoveWindow(keys_label_, gap, row + slider_height + strip_height + scaled(4), width - 2 * gap, label.cy, TRUE);
}

void ReferenceHost::on_command(int id, int code, HWND control)
{
    if (control == shape_list_) {
        if (code == LBN_SELCHANGE && !filling_list_) {
            std::vector<SimShape*> shapes;
            const LRESULT count = SendMessageA(shape_list_, LB_GETCOUNT, 0, 0);
            for (LRESULT i = 0; i < count; ++i) {
                if (SendMessageA(shape_list_, LB_GETSEL, i, 0) > 0)
                    shapes.push_back(reinterpret_cast<SimShape*>(SendMessageA(shape_list_, LB_GETITEMDATA, i, 0)));
            }
            select(shapes);
        }
        return;
    }
    if (control == auto_key_box_) {
        if (code == BN_CLICKED)
            host_.set_auto_key(SendMessageA(auto_key_box_, BM_GETCHECK, 0, 0) == BST_CHECKED);
        return;
    }
    if (id >= cmd_plugin_first && id <= cmd_plugin_last) {
        run_component(static_cast<size_t>(id - cmd_plugin_first));
        return;
    }
    switch (id) {
    case cmd_open: choose_and_open(); break;
    case cmd_save:
        if (scene_path_.empty())
            choose_and_save();
        else if (!save_scene(scene_path_))
            MessageBoxA(window_, last_error_.c_str(), "Kelvaro reference host", MB_OK | MB_ICONWARNING);
        break;
    case cmd_save_as: choose_and_save(); break;
    case cmd_exit: DestroyWindow(window_); break;
    case cmd_select_next:
        SetFocus(view_.window());
        SendMessageA(view_.window(), WM_KEYDOWN, VK_RIGHT, 0);
        break;
    case cmd_select_all_joints: select(view_.pickable()); break;
    case cmd_select_none: select({}); break;
    case cmd_view_front: set_view(ViewDirection::front); break;
    case cmd_view_side: set_view(ViewDirection::side); break;
    case cmd_view_top: set_view(ViewDirection::top); break;
    case cmd_view_fit: view_.fit_and_redraw(); break;
    case cmd_language_english: set_language(false); break;
    case cmd_language_japanese: set_language(true); break;
    }
}

void ReferenceHost::on_hscroll(HWND control)
{
    if (control != time_slider_)
        return;
    const int frame = static_cast<int>(SendMessageA(time_slider_, TBM_GETPOS, 0, 0));
    if (static_cast<float>(frame) != scene().current_time())
        set_time(static_cast<float>(frame));
}

LRESULT ReferenceHost::handle(UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_CREATE: on_create(); return 0;
    case WM_SIZE: on_size(LOWORD(lparam), HIWORD(lparam)); return 0;
    case WM_COMMAND: on_command(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam)); return 0;
    case WM_HSCROLL: on_hscroll(reinterpret_cast<HWND>(lparam)); return 0;
    case WM_SETFOCUS: SetFocus(view_.window()); return 0;
    case msg_scene_changed: on_scene_changed(); return 0;
    case WM_DESTROY:
        on_destroy();
        if (quit_on_close_)
            PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window_, message, wparam, lparam);
}

LRESULT CALLBACK ReferenceHost::window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    ReferenceHost* self = reinterpret_cast<ReferenceHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<ReferenceHost*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (self == nullptr || self->window_ == nullptr)
        return DefWindowProcA(window, message, wparam, lparam);
    return self->handle(message, wparam, lparam);
}

namespace {

bool is_window_of_class(HWND window, const char* wanted)
{
    char class_name[64] = "";
    return window != nullptr && GetClassNameA(window, class_name, sizeof class_name) > 0 &&
           lstrcmpiA(class_name, wanted) == 0;
}

// The host's main window for a top-level window: itself, or the window that
// owns it (the plug-in's panel is a dialog owned by ours).
HWND host_window_of(HWND top)
{
    if (is_window_of_class(top, host_class_name))
        return top;
    HWND owner = GetWindow(top, GW_OWNER);
    return is_window_of_class(owner, host_class_name) ? owner : nullptr;
}

// The keys an edit box keeps for itself even where the host has a shortcut
// on them: Ctrl with A (select all), C, V, X and Z, and Ctrl+Insert.
bool edit_box_keeps(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0 || !is_window_of_class(msg.hwnd, "Edit"))
        return false;
    switch (msg.wParam) {
    case 'A': case 'C': case 'V': case 'X': case 'Z': case VK_INSERT: return true;
    }
    return false;
}

}  // namespace

HACCEL ReferenceHost::create_accelerators()
{
    ACCEL keys[] = {
        {FVIRTKEY | FCONTROL, 'O', cmd_open},
        {FVIRTKEY | FCONTROL, 'S', cmd_save},
        {FVIRTKEY | FCONTROL, 'A', cmd_select_all_joints},
        {FVIRTKEY | FCONTROL, '1', cmd_view_front},
        {FVIRTKEY | FCONTROL, '2', cmd_view_side},
        {FVIRTKEY | FCONTROL, '3', cmd_view_top},
    };
    return CreateAcceleratorTableA(keys, sizeof keys / sizeof keys[0]);
}

bool ReferenceHost::translate_message(MSG* msg, HACCEL accelerators)
{
    HWND top = msg->hwnd != nullptr ? GetAncestor(msg->hwnd, GA_ROOT) : nullptr;
    if (top == nullptr)
        return false;
    // The host's shortcuts, for its main window, also while the plug-in's
    // panel has the focus: Ctrl+S there saves, as a person expects.
    HWND host = host_window_of(top);
    if (host != nullptr && accelerators != nullptr && !edit_box_keeps(*msg) &&
        TranslateAcceleratorA(host, accelerators, msg))
        return true;
    // The plug-in's dialog windows get the dialog manager (Tab, Enter, Esc).
    return is_window_of_class(top, "#32770") && IsDialogMessageA(top, msg);
}

int ReferenceHost::run_message_loop(HACCEL accelerators)
{
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (translate_message(&msg, accelerators))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
