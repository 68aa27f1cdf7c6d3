// The panel's edit fields: how much of the typed text counts, and what number it gives.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "commands/amount_field.h"
#include "game/safe_numbers.h"
#include "game/text.h"

TEST(AmountField, ReadsTheNumberAtTheStartOfTheFieldsFirstCharacters)
{
    struct Case {
        const char* text;
        int size;
        long double value;
    };
    const Case cases[] = {
        {"12.345", kPriceFieldSize, 12.3L},  // only 4 characters count
        {"12345", kCountFieldSize, 1234.0L},
        {"99.99", kAmountFieldSize, 99.99L},
        {"1234567890123", kAmountFieldSize, 123456789.0L},
        {"-5", kAmountFieldSize, -5.0L},
        {"x", kAmountFieldSize, 0.0L},
        {"", kAmountFieldSize, 0.0L},
        {"12abc", kAmountFieldSize, 12.0L},
        {"  7", kCountFieldSize, 7.0L},
        {"1e30", kAmountFieldSize, 1e30L},
        {"1e30", kCountFieldSize, 1e30L},
        {"12e3", kCountFieldSize, 12000.0L},
        {"1e300000", kAmountFieldSize, std::numeric_limits<long double>::max()},
        {"ääää1", kOrderFieldSize, 0.0L},
        {"€123", kCountFieldSize, 0.0L},  // characters, not bytes: the euro sign is one of the four
        {"2147483648", kOrderFieldSize, 2147483648.0L},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadAmountField(c.text, c.size), c.value) << c.text << " in a field of size " << c.size;
    EXPECT_EQ(FieldText("ä12345", kCountFieldSize), "ä123");
}

TEST(AmountField, PricesAreCutToTheCentsAsTyped)
{
    struct Case {
        const char* text;
        float price;
    };
    const Case cases[] = {
        {".125", 0.12f}, {"0.29", 0.29f},    {"0.53", 0.53f},    {"1.239", 1.23f}, {"12.345", 12.3f},
        {"-5", 0.0f},    {"-.01", 0.0f},     {"x", 0.0f},        {"", 0.0f},       {"  3", 3.0f},
        {"+1.5", 1.5f},  {"9e99", 9999.99f}, {"1e30", 9999.99f}, {"1e-3", 0.0f},   {"5e-2", 0.05f},
        {"2e2", 200.0f}, {"9999", 9999.0f},  {"007", 7.0f},      {"0.0", 0.0f},    {"1.", 1.0f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(static_cast<float>(ReadPriceField(c.text)), c.price) << c.text;
}

TEST(AmountField, NoTypedCentIsLost)
{
    // Every price d.dd keeps its cents (a floor of the binary x * 100 loses one on many).
    for (int cents = 0; cents < 1000; ++cents) {
        const std::string text = Format("%d.%02d", cents / 100, cents % 100);
        EXPECT_EQ(static_cast<float>(ReadPriceField(text)), std::strtof(text.c_str(), nullptr)) << text;
    }
}

TEST(AmountField, WholeNumbersStayWithinTheirRange)
{
    EXPECT_EQ(CutToInt32(1e30L), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(CutToInt32(-1e30L), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(CutToInt32(2147483647.9L), 2147483647);
    EXPECT_EQ(CutToInt32(-2.7L), -2);
    EXPECT_EQ(CutToInt32(std::nanl("")), 0);
}
