// AutoShade: the panel rolls up to a strip of its caption while the cursor is
// off it, and comes back when the cursor is on the strip.
#include "panel_fixture.h"

#include "desktop/message_pump.h"
#include "desktop/real_input.h"

namespace {

SIZE window_size(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

class AutoShadeTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        open_linked_panel();
        activate_for_input(panel());
        strip_height = GetSystemMetrics(SM_CYSMCAPTION) + 2 * GetSystemMetrics(SM_CYDLGFRAME);
    }

    bool rolled_up() const
    {
        SIZE size = window_size(panel());
        return size.cx == 120 && size.cy == strip_height;
    }
    bool full_size() const
    {
        SIZE size = window_size(panel());
        return size.cx == panel_state.full_width && size.cy == panel_state.full_height;
    }

    int strip_height = 0;
};

}  // namespace

TEST_F(AutoShadeTest, TickedPanelRollsUpWhenTheCursorLeavesAndOpensOnTheStrip)
{
    click_at(center_of(item(IDC_AUTOSHADE)));
    ASSERT_TRUE(pump_until([&] { return panel_state.timer_id != 0; }));
    EXPECT_EQ(SendMessageA(item(IDC_AUTOSHADE), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(full_size());  // the cursor is on the check box

    RECT frame;
    GetWindowRect(panel(), &frame);
    move_cursor({frame.right + 50, frame.bottom + 50});
    DWORD left_at = GetTickCount();
    ASSERT_TRUE(pump_until([&] { return rolled_up(); }, 1000));
    // One tick of the timer, with room for a slow machine.
    EXPECT_LT(GetTickCount() - left_at, 500u);

    // Onto the strip's caption: the full size comes back.
    RECT strip;
    GetWindowRect(panel(), &strip);
    move_cursor({strip.left + 60, strip.top + strip_height / 2});
    ASSERT_TRUE(pump_until([&] { return full_size(); }, 1000));

    // The right and bottom edges count as inside.
    GetWindowRect(panel(), &frame);
    move_cursor({frame.right, frame.bottom});
    pump_for(300);
    EXPECT_TRUE(full_size());
}

TEST_F(AutoShadeTest, UntickingStopsTheTimerAndBringsThePanelBackWhole)
{
    click_at(center_of(item(IDC_AUTOSHADE)));
    ASSERT_TRUE(pump_until([&] { return panel_state.timer_id != 0; }));
    RECT frame;
    GetWindowRect(panel(), &frame);
    move_cursor({frame.right + 50, frame.bottom + 50});
    ASSERT_TRUE(pump_until([&] { return rolled_up(); }, 1000));

    // The box kept the focus as the panel rolled up: the space bar unticks it.
    ASSERT_EQ(GetFocus(), item(IDC_AUTOSHADE));
    press_key(VK_SPACE);
    ASSERT_TRUE(pump_until([&] { return SendMessageA(item(IDC_AUTOSHADE), BM_GETCHECK, 0, 0) == BST_UNCHECKED; }));
    pump_for(300);
    EXPECT_TRUE(full_size());
    EXPECT_FALSE(KillTimer(panel(), 1));  // no timer left to kill
}

TEST_F(AutoShadeTest, HidingKeepsTheTimerAndDestroyingStopsIt)
{
    SendMessageA(item(IDC_AUTOSHADE), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(panel(), WM_COMMAND, MAKEWPARAM(IDC_AUTOSHADE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(item(IDC_AUTOSHADE)));
    UINT_PTR timer = panel_state.timer_id;
    ASSERT_NE(timer, 0u);

    SendMessageA(panel(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(panel_state.timer_id, timer);

    HWND old_panel = panel();
    destroy_panel_window();
    EXPECT_EQ(panel_state.timer_id, 0u);
    EXPECT_FALSE(IsWindow(old_panel));

    create_panel();
    EXPECT_EQ(SendMessageA(item(IDC_AUTOSHADE), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(panel_state.timer_id, 0u);
    EXPECT_TRUE(full_size());
}
