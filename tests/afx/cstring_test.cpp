#include <gtest/gtest.h>

#include "afx/cstring.h"

TEST(CString, MakeUpperChangesOnlyAsciiLetters)
{
    CString s("a1f\xe9z");
    s.MakeUpper();
    EXPECT_EQ(s.Str(), "A1F\xe9Z");
}

TEST(CString, TerminatorCutsTheTextWhereItIsPut)
{
    struct Case { const char* text; int at; const char* left; } cases[] = {
        {"G5", 0, ""}, {"5Z", 1, "5"}, {"A", 0, ""},
    };
    for (const auto& c : cases) {
        CString s(c.text);
        s.SetAt(c.at, '\0');
        EXPECT_EQ(s, c.left) << c.text;
        EXPECT_EQ(s.GetLength(), static_cast<int>(std::string(c.left).size())) << c.text;
    }
}

TEST(CString, EqualityIsByteWiseAndCaseSensitive)
{
    EXPECT_TRUE(CString("0x03BC") == "0x03BC");
    EXPECT_FALSE(CString("0x03bc") == "0x03BC");
    EXPECT_FALSE(CString("0x0378 ") == "0x0378");
    EXPECT_FALSE(CString("") == "0x0378");
}
