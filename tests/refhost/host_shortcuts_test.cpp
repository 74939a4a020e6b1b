// The host's shortcuts (Ctrl+S, Ctrl+O, ...) while the plug-in's panel has the
// focus: the host's loop takes them, except the keys the panel's edit boxes
// keep for themselves.
#include <windows.h>
#include "panel/resource.h"
#include "refhost_fixture.h"
#include "desktop/message_pump.h"
#include "desktop/modal_answer.h"
#include "desktop/real_input.h"

namespace {

std::string clipboard_text()
{
    std::string text;
    HANDLE data = OpenClipboard(nullptr) ? GetClipboardData(CF_TEXT) : nullptr;
    if (data != nullptr)
        text = static_cast<const char*>(GlobalLock(data)), GlobalUnlock(data);
    CloseClipboard();
    return text;
}

}  // namespace

TEST(HostShortcuts, WorkFromThePanelWhoseEditBoxesKeepTheirOwn)
{
    const std::string saved = temporary_file("rhk");
    TestHost host = make_host(sample_scene_path());
    ASSERT_TRUE(host->save_scene(saved) && DeleteFileA(saved.c_str()));
    host->select({host->scene().find("Elbow")});
    host->open_panel();
    HWND yaw = GetDlgItem(host->panel_window(), IDC_YAW_EDIT);
    HACCEL shortcuts = ReferenceHost::create_accelerators();
    auto host_loop = [&](MSG* msg) { return ReferenceHost::translate_message(msg, shortcuts); };
    auto press_with_ctrl = [](WORD key) { key_down(VK_CONTROL); press_key(key); key_up(VK_CONTROL); };
    activate_for_input(host->panel_window(), yaw);

    // Ctrl+S in the panel saves; Ctrl+A and Ctrl+C in its Yaw box are the box's.
    press_with_ctrl('S');
    EXPECT_TRUE(pump_until_translated(host_loop, [&] { return GetFileAttributesA(saved.c_str()) != INVALID_FILE_ATTRIBUTES; }));
    press_with_ctrl('A');
    SendMessageA(yaw, EM_SETSEL, 0, -1);
    press_with_ctrl('C');
    EXPECT_TRUE(pump_until_translated(host_loop, [&] { return clipboard_text() == window_text(yaw); }));
    EXPECT_EQ(names_of(host->scene().selection()), (std::vector<std::string>{"Elbow"}));
    DestroyAcceleratorTable(shortcuts);
    DeleteFileA(saved.c_str());
}
