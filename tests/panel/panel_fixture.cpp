#include "panel_fixture.h"

#include <cstdio>

#include "module/module_instance.h"
#include "support/requested_common_controls.h"

namespace {

const char position_key[] = "Software\\TAVIREK\\Kelvaro";

LRESULT CALLBACK host_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return DefWindowProcA(window, message, wparam, lparam);
}

HWND make_host_window()
{
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = host_window_proc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = "KelvaroTestHostWindow";
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&window_class);
    return CreateWindowA("KelvaroTestHostWindow", "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                         200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

StoredPositionKeeper::StoredPositionKeeper()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, position_key, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        size_ = sizeof data_;
        existed_ = RegQueryValueExA(key, "Pos", nullptr, &type_, data_, &size_) == ERROR_SUCCESS;
        RegCloseKey(key);
    }
}

StoredPositionKeeper::~StoredPositionKeeper()
{
    if (existed_)
        write_stored_position(type_, data_, size_);
    else
        delete_stored_position();
}

void write_stored_position(DWORD type, const void* data, DWORD size)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, position_key, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "Pos", 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void delete_stored_position()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, position_key, 0, KEY_WRITE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, "Pos");
    RegCloseKey(key);
}

bool read_stored_position(DWORD* value)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, position_key, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    DWORD size = sizeof *value;
    bool ok = RegQueryValueExA(key, "Pos", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
                  ERROR_SUCCESS &&
              type == REG_DWORD && size == sizeof *value;
    RegCloseKey(key);
    return ok;
}

std::string angle_text(float angle)
{
    char text[64];
    snprintf(text, sizeof text, "%6f", static_cast<double>(angle));
    return text;
}

void PanelTest::SetUp()
{
    module_instance = GetModuleHandleA(nullptr);
    // Each test runs in a process of its own; this keeps them apart also
    // when several run in one process (a --gtest_filter run).
    joint_link = JointLink{};
    panel_state = PanelState{};
    position_keeper = new StoredPositionKeeper;
    host_window = make_host_window();
    ASSERT_NE(host_window, nullptr);
    host.set_main_window(host_window);
    joint = &scene.add_ball_joint("Elbow");
}

void PanelTest::TearDown()
{
    host.clear_faults();
    unlink();
    destroy_panel_window();
    DestroyWindow(host_window);
    delete position_keeper;
    EXPECT_EQ(host.outstanding_references(), 0) << host.outstanding_report();
    EXPECT_TRUE(host.errors().empty()) << host.errors().front();
}

void PanelTest::create_panel()
{
    create_panel_window(host.application());
    ASSERT_NE(panel_state.panel_window, nullptr);
    // The panel's controls are of the version this program asks for: in the
    // V6.* runs version 6, as in a current host. Only a version 6 button
    // answers BCM_GETIDEALSIZE; Wine's comctl32 answers DllGetVersion with
    // 5.81 under both.
    SIZE ideal = {};
    const bool version_6 =
        SendMessageA(item(IDC_UNDO), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)) != 0;
    ASSERT_EQ(version_6 ? 6 : 5, requested_common_controls);
}

void PanelTest::open_panel()
{
    joint_link.host = host.application();
    joint_link.scene = scene.handle();
    relink();
    ShowWindow(panel_state.panel_window, SW_SHOW);
    panel_state.shown = 1;
}

void PanelTest::open_linked_panel()
{
    scene.select(*joint);
    create_panel();
    open_panel();
    ASSERT_NE(joint_link.joint, nullptr);
}

std::string PanelTest::item_text(int id) const
{
    char text[256] = {};
    GetDlgItemTextA(panel_state.panel_window, id, text, sizeof text);
    return text;
}

int PanelTest::slider_position(int slider_id) const
{
    return static_cast<int>(SendDlgItemMessageA(panel(), slider_id, TBM_GETPOS, 0, 0));
}

int PanelTest::selection_start(int slider_id) const
{
    return static_cast<int>(SendDlgItemMessageA(panel(), slider_id, TBM_GETSELSTART, 0, 0));
}

int PanelTest::selection_end(int slider_id) const
{
    return static_cast<int>(SendDlgItemMessageA(panel(), slider_id, TBM_GETSELEND, 0, 0));
}
