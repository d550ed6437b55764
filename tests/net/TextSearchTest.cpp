#include "net/TextSearch.h"

#include "platform/TextCodec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct BetweenCase {
    const char* name;
    std::string text;
    std::string left;
    std::string right;
    std::string expected;
};

void PrintTo(const BetweenCase& row, std::ostream* os)
{
    *os << row.name;
}

class TextBetweenSingle : public ::testing::TestWithParam<BetweenCase> {};

TEST_P(TextBetweenSingle, FindsTheFirstLeftThenTheFirstRightAfterIt)
{
    const BetweenCase& row = GetParam();
    EXPECT_EQ(TextBetween(row.text, row.left, row.right), row.expected);
    EXPECT_EQ(TextBetween(row.text, row.left, row.right, 0, nullptr), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBetweenSingle,
    ::testing::Values(
        BetweenCase{"right missing after left", "a=1; b=2", "b=", ";", ""},
        BetweenCase{"right empty takes the rest", "a=1; b=2", "b=", "", "2"},
        BetweenCase{"right before left does not count", "x;b=2", "b=", ";", ""},
        BetweenCase{"first left wins", "b=1;b=2;", "b=", ";", "1"},
        BetweenCase{"left missing", "a=1;", "b=", ";", ""},
        BetweenCase{"left empty cuts before right", "abc;def;", "", ";", "abc"},
        BetweenCase{"left empty and right missing", "abc", "", ";", ""},
        BetweenCase{"both empty is the whole text", "abc", "", "", "abc"},
        BetweenCase{"case-sensitive", "B=1;", "b=", ";", ""},
        BetweenCase{"right searched after the left, not inside it", "<a>x<a>", "<a>", "<a>", "x"},
        BetweenCase{"empty between", "ab", "a", "b", ""},
        BetweenCase{"GBK text", gbk("名称：朗雀；版本：2"), gbk("名称："), gbk("；"), gbk("朗雀")}),
    [](const auto& row) { return "row" + std::to_string(row.index); });

TEST(TextBetweenList, FillsOneEntryPerLeftInOrder)
{
    std::vector<std::string> list{"stale"};
    EXPECT_EQ(TextBetween("{a}{b}", "{", "}", 1, &list), "");
    EXPECT_THAT(list, ElementsAre("a", "b"));
}

TEST(TextBetweenList, MarkersMatchWithoutRegardToCase)
{
    std::vector<std::string> list;
    TextBetween("<TD>1</td><td>2</TD><Td>3</tD>", "<td>", "</td>", 1, &list);
    EXPECT_THAT(list, ElementsAre("1", "2", "3"));
}

TEST(TextBetweenList, OccurrencesOverlapAndMissingRightGivesEmptyEntry)
{
    std::vector<std::string> list;
    TextBetween("aaab", "aa", "b", 1, &list);
    EXPECT_THAT(list, ElementsAre("a", ""));

    TextBetween("[x][y", "[", "]", 1, &list);
    EXPECT_THAT(list, ElementsAre("x", ""));
}

TEST(TextBetweenList, EmptyMarkerLeavesTheListAlone)
{
    std::vector<std::string> list{"kept"};
    EXPECT_EQ(TextBetween("{a}", "", "}", 1, &list), "");
    EXPECT_EQ(TextBetween("{a}", "{", "", 1, &list), "");
    EXPECT_THAT(list, ElementsAre("kept"));
    EXPECT_EQ(TextBetween("{a}", "{", "}", 1, nullptr), "");
}

TEST(TextBetweenList, NoOccurrenceEmptiesTheList)
{
    std::vector<std::string> list{"stale"};
    TextBetween("abc", "{", "}", 1, &list);
    EXPECT_THAT(list, IsEmpty());
}

TEST(TextBetweenLast, CutsBeforeTheLastRight)
{
    const std::string answer = R"({"code":0,"data":[{"id":1,"tags":[]},{"id":2}]})";
    EXPECT_EQ(TextBetweenLast(answer, "\"data\":[", "]}"), R"({"id":1,"tags":[]},{"id":2})");
    EXPECT_EQ(TextBetween(answer, "\"data\":[", "]}"), R"({"id":1,"tags":[)");
}

TEST(TextBetweenLast, RightOnlyBeforeTheLeftOrMissingGivesEmpty)
{
    EXPECT_EQ(TextBetweenLast("]}x\"data\":[1,2", "\"data\":[", "]}"), "");
    EXPECT_EQ(TextBetweenLast("abc", "z", "c"), "");
    EXPECT_EQ(TextBetweenLast("a[1]b", "[", ""), "1]b");
}

struct ContainsCase {
    const char* name;
    std::string text;
    std::string part;
    int start;
    bool caseInsensitive;
    bool expected;
};

TEST(ContainsText, Cases)
{
    const ContainsCase rows[] = {
        {"from the start", "Set-Cookie: a=1", "a=1", 0, false, true},
        {"position 1 is the start", "abc", "a", 1, false, true},
        {"start past the match", "abcabc", "a", 2, false, true},
        {"start past the only match", "abc", "a", 2, false, false},
        {"start exactly at the match", "xxab", "ab", 3, false, true},
        {"start beyond the end", "abc", "c", 9, false, false},
        {"negative start is the start", "abc", "a", -5, false, true},
        {"case-sensitive by default", "ErrNo", "errno", 0, false, false},
        {"case-insensitive on request", "ErrNo", "errno", 0, true, true},
        {"GBK part", gbk("请输入提取码："), gbk("提取码"), 0, false, true},
        {"empty part is never found", "abc", "", 0, false, false},
    };
    for (const ContainsCase& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ContainsText(row.text, row.part, row.start, row.caseInsensitive), row.expected);
    }
}

TEST(JsonFieldText, Cases)
{
    const BetweenCase rows[] = {
        {"plain string value", R"({"name":"x","id":"7"})", "name", "", "x"},
        {"escaped quote ends the value", R"({"name":"x\"y"})", "name", "", "x\\"},
        {"escapes stay raw", R"({"url":"a\/b\u0026c"})", "url", "", R"(a\/b\u0026c)"},
        {"space around the colon is not matched", R"({"name" : "x"})", "name", "", ""},
        {"number value is not matched", R"({"id":7,"name":"x"})", "id", "", ""},
        {"key must match whole, not its tail", R"({"file_id":"f","id":"i"})", "id", "", "i"},
        {"empty value", R"({"pwd":"","x":"1"})", "pwd", "", ""},
        {"missing key", R"({"a":"1"})", "b", "", ""},
        {"GBK value", gbk(R"({"title":"朗雀"})"), "title", "", gbk("朗雀")},
    };
    for (const BetweenCase& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(JsonFieldText(row.text, row.left), row.expected);
    }
}

TEST(JsonNumberText, Cases)
{
    const BetweenCase rows[] = {
        {"number up to the comma", R"({"uk":12345,"shareid":678})", "uk", "", "12345"},
        {"negative and decimal", R"({"v":-1.5e3,"w":0})", "v", "", "-1.5e3"},
        {"string value keeps its quotes", R"({"sign":"ab","t":1})", "sign", "", "\"ab\""},
        {"last member has no comma", R"({"a":1,"fs_id":99})", "fs_id", "", ""},
        {"last member borrows a later comma", R"({"o":{"n":1},"m":2})", "n", "", "1}"},
        {"missing key", R"({"a":1,})", "b", "", ""},
    };
    for (const BetweenCase& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(JsonNumberText(row.text, row.left), row.expected);
    }
}

} // namespace
