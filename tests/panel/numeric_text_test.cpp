// What counts as a typed number, and the value it stands for.
#include <gtest/gtest.h>

#include <cstdlib>

#include "panel/limits_dialog.h"

TEST(NumericText, DigitsPointsAndALeadingMinusPass)
{
    for (const char* text : {"0", "45", "-45.5", "-", "5.", "-.5", "1.2.3", "007", "-180.000000",
                             "99999999999", "0123456789."}) {
        EXPECT_EQ(is_numeric_text(text), 1) << '"' << text << '"';
    }
}

TEST(NumericText, EverythingElseFails)
{
    for (const char* text : {"", "+5", ".5", " 5", "5 ", "1e2", "1,5", "5-", "--5", "nan", "inf",
                             "-nan", "0x10", "\x82\x50"}) {
        EXPECT_EQ(is_numeric_text(text), 0) << '"' << text << '"';
    }
    EXPECT_EQ(is_numeric_text(nullptr), 0);
}

TEST(NumericText, ValueIsWhatAtofReadsOfIt)
{
    // The value the panel and the dialog take: a lone minus is 0, and only
    // the first point counts.
    EXPECT_EQ(static_cast<float>(atof("-")), 0.0f);
    EXPECT_EQ(static_cast<float>(atof("1.2.3")), 1.2f);
    EXPECT_EQ(static_cast<float>(atof("-.5")), -0.5f);
    EXPECT_EQ(static_cast<float>(atof("5.")), 5.0f);
}
