// The limits dialog on its own, run as the panel runs it, answered from inside
// its modal loop: what it shows, what it accepts, and its two messages.
#include "panel_fixture.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "module/module_instance.h"
#include "panel/limits_dialog.h"
#include "desktop/message_pump.h"
#include "desktop/real_input.h"
#include "support/limits_answers.h"
#include "support/saved_screenshot.h"

namespace {

// The two messages as the code page 932 bytes of
// "数値を入力してください" and "入力値が矛盾しています".
const std::string not_a_number_bytes =
    "\x90\x94\x92\x6c\x82\xf0\x93\xfc\x97\xcd\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2";
const std::string inconsistent_bytes =
    "\x93\xfc\x97\xcd\x92\x6c\x82\xaa\x96\xb5\x8f\x82\x82\xb5\x82\xc4\x82\xa2\x82\xdc\x82\xb7";

const wchar_t not_a_number_wide[] =
    L"\u6570\u5024\u3092\u5165\u529b\u3057\u3066\u304f\u3060\u3055\u3044";
const wchar_t inconsistent_wide[] =
    L"\u5165\u529b\u5024\u304c\u77db\u76fe\u3057\u3066\u3044\u307e\u3059";

const char dialog_caption[] = "Joint Value Setting";

// A message reads as the Japanese text, as the box holds it, whatever the
// system's code page; under code page 932 its ANSI reading is the module's
// own bytes. (The suite runs these once more under code page 1252.)
void expect_message_text(const ModalWindowSeen& message, const std::string& bytes, const wchar_t* expected)
{
    if (const char* code_page = std::getenv("KELVARO_EXPECTED_CODE_PAGE")) {
        EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(code_page)));
    }
    EXPECT_EQ(message.wide_text, expected);
    if (GetACP() == 932) {
        EXPECT_EQ(message.text, bytes);
    }
}

struct FieldTexts {
    std::string minimum, current, maximum;
};

FieldTexts read_fields(HWND dialog)
{
    return {window_text(GetDlgItem(dialog, IDC_LIMIT_MINIMUM)),
            window_text(GetDlgItem(dialog, IDC_LIMIT_CURRENT)),
            window_text(GetDlgItem(dialog, IDC_LIMIT_MAXIMUM))};
}

class LimitsDialogTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        joint_link.active_slider = IDC_PITCH_SLIDER;
        joint_link.pitch = {10, 7, -45.5f, 45.7f};
        joint_link.yaw = {1, 1, -180, 180};
        joint_link.roll = {2, 2, -180, 180};
    }

    INT_PTR run_dialog()
    {
        return DialogBoxParamA(module_instance, MAKEINTRESOURCEA(IDD_LIMITS_DIALOG), host_window,
                               limits_dialog_proc, 0);
    }

    // In one dialog, for each case: fills the fields and presses OK, reads and
    // closes the message box that must follow, and reads the fields of the
    // dialog, still open, after it. Then cancels. Answers, per case, the
    // message seen and the fields after it.
    void expect_rejections(const std::vector<FieldTexts>& cases,
                           std::vector<ModalWindowSeen>* messages, std::vector<FieldTexts>* after)
    {
        ModalAnswerer answerer;
        after->assign(cases.size(), FieldTexts());
        for (size_t i = 0; i < cases.size(); ++i) {
            const FieldTexts& typed = cases[i];
            ModalAnswerer::Answer fill = fill_limits_and_press(
                typed.minimum.c_str(), typed.current.c_str(), typed.maximum.c_str(), IDOK);
            answerer.expect(dialog_caption, [=](HWND dialog) {
                if (i > 0)
                    (*after)[i - 1] = read_fields(dialog);
                fill(dialog);
            });
            answerer.expect("Error", [](HWND box) { post_button_click(box, IDOK); });
        }
        answerer.expect(dialog_caption, [=](HWND dialog) {
            after->back() = read_fields(dialog);
            post_button_click(dialog, IDCANCEL);
        });
        EXPECT_EQ(run_dialog(), 0);
        EXPECT_TRUE(answerer.all_answered());
        EXPECT_EQ(answerer.unexpected_count(), 0);
        const std::vector<ModalWindowSeen>& seen = answerer.seen();
        ASSERT_EQ(seen.size(), 2 * cases.size() + 1);
        messages->clear();
        for (size_t i = 0; i < cases.size(); ++i) {
            messages->push_back(seen[2 * i + 1]);
            EXPECT_EQ(seen[2 * i + 1].owner, seen[0].window);
        }
    }

    void expect_nothing_stored()
    {
        EXPECT_EQ(joint_link.pitch.current, 10);
        EXPECT_EQ(joint_link.pitch.last_applied, 7);
        EXPECT_EQ(joint_link.pitch.minimum, -45.5f);
        EXPECT_EQ(joint_link.pitch.maximum, 45.7f);
    }
};

}  // namespace

TEST_F(LimitsDialogTest, ShowsTheActiveAxisAndStoresAPinnedAxis)
{
    FieldTexts shown;
    ModalAnswerer answerer;
    answerer.expect(dialog_caption, [&](HWND dialog) {
        shown = read_fields(dialog);
        // For the picture only: let the new window reach the screen first.
        pump_for(300);
        RedrawWindow(dialog, nullptr, nullptr,
                     RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        pump_pending();
        save_window_screenshot(dialog, "limits_dialog.png");
        fill_limits_and_press("30", "30", "30", IDOK)(dialog);
    });
    EXPECT_EQ(run_dialog(), 1);
    EXPECT_EQ(shown.minimum, "-45.500000");
    EXPECT_EQ(shown.current, "10.000000");
    EXPECT_EQ(shown.maximum, "45.700001");  // the float 45.7 widened
    EXPECT_EQ(answerer.seen()[0].owner, host_window);

    EXPECT_EQ(joint_link.pitch.minimum, 30);
    EXPECT_EQ(joint_link.pitch.current, 30);
    EXPECT_EQ(joint_link.pitch.maximum, 30);
    EXPECT_EQ(joint_link.pitch.last_applied, 7);  // the panel applies the difference next
    EXPECT_EQ(joint_link.yaw.current, 1);
    EXPECT_EQ(joint_link.roll.current, 2);
}

TEST_F(LimitsDialogTest, AcceptsTheWholeRangeAndALoneMinusAsZero)
{
    {
        ModalAnswerer answerer;
        answerer.expect(dialog_caption, fill_limits_and_press("-180", "0", "180", IDOK));
        EXPECT_EQ(run_dialog(), 1);
        EXPECT_EQ(joint_link.pitch.minimum, -180);
        EXPECT_EQ(joint_link.pitch.current, 0);
        EXPECT_EQ(joint_link.pitch.maximum, 180);
    }
    {
        joint_link.active_slider = IDC_ROLL_SLIDER;
        ModalAnswerer answerer;
        answerer.expect(dialog_caption, fill_limits_and_press("-10", "-", "10.", IDOK));
        EXPECT_EQ(run_dialog(), 1);
        EXPECT_EQ(joint_link.roll.minimum, -10);
        EXPECT_EQ(joint_link.roll.current, 0);
        EXPECT_EQ(joint_link.roll.maximum, 10);
        EXPECT_EQ(joint_link.pitch.maximum, 180);
    }
}

TEST_F(LimitsDialogTest, ValuesOutOfOrderOrRangeGiveTheSecondMessageAndKeepTheTexts)
{
    const std::vector<FieldTexts> cases = {
        {"-180.5", "0", "10"},       // below the range
        {"0", "0", "180.5"},         // above it
        {"10", "5", "20"},           // current below the minimum
        {"-10", "15", "12"},         // current above the maximum
        {"99999999999", "0", "0"},   // eleven nines
        {"-10", "0", "12345678901x"} // judged on its first eleven characters: a number
    };
    std::vector<ModalWindowSeen> messages;
    std::vector<FieldTexts> after;
    expect_rejections(cases, &messages, &after);
    ASSERT_EQ(messages.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        const FieldTexts& typed = cases[i];
        SCOPED_TRACE(typed.minimum + " " + typed.current + " " + typed.maximum);
        EXPECT_EQ(messages[i].caption, "Error");
        expect_message_text(messages[i], inconsistent_bytes, inconsistent_wide);
        EXPECT_TRUE(messages[i].ok_only);
        EXPECT_TRUE(messages[i].information_icon);
        EXPECT_EQ(after[i].minimum, typed.minimum);
        EXPECT_EQ(after[i].current, typed.current);
        EXPECT_EQ(after[i].maximum, typed.maximum);
    }
    expect_nothing_stored();
}

TEST_F(LimitsDialogTest, TextsThatAreNoNumberGiveTheFirstMessage)
{
    const std::vector<FieldTexts> cases = {
        {"", "0", "10"},     {"0", "1e2", "10"}, {"0", "0", "+5"},   {"nan", "0", "10"},
        {"0", " 5", "10"},   {"0", "5,5", "10"}, {"0", "5-", "10"},  {".5", "0", "10"},
        {"0", "0", "inf"},
    };
    std::vector<ModalWindowSeen> messages;
    std::vector<FieldTexts> after;
    expect_rejections(cases, &messages, &after);
    ASSERT_EQ(messages.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].minimum + "|" + cases[i].current + "|" + cases[i].maximum);
        EXPECT_EQ(messages[i].caption, "Error");
        expect_message_text(messages[i], not_a_number_bytes, not_a_number_wide);
        EXPECT_TRUE(messages[i].ok_only);
        EXPECT_TRUE(messages[i].information_icon);
    }
    expect_nothing_stored();
}

TEST_F(LimitsDialogTest, OnlyTheFirstElevenCharactersOfAFieldCount)
{
    ModalAnswerer answerer;
    // "-45.5000000" and "45.50000000" are read; the rest would be no number.
    answerer.expect(dialog_caption,
                    fill_limits_and_press("-45.50000000009xyz", "0", "45.50000000abc", IDOK));
    EXPECT_EQ(run_dialog(), 1);
    EXPECT_EQ(joint_link.pitch.minimum, -45.5f);
    EXPECT_EQ(joint_link.pitch.maximum, 45.5f);
}

TEST_F(LimitsDialogTest, NanAndHugeLimitsFromARecordShowAndCanBeReplaced)
{
    joint_link.pitch.current = NAN;
    joint_link.pitch.minimum = NAN;
    joint_link.pitch.maximum = -3.0e38f;
    FieldTexts shown;
    ModalWindowSeen message;
    ModalAnswerer answerer;
    answerer.expect(dialog_caption, [&](HWND dialog) {
        shown = read_fields(dialog);
        post_button_click(dialog, IDOK);  // as shown: "nan" is no number
    });
    answerer.expect("Error", [](HWND box) { post_button_click(box, IDOK); });
    answerer.expect(dialog_caption, fill_limits_and_press("-90", "0", "90", IDOK));
    EXPECT_EQ(run_dialog(), 1);
    EXPECT_EQ(answerer.unexpected_count(), 0);
    EXPECT_EQ(shown.minimum, "   nan");
    EXPECT_EQ(shown.current, "   nan");
    EXPECT_EQ(shown.maximum.substr(0, 4), "-300");
    EXPECT_EQ(shown.maximum.substr(shown.maximum.size() - 7), ".000000");
    ASSERT_GE(answerer.seen().size(), 2u);
    expect_message_text(answerer.seen()[1], not_a_number_bytes, not_a_number_wide);
    EXPECT_EQ(joint_link.pitch.minimum, -90);
    EXPECT_EQ(joint_link.pitch.current, 0);
    EXPECT_EQ(joint_link.pitch.maximum, 90);
}

TEST_F(LimitsDialogTest, RealTypingWithEnterInTheDialogAndOnTheMessage)
{
    ModalAnswerer answerer;
    answerer.expect(dialog_caption, type_limits_and_enter("-20", "+5", "20"));
    answerer.expect("Error", [](HWND box) {
        activate_for_input(box);
        press_key(VK_RETURN);
    });
    answerer.expect(dialog_caption, type_limits_and_enter("-20", "5", "20"));
    EXPECT_EQ(run_dialog(), 1);
    EXPECT_EQ(answerer.unexpected_count(), 0);
    ASSERT_EQ(answerer.seen().size(), 3u);
    expect_message_text(answerer.seen()[1], not_a_number_bytes, not_a_number_wide);
    EXPECT_EQ(joint_link.pitch.minimum, -20);
    EXPECT_EQ(joint_link.pitch.current, 5);
    EXPECT_EQ(joint_link.pitch.maximum, 20);
}

TEST_F(LimitsDialogTest, EscapeCancelsAndStoresNothing)
{
    ModalAnswerer answerer;
    answerer.expect(dialog_caption, [](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_LIMIT_MINIMUM, "-1");
        activate_for_input(dialog);
        press_key(VK_ESCAPE);
    });
    EXPECT_EQ(run_dialog(), 0);
    expect_nothing_stored();
}

TEST_F(LimitsDialogTest, LosingActivationShowsTheDialogAgain)
{
    bool visible_after = false;
    ModalAnswerer answerer;
    answerer.expect(dialog_caption, [&](HWND dialog) {
        ShowWindow(dialog, SW_HIDE);
        SendMessageA(dialog, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(host_window));
        visible_after = IsWindowVisible(dialog) != FALSE;
        post_button_click(dialog, IDCANCEL);
    });
    EXPECT_EQ(run_dialog(), 0);
    EXPECT_TRUE(visible_after);
}
