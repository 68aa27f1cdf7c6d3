/// @file cp1252_test.cpp Windows-1252 <-> UTF-8 conversion and character counting.
#include <gtest/gtest.h>

#include <string>

#include "platform/cp1252.h"

namespace {

TEST(Cp1252, EveryByteSurvivesARoundTrip)
{
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = Cp1252ToUtf8(byte);
        EXPECT_EQ(Utf8Length(utf8), 1u) << "byte " << b;
        EXPECT_EQ(Utf8ToCp1252(utf8), byte) << "byte " << b;
    }
}

TEST(Cp1252, SpecialCharactersAndUndefinedCodes)
{
    struct Case {
        unsigned char Byte;
        const char* Utf8;
    };
    const Case cases[] = {
        {0x80, "\u20AC"},    // €
        {0x82, "\u201A"},    // ‚
        {0x83, "\u0192"},    // ƒ
        {0x85, "\u2026"},    // …
        {0x8A, "\u0160"},    // Š
        {0x8C, "\u0152"},    // Œ
        {0x8E, "\u017D"},    // Ž
        {0x92, "\u2019"},    // ’
        {0x96, "\u2013"},    // –
        {0x97, "\u2014"},    // —
        {0x98, "\u02DC"},    // ˜
        {0x99, "\u2122"},    // ™
        {0x9F, "\u0178"},    // Ÿ
        {0x81, "\xC2\x81"},  // undefined in 1252: kept as the C1 control
        {0x8D, "\xC2\x8D"}, {0x8F, "\xC2\x8F"}, {0x90, "\xC2\x90"},
        {0x9D, "\xC2\x9D"}, {0xA0, "\u00A0"},   {0xB4, "\u00B4"},  // ´
        {0xF6, "\u00F6"},                                          // ö
        {0xFF, "\u00FF"},   {0x41, "A"},
    };
    for (const Case& c : cases) {
        const std::string byte(1, static_cast<char>(c.Byte));
        EXPECT_EQ(Cp1252ToUtf8(byte), c.Utf8) << "byte " << int{c.Byte};
        EXPECT_EQ(Utf8ToCp1252(c.Utf8), byte) << "byte " << int{c.Byte};
    }
}

TEST(Cp1252, NamesRoundTrip)
{
    for (const char* text : {"Herby\u00B4s Herb", "M\u00F6chten", "\u20AC", "Gr\u00FC\u00DFe \u201Ezum\u201C Bier"}) {
        const std::string bytes = Utf8ToCp1252(text);
        EXPECT_EQ(bytes.size(), Utf8Length(text)) << text;
        EXPECT_EQ(Cp1252ToUtf8(bytes), text);
    }
    EXPECT_EQ(Utf8ToCp1252("Herby\u00B4s Herb"), "Herby\xB4s Herb");
    EXPECT_EQ(Utf8ToCp1252("M\u00F6chten"),
              "M\xF6"
              "chten");
}

TEST(Cp1252, UnmappableAndMalformedBecomeQuestionMarks)
{
    struct Case {
        const char* Name;
        std::string Utf8;
        std::string Expected;
    };
    const Case cases[] = {
        {"CJK", "a\u4E2Db", "a?b"},
        {"emoji (4 bytes)", "a\U0001F37Ab", "a?b"},
        {"C1 control without a 1252 code", "\xC2\x80", "?"},
        {"lone continuation byte",
         "a\x80"
         "b",
         "a?b"},
        {"invalid lead byte",
         "a\xFF"
         "b",
         "a?b"},
        {"overlong slash",
         "a\xC0\xAF"
         "b",
         "a??b"},
        {"surrogate",
         "a\xED\xA0\x80"
         "b",
         "a???b"},
        {"beyond U+10FFFF",
         "a\xF4\x90\x80\x80"
         "b",
         "a????b"},
        {"truncated at the end", "ab\xE2\x82", "ab?"},
        {"truncated before ASCII",
         "\xE2\x82"
         "a",
         "?a"},
        {"embedded NUL kept", std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utf8ToCp1252(c.Utf8), c.Expected) << c.Name;
}

TEST(Cp1252, CountsAndPrefixesCharactersNotBytes)
{
    const std::string text = "M\u00F6chten \u20AC\U0001F37A";  // 10 characters, 15 bytes
    EXPECT_EQ(Utf8Length(text), 10u);
    EXPECT_EQ(Utf8Prefix(text, 2), "M\u00F6");
    EXPECT_EQ(Utf8Prefix(text, 9), "M\u00F6chten \u20AC");
    EXPECT_EQ(Utf8Prefix(text, 10), text);
    EXPECT_EQ(Utf8Prefix(text, 100), text);
    EXPECT_EQ(Utf8Prefix(text, 0), "");
    EXPECT_EQ(Utf8Length(""), 0u);

    // A bad piece counts as one character, as it will once written ('?'), and a prefix never
    // cuts a good character in half.
    const std::string bad =
        "a\xE2\x82"
        "b\xC3\xA4";
    EXPECT_EQ(Utf8Length(bad), Utf8ToCp1252(bad).size());
    EXPECT_EQ(Utf8Length(bad), 4u);
    EXPECT_EQ(Utf8Prefix(bad, 2), "a\xE2\x82");
    EXPECT_EQ(Utf8Prefix(bad, 4), bad);
}

// What a name field takes, what a file makes of a name, and what a terminal may be shown.
TEST(Cp1252, LinesOfAFileAndTextsForATerminal)
{
    struct Case {
        const char* Name;
        std::string Text;
        bool Fits;              ///< FitsCp1252Line
        std::string AsLine;     ///< AsCp1252Line
        std::string Printable;  ///< ControlsReplaced
    };
    const Case cases[] = {
        {"plain", "Kromberger", true, "Kromberger", "Kromberger"},
        {"1252 letters", "M\u00FCller \u20AC \u201Ezum\u201C", true, "M\u00FCller \u20AC \u201Ezum\u201C",
         "M\u00FCller \u20AC \u201Ezum\u201C"},
        {"a question mark of its own", "Who?", true, "Who?", "Who?"},
        {"CJK", "\u4E2D\u6587\u540D\u5B57", false, "????", "\u4E2D\u6587\u540D\u5B57"},
        {"emoji", "Bier \U0001F37A", false, "Bier ?", "Bier \U0001F37A"},
        {"escape sequence", "\x1B[31mRed", false, " [31mRed", "?[31mRed"},
        {"tab and bell", "a\tb\x07", false, "a b ", "a?b?"},
        {"delete", "a\x7F", false, "a ", "a?"},
        {"C1 control (CSI)",
         "a\u009B"
         "2J",
         false, "a 2J", "a?2J"},
        {"1252's undefined code", "a\u0081", false, "a ", "a?"},
        {"malformed",
         "a\xFF"
         "b",
         false, "a?b", "a?b"},
        {"empty", "", true, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(FitsCp1252Line(c.Text), c.Fits);
        EXPECT_EQ(AsCp1252Line(c.Text), c.AsLine);
        EXPECT_TRUE(FitsCp1252Line(AsCp1252Line(c.Text))) << "a line as a file keeps it fits";
        EXPECT_EQ(Cp1252ToUtf8(Utf8ToCp1252(AsCp1252Line(c.Text))), AsCp1252Line(c.Text)) << "and survives the file";
        EXPECT_EQ(ControlsReplaced(c.Text), c.Printable);
    }
    EXPECT_TRUE(IsValidUtf8("M\u00FCller \U0001F37A"));
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_FALSE(IsValidUtf8("M\xFCller"));      // 1252
    EXPECT_FALSE(IsValidUtf8("a\xED\xA0\x80"));  // a surrogate
    EXPECT_FALSE(IsValidUtf8("a\xC0\xAF"));      // overlong
}

}  // namespace
