// The scripted session through the real module: what a user's mouse and keys
// do to the joint, its keys and its stored limits.
#include <windows.h>
#include <commctrl.h>
#include <cstdio>
#include <cstring>
#include "panel/resource.h"
#include "refhost/scene_file.h"
#include "refhost/scripted_session.h"
#include "refhost_fixture.h"
#include "desktop/message_pump.h"

namespace {

bool same_rotation(const Quaternion& a, const Quaternion& b)
{
    return a.w == b.w && a.x == b.x && a.y == b.y && a.z == b.z;
}

std::string failures_of(const ScriptedSessionReport& report)
{
    std::string text;
    for (const std::string& f : report.failures)
        text += f + "\n";
    return text;
}

}  // namespace

TEST(ScriptedSession, PosesTheJointKeysItAndStoresTheLimitsOnClose)
{
    TestHost host = make_host(sample_scene_path());
    ScriptedSessionOptions options;
    options.screenshot_path = temporary_file("rhs");
    const ScriptedSessionReport report = run_scripted_session(*host, options);
    ASSERT_TRUE(report.ok()) << failures_of(report);

    SimShape* elbow = host->scene().find("Elbow");
    ASSERT_NE(elbow, nullptr);
    // The sample's elbow: 30 degrees about z.
    EXPECT_NEAR(report.rotation_before.w, 0.9659258f, 1e-6f);
    EXPECT_NEAR(report.euler_before[2], 30.0f, 1e-3f);
    EXPECT_FALSE(same_rotation(report.rotation_before, report.rotation_after));
    EXPECT_TRUE(same_rotation(report.rotation_after, elbow->rotation()));

    // The last drag pushed Roll past the dialog's minimum: held at -30.
    EXPECT_EQ(report.panel_text_before_close[2], "-30.000000");
    EXPECT_NEAR(report.euler_after[2], -30.0f, 1e-3f);

    // One key per drag end, at the two times the timeline stood at; the last
    // one holds the final rotation.
    ASSERT_EQ(report.keys.size(), 2u);
    EXPECT_EQ(report.keys[0].time, 10.0f);
    EXPECT_EQ(report.keys[1].time, 20.0f);
    EXPECT_TRUE(same_rotation(report.keys[1].rotation, report.rotation_after));
    EXPECT_FALSE(same_rotation(report.keys[0].rotation, report.keys[1].rotation));

    // Closing the panel stored the limits set in the dialog with the shape.
    EXPECT_EQ(report.stored_limits, (std::vector<float>{-180, 180, -180, 180, -30, 60}));

    EXPECT_TRUE(report.linked_with_one);
    EXPECT_TRUE(report.unlinked_with_two);
    EXPECT_TRUE(report.guide_while_open);
    EXPECT_FALSE(report.guide_after_close);
    EXPECT_GE(host->relink_notifications(), 3);  // one click, Shift+click, click again
    EXPECT_GE(host->refresh_notifications(), 2);  // two moves of the timeline
    EXPECT_EQ(host->host().errors().size(), 0u);

    // The picture is a PNG that spans both windows: the host's and, beside
    // it, the panel.
    ASSERT_EQ(report.screenshot, options.screenshot_path);
    FILE* file = std::fopen(report.screenshot.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    unsigned char head[24] = {};
    EXPECT_EQ(std::fread(head, 1, sizeof head, file), sizeof head);
    std::fclose(file);
    DeleteFileA(report.screenshot.c_str());
    EXPECT_EQ(std::memcmp(head, "\x89PNG\r\n\x1a\n", 8), 0);
    const long width = (long(head[16]) << 24) | (head[17] << 16) | (head[18] << 8) | head[19];
    RECT main_frame, panel_frame;
    GetWindowRect(host->window(), &main_frame);
    GetWindowRect(host->panel_window(), &panel_frame);
    EXPECT_EQ(width, panel_frame.right - main_frame.left);

    const std::string summary = scripted_session_summary(report);
    EXPECT_NE(summary.find("limits stored:    pitch -180..180  yaw -180..180  roll -30..60"), std::string::npos)
        << summary;
    EXPECT_EQ(summary.find("FAILED"), std::string::npos) << summary;
}

TEST(ScriptedSession, StoredLimitsSurviveSavingAndAFreshHost)
{
    const std::string saved = temporary_file("rhs");
    {
        TestHost host = make_host(sample_scene_path());
        const ScriptedSessionReport report = run_scripted_session(*host, ScriptedSessionOptions());
        ASSERT_TRUE(report.ok()) << failures_of(report);
        ASSERT_TRUE(host->save_scene(saved)) << host->last_error();
        host->destroy();
    }
    // Closing the host freed the module: the next one starts it afresh.
    ASSERT_EQ(GetModuleHandleA("Kelvaro.dll"), nullptr);

    TestHost host = make_host(saved);
    SimShape* elbow = host->scene().find("Elbow");
    ASSERT_NE(elbow, nullptr);
    EXPECT_EQ(stored_limits(*elbow), (std::vector<float>{-180, 180, -180, 180, -30, 60}));
    ASSERT_EQ(elbow->keys().size(), 2u);
    EXPECT_EQ(host->scene().current_time(), 20.0f);

    host->show(SW_SHOW);
    host->select({elbow});
    host->open_panel();
    HWND panel = host->panel_window();
    ASSERT_TRUE(pump_until([&] { return panel != nullptr && IsWindowVisible(panel); }));
    HWND roll = GetDlgItem(panel, IDC_ROLL_SLIDER);
    EXPECT_EQ(SendMessageA(roll, TBM_GETSELSTART, 0, 0), -30);
    EXPECT_EQ(SendMessageA(roll, TBM_GETSELEND, 0, 0), 60);
    EXPECT_EQ(SendMessageA(GetDlgItem(panel, IDC_PITCH_SLIDER), TBM_GETSELSTART, 0, 0), -180);
    host->destroy();
    DeleteFileA(saved.c_str());
}

TEST(ScriptedSession, TheSummaryShowsThePluginNamesInUtf8)
{
    ScriptedSessionReport report;
    report.plugin_names = {"Kelvaro\x91\x80\x8d\xec...", "Kelvaro\x91\xae\x90\xab\x83N\x83\x8a\x83\x41"};
    const std::string summary = scripted_session_summary(report);
    EXPECT_NE(summary.find("plug-ins menu:    Kelvaro\xe6\x93\x8d\xe4\xbd\x9c... | "
                           "Kelvaro\xe5\xb1\x9e\xe6\x80\xa7\xe3\x82\xaf\xe3\x83\xaa\xe3\x82\xa2\n"),
              std::string::npos)
        << summary;
}
