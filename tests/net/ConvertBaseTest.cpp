#include "net/ConvertBase.h"

#include "platform/TextCodec.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct Row {
    const char* name;
    std::string number;
    int from;
    int to;
    std::string expected;
};

TEST(ConvertBase, Numbers)
{
    const Row rows[] = {
        {"hex to decimal", "ff", 16, 10, "255"},
        {"decimal to hex", "255", 10, 16, "FF"},
        {"binary", "101101", 2, 10, "45"},
        {"to binary", "45", 10, 2, "101101"},
        {"base 36", "zz", 36, 10, "1295"},
        {"to base 36", "1295", 10, 36, "ZZ"},
        {"odd bases", "7654321", 8, 7, "23314240"},
        {"leading zeros dropped", "000ff", 16, 10, "255"},
        {"zero", "0", 16, 2, "0"},
        {"all zeros", "0000", 10, 16, "0"},
        {"same base normalises only", "00ff", 16, 16, "00FF"},
        {"full-width digits and letters", gbk("ｆＦ"), 16, 10, "255"},
        {"group boundary in", "4294967296", 10, 16, "100000000"},
        {"group boundary out", "FFFFFFFF", 16, 10, "4294967295"},
        {"2^128", "340282366920938463463374607431768211456", 10, 16, "100000000000000000000000000000000"},
        {"2^128 - 1 in base 36", "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF", 16, 36, "F5LXX1ZZ5PNORYNQGLHZMSP33"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ConvertBase(row.number, row.from, row.to), row.expected);
    }
}

TEST(ConvertBase, ErrorTexts)
{
    const std::string baseError = gbk("参数错误-进制只能在2-36之间");
    const Row rows[] = {
        {"from below 2", "12", 1, 10, baseError},
        {"from above 36", "12", 37, 10, baseError},
        {"to below 2", "12", 10, 0, baseError},
        {"to above 36", "12", 10, 37, baseError},
        {"digit beyond the base", "102", 2, 10, gbk("参数错误-102不是一个有效的二进制数！")},
        {"letter beyond hex, shown normalised", "1g", 16, 10, gbk("参数错误-1G不是一个有效的十六进制数！")},
        {"same base still checked", "9", 8, 8, gbk("参数错误-9不是一个有效的八进制数！")},
        {"sign", "-5", 10, 2, gbk("参数错误--5不是一个有效的十进制数！")},
        {"full-width shown half-width", gbk("１２．５"), 10, 2, gbk("参数错误-12.5不是一个有效的十进制数！")},
        {"Chinese kept", gbk("十二"), 10, 2, gbk("参数错误-十二不是一个有效的十进制数！")},
        {"empty is not a number", "", 10, 2, gbk("参数错误-不是一个有效的十进制数！")},
        {"base 11", "B", 11, 10, gbk("参数错误-B不是一个有效的十一进制数！")},
        {"base 20", "K", 20, 10, gbk("参数错误-K不是一个有效的二十进制数！")},
        {"base 36", "#", 36, 10, gbk("参数错误-#不是一个有效的三十六进制数！")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ConvertBase(row.number, row.from, row.to), row.expected);
    }
}

TEST(ConvertBase, LongNumbersSurviveAChainOfBases)
{
    std::mt19937 generator(7);
    std::uniform_int_distribution<int> digit(0, 9);
    std::string number = "9";
    for (int i = 0; i < 3000; ++i)
        number.push_back(static_cast<char>('0' + digit(generator)));

    std::string current = number;
    int base = 10;
    for (const int next : {2, 36, 7, 16, 3, 10}) {
        SCOPED_TRACE(next);
        current = ConvertBase(current, base, next);
        ASSERT_NE(current.front(), '0');
        base = next;
    }
    EXPECT_EQ(current, number);
}

TEST(ConvertBase, PowersOfTheTargetBase)
{
    for (const int base : {2, 3, 10, 16, 35, 36}) {
        SCOPED_TRACE(base);
        // base^200 is "1" and 200 zeros in its own base; 2^200 checks the decimal path.
        const std::string power = "1" + std::string(200, '0');
        EXPECT_EQ(ConvertBase(ConvertBase(power, base, 10), 10, base), power);
    }
    EXPECT_EQ(ConvertBase("1" + std::string(200, '0'), 2, 10),
              "1606938044258990275541962092341162602522202993782792835301376");
}

TEST(ToHalfWidth, FullWidthAsciiBecomesAscii)
{
    for (char c = '!'; c <= '}'; ++c) {
        if (c == '$')
            continue; // GBK has no full-width dollar; A3A4 is the full-width yen
        SCOPED_TRACE(c);
        const int unit = 0xFF01 + (c - '!');
        const char utf16le[] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        const std::string gbkForm = *convertText(std::string_view(utf16le, 2), "UTF-16LE", "GBK");
        EXPECT_EQ(ToHalfWidth(gbkForm), std::string(1, c));
    }
    EXPECT_EQ(ToHalfWidth(gbk("　ａ中ｂ")), gbk(" a中b"));
    EXPECT_EQ(ToHalfWidth(gbk("￥￣")), gbk("￥￣"));
    EXPECT_EQ(ToHalfWidth("a\xA3"), "a\xA3") << "a lead byte at the end stays";
}

} // namespace
