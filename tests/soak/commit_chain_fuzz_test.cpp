// The panel's edit-box commit chain fed random texts under Wine: typed keys,
// pastes and texts set while the box has the focus, long ones, code page 932
// double-byte ones and empty ones, against limits that read back cleanly and
// limits that do not (more than six decimals, out of order, NaN, 1e30), with
// the saved text sometimes empty or not a number. The panel's window
// procedure is wrapped to count how deeply EN_CHANGE nests: every input must
// come back with the chain ended within a small depth, and the process alive.
// KELVARO_FUZZ_TEXTS sets the number of inputs (default 3000).
#include <gtest/gtest.h>

#include "panel/panel_state.h"
#include "soak_world.h"

namespace {

// The outer EN_CHANGE, the one of a written-back text, and one more for a
// restored text that is then clamped; one spare.
constexpr int deepest_chain = 4;

WNDPROC panel_procedure = nullptr;
int change_depth = 0;
int deepest_seen = 0;

LRESULT CALLBACK counting_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    const bool change = message == WM_COMMAND && HIWORD(wparam) == EN_CHANGE;
    if (change) {
        ++change_depth;
        deepest_seen = std::max(deepest_seen, change_depth);
    }
    const LRESULT result = CallWindowProcA(panel_procedure, window, message, wparam, lparam);
    if (change)
        --change_depth;
    return result;
}

float random_limit(SoakRandom& random)
{
    switch (random.below(9)) {
    case 0: return std::numeric_limits<float>::quiet_NaN();
    case 1: return random.chance(50) ? 1e30f : -1e30f;
    case 2: return random.between(-9, 9) * 1e-7f;  // more than six decimals
    case 3: return random.between(-999999, 999999) * 1e-6f + random.between(-9, 9) * 1e-8f;
    default: return static_cast<float>(random.between(-180, 180)) + random.below(4) * 0.25f;
    }
}

int texts_to_try()
{
    const char* value = std::getenv("KELVARO_FUZZ_TEXTS");
    const int n = value != nullptr ? std::atoi(value) : 0;
    return n > 0 ? n : 3000;
}

}  // namespace

TEST(CommitChainFuzz, EveryTextEndsTheChainWithinFourNestedChanges)
{
    SoakWorld world(31);
    ASSERT_NE(joint_link.joint, nullptr);
    HWND panel = panel_state.panel_window;
    panel_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(panel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(counting_procedure)));
    ASSERT_NE(panel_procedure, nullptr);

    SoakRandom random(4242);
    const int edits[3] = {IDC_PITCH_EDIT, IDC_YAW_EDIT, IDC_ROLL_EDIT};
    int worst = 0;
    std::string worst_case;
    for (int n = 0; n < texts_to_try(); ++n) {
        const int edit_id = edits[random.below(3)];
        HWND edit = GetDlgItem(panel, edit_id);
        AxisChannel& channel = *axis_channel(axis_controls_for_edit(edit_id)->slider_id);
        channel.minimum = random_limit(random);
        channel.maximum = random.chance(70) ? std::max(channel.minimum, random_limit(random)) : random_limit(random);
        SetFocus(edit);
        ASSERT_EQ(GetFocus(), edit);
        if (random.chance(15))
            saved_text_of(*axis_controls_for_edit(edit_id))[0] = '\0';  // nothing saved yet
        else if (random.chance(10))
            std::strcpy(saved_text_of(*axis_controls_for_edit(edit_id)), "x");  // a saved text that is no number

        const std::string text = random_text(random);
        std::string how;
        deepest_seen = 0;
        switch (random.below(3)) {
        case 0:
            how = "paste";
            SendMessageA(edit, EM_SETSEL, 0, -1);
            SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
            break;
        case 1:
            how = "set";
            SetWindowTextA(edit, text.c_str());
            break;
        default:
            how = "type";
            for (char c : text.substr(0, 16))
                SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
            break;
        }
        ASSERT_EQ(change_depth, 0);
        if (deepest_seen > worst) {
            worst = deepest_seen;
            worst_case = how + " \"" + text.substr(0, 40) + "\" with limits " + std::to_string(channel.minimum) +
                         ".." + std::to_string(channel.maximum);
        }
        ASSERT_LE(deepest_seen, deepest_chain) << "input " << n << ": " << how << " \"" << text << "\"";
        ASSERT_TRUE(IsWindow(panel));
    }
    SetWindowLongPtrA(panel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(panel_procedure));
    std::printf("%d texts; deepest chain %d, for %s\n", texts_to_try(), worst, worst_case.c_str());
}
