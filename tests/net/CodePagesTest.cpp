#include "net/CodePages.h"

#include "platform/TextCodec.h"

#include <gtest/gtest.h>

namespace {

std::u16string withZero(std::u16string units)
{
    units.push_back(u'\0');
    return units;
}

TEST(MultiByteToUtf16, Cases)
{
    struct Row {
        const char* name;
        std::string text;
        int codePage;
        std::u16string expected;
    };
    const Row rows[] = {
        {"empty text is the zero unit", "", CodePage::Utf8, withZero(u"")},
        {"UTF-8", "a\xE4\xB8\xAD", CodePage::Utf8, withZero(u"a中")},
        {"UTF-8 four bytes make a pair", "\xF0\x9F\x98\x80", CodePage::Utf8, withZero(u"\U0001F600")},
        {"GBK", gbk("中文a"), CodePage::Gbk, withZero(u"中文a")},
        {"GBK euro", "\x80", CodePage::Gbk, withZero(u"€")},
        {"GB18030 four bytes", "\x94\x39\xFC\x36", CodePage::Gb18030, withZero(u"\U0001F600")},
        {"BIG5", "\xA4\xA4\xA4\xE5", CodePage::Big5, withZero(u"中文")},
        {"UTF-16LE", std::string("a\0\x2D\x4E", 4), CodePage::Utf16Le, withZero(u"a中")},
        {"UTF-16LE ends at a zero unit", std::string("a\0\0\0b\0", 6), CodePage::Utf16Le, withZero(u"a")},
        {"ends at the first NUL", std::string("ab\0cd", 5), CodePage::Utf8, withZero(u"ab")},
        {"unknown code page", "abc", 437, u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(MultiByteToUtf16(row.text, row.codePage), row.expected);
    }
    EXPECT_EQ(MultiByteToUtf16("a\xE4\xB8\xAD"), withZero(u"a中")) << "default code page is UTF-8";
}

TEST(MultiByteToUtf16, BadBytesBecomeReplacementCharactersAndTheRestSurvives)
{
    struct Row {
        const char* name;
        std::string text;
        int codePage;
        std::u16string expected;
    };
    const Row rows[] = {
        {"UTF-8 stray continuation", "a\x80z", CodePage::Utf8, withZero(u"a\uFFFDz")},
        {"UTF-8 cut sequence costs one", "\xE4\xB8z\xE4\xB8\xAD", CodePage::Utf8, withZero(u"\uFFFDz中")},
        {"UTF-8 cut at the end", "z\xE4\xB8", CodePage::Utf8, withZero(u"z\uFFFD")},
        {"UTF-8 encoded surrogate", "\xED\xA0\x80z", CodePage::Utf8, withZero(u"\uFFFD\uFFFD\uFFFDz")},
        {"UTF-8 overlong", "\xC0\xAFz", CodePage::Utf8, withZero(u"\uFFFD\uFFFDz")},
        {"GBK invalid byte", "a\xFF" "b", CodePage::Gbk, withZero(u"a\uFFFDb")},
        {"GBK lead before a digit", "\xD6" "1\xD6\xD0", CodePage::Gbk, withZero(u"\uFFFD1中")},
        {"GBK lead at the end", "ab\xD6", CodePage::Gbk, withZero(u"ab\uFFFD")},
        {"GBK bad byte among euro, GB18030 form and user-defined area", "\x80\xFF\x94\x39\xFC\x36\xAA\xA1",
         CodePage::Gbk, withZero(u"€\uFFFD\U0001F600\uE000")},
        {"GB18030 four bytes beyond Unicode", "a\xFE\x39\xFE\x39", CodePage::Gb18030, withZero(u"a\uFFFD")},
        {"BIG5 invalid byte", "\xFF" "a", CodePage::Big5, withZero(u"\uFFFDa")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(MultiByteToUtf16(row.text, row.codePage), row.expected);
    }
}

TEST(Utf16ToMultiByte, Cases)
{
    struct Row {
        const char* name;
        std::u16string units;
        int codePage;
        std::string expected;
    };
    const Row rows[] = {
        {"GBK", u"中文a", CodePage::Gbk, gbk("中文a")},
        {"up to the zero unit", withZero(u"ab") + u"cd", CodePage::Gbk, "ab"},
        {"without a zero unit, all of it", u"ab", CodePage::Utf8, "ab"},
        {"GBK lacks the character", u"a\U0001F600b・c", CodePage::Gbk, "a?b?c"},
        {"GBK lone surrogate", std::u16string{u'a', char16_t(0xD800), u'b'}, CodePage::Gbk, "a?b"},
        {"UTF-8 lone surrogate", std::u16string{u'a', char16_t(0xDC00)}, CodePage::Utf8, "a\xEF\xBF\xBD"},
        {"UTF-8 pair", u"\U0001F600", CodePage::Utf8, "\xF0\x9F\x98\x80"},
        {"GB18030 holds everything", u"\U0001F600", CodePage::Gb18030, "\x94\x39\xFC\x36"},
        {"BIG5", u"中文", CodePage::Big5, "\xA4\xA4\xA4\xE5"},
        {"UTF-16LE", u"a中", CodePage::Utf16Le, std::string("a\0\x2D\x4E", 4)},
        {"unknown code page", u"abc", 437, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Utf16ToMultiByte(row.units, row.codePage), row.expected);
    }
    EXPECT_EQ(Utf16ToMultiByte(u"中"), gbk("中")) << "default code page is 936";
}

TEST(Utf16ToMultiByte, ManyBadCharactersInALongTextAllBecomeQuestionMarks)
{
    std::u16string units;
    std::string expected;
    for (int i = 0; i < 3000; ++i) {
        units += i % 3 == 0 ? u"\U0001F600" : u"中";
        expected += i % 3 == 0 ? "?" : gbk("中");
    }
    EXPECT_EQ(Utf16ToMultiByte(units, CodePage::Gbk), expected);
}

// Texts from the network cross Utf8ToGbk into the program and GbkToUtf8 back out.
TEST(GbkUtf8RoundTrip, CharactersGbkHoldsAndLacks)
{
    struct Row {
        const char* name;
        std::string utf8Text;
        std::string viaGbk; // what the GBK-only conversion keeps
    };
    const Row rows[] = {
        {"ASCII", "plain text 123", "plain text 123"},
        {"Chinese and full-width signs", "朗雀语音，合成！", "朗雀语音，合成！"},
        {"Latin with accents GBK holds", "café à", "café à"},
        {"euro sign", "5€", "5€"},
        {"emoji", "好😀", "好?"},
        {"katakana middle dot", "ア・イ", "ア?イ"},
        {"Hangul", "한국어", "???"},
        {"rare ideograph outside the BMP", "𠀀x", "?x"},
        {"Thai", "ไทย", "???"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string text = Utf8ToGbk(row.utf8Text);
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(GbkToUtf8(text), row.utf8Text) << "GB18030 forms must convert back";
        EXPECT_EQ(Utf8BytesToGbk(row.utf8Text), gbk(row.viaGbk));
        EXPECT_EQ(GbkToUtf8(gbk(row.utf8Text)), row.viaGbk);
    }
}

TEST(GbkUtf8RoundTrip, EveryGbkCharacterSurvives)
{
    std::string all;
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const std::string character{static_cast<char>(lead), static_cast<char>(trail)};
            if (convertText(character, "GBK", "UTF-8"))
                all += character;
        }
    ASSERT_GT(all.size(), 40000u);
    const std::string utf8Text = GbkToUtf8(all);
    EXPECT_EQ(utf8Text, *convertText(all, "GBK", "UTF-8"));
    EXPECT_EQ(Utf8ToGbk(utf8Text), all);
    EXPECT_EQ(Utf8BytesToGbk(utf8Text), all);
}

TEST(GbkToUtf8, UserDefinedAreaAndBadBytes)
{
    EXPECT_EQ(GbkToUtf8("\xAA\xA1"), "\xEE\x80\x80") << "user-defined area maps to private use, as 936 does";
    EXPECT_EQ(GbkToUtf8("a\xFF\xD6\xD0"), "a\xEF\xBF\xBD中");
    EXPECT_EQ(GbkToUtf8(std::string("a\0b", 3)), "a");
}

TEST(Utf8ToGbk, RefusesInvalidUtf8AndCutsAtNul)
{
    EXPECT_EQ(Utf8ToGbk("中文"), gbk("中文"));
    EXPECT_EQ(Utf8ToGbk("ok\xFF"), "");
    EXPECT_EQ(Utf8ToGbk("ok\xE4\xB8"), "") << "cut sequence";
    EXPECT_EQ(Utf8ToGbk(std::string("a\0b", 3)), "a");
    EXPECT_EQ(Utf8ToGbk(""), "");
}

TEST(Utf8BytesToGbk, NeverFailsAndKeepsEveryByteOfTheBody)
{
    EXPECT_EQ(Utf8BytesToGbk("ok\xFF" "!"), "ok?!");
    EXPECT_EQ(Utf8BytesToGbk("\xE4\xB8z"), "?z");
    EXPECT_EQ(Utf8BytesToGbk(std::string("a\0\xE4\xB8\xAD", 5)), std::string("a\0", 2) + gbk("中"));
}

TEST(Utf8BytesToGbk, ComposesABaseCharacterWithItsMarks)
{
    EXPECT_EQ(Utf8BytesToGbk("cafe\xCC\x81"), gbk("café")) << "e + combining acute";
    EXPECT_EQ(Utf8BytesToGbk("u\xCC\x88\xCC\x81"), gbk("ǘ")) << "two marks";
    EXPECT_EQ(Utf8BytesToGbk("q\xCC\x81"), "q?") << "no composed form";
    EXPECT_EQ(Utf8BytesToGbk("\xEF\xA4\xAC"), "\xFD\x9C") << "compatibility ideograph keeps its own code";
}

TEST(UnescapeUnicode, Cases)
{
    struct Row {
        const char* name;
        std::string text;
        std::string expected;
    };
    const Row rows[] = {
        {"two escapes", R"(\u4e2d\u6587)", gbk("中文")},
        {"HTML entity, every semicolon goes", "x&#x4e2d;y;", gbk("x中y")},
        {"upper-case u and digits", R"(\U4E2D\u6587)", gbk("中文")},
        {"among GBK text", gbk(R"(文件\u540d.rar)"), gbk("文件名.rar")},
        {"repeated escape", R"(\u4e2d-\u4E2D)", gbk("中-中")},
        {"ASCII escapes", R"(a\u0026b\u002f)", "a&b/"},
        {"escaped space stays a space", R"(a\u0020b)", "a b"},
        {"unit GBK lacks is removed", R"(a\u0e01b)", "ab"},
        {"surrogate pair is removed", R"(a\ud83d\ude00b)", "ab"},
        {"U+0000 is removed", R"(a\u0000b)", "ab"},
        {"not four hex digits stays", R"(C:\users\u4e2d)", gbk(R"(C:\users中)")},
        {"cut escape at the end stays", R"(ab\u4e)", R"(ab\u4e)"},
        {"backslash alone", R"(a\b\)", R"(a\b\)"},
        {"a replacement is not read again", R"(\u005cu4e2d)", R"(\u4e2d)"},
        {"semicolons stay without an entity", "a;b", "a;b"},
        {"empty", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(UnescapeUnicode(row.text), row.expected);
    }
}

} // namespace
