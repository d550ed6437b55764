#include "net/UrlCoding.h"

#include "net/CodePages.h"
#include "platform/TextCodec.h"

#include <gtest/gtest.h>

namespace {

struct CodingCase {
    const char* name;
    std::string input;
    std::string expected;
};

TEST(UrlEncode, Cases)
{
    const CodingCase rows[] = {
        {"Chinese as UTF-8", gbk("中文"), "%E4%B8%AD%E6%96%87"},
        {"space and underscore encoded", "a b-c.d_e", "a%20b-c.d%5Fe"},
        {"web voice example", gbk("你好 a"), "%E4%BD%A0%E5%A5%BD%20a"},
        {"line break, slash, tilde", "1\r\n2/~", "1%0D%0A2%2F%7E"},
        {"reserved signs", "a=1&b=2+3?#%", "a%3D1%26b%3D2%2B3%3F%23%25"},
        {"letters and digits stay", "AZaz09", "AZaz09"},
        {"euro sign of code page 936", "\x80", "%E2%82%AC"},
        {"byte that is not GBK", "a\xFF" "b", "a%EF%BF%BDb"},
        {"text ends at NUL", std::string("ab\0cd", 5), "ab"},
        {"empty", "", ""},
    };
    for (const CodingCase& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(UrlEncode(row.input), row.expected);
    }
}

TEST(UrlEncode, WithoutKeepingUnreservedEveryByteIsEncoded)
{
    EXPECT_EQ(UrlEncode("a-1.", false), "%61%2D%31%2E");
    EXPECT_EQ(UrlEncode(gbk("中"), false), "%E4%B8%AD");
}

TEST(UrlDecode, Cases)
{
    const CodingCase rows[] = {
        {"lower-case hex, bytes unchanged", "%e4%b8%ad", "\xE4\xB8\xAD"},
        {"upper-case hex", "%E4%B8%AD", "\xE4\xB8\xAD"},
        {"plus stays", "a+b%20c", "a+b c"},
        {"percent without hex stays", "100%zz", "100%zz"},
        {"half hex stays", "%4g%41", "%4gA"},
        {"percent cut off at the end", "ab%4", "ab%4"},
        {"lone percent at the end", "ab%", "ab%"},
        {"decoded percent is not read again", "%2541", "%41"},
        {"percent then escape", "%%41", "%A"},
        {"nothing encoded", gbk("朗雀.rar"), gbk("朗雀.rar")},
        {"empty", "", ""},
    };
    for (const CodingCase& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(UrlDecode(row.input), row.expected);
    }
}

TEST(UrlDecode, UndoesUrlEncodeIntoUtf8)
{
    const std::string text = gbk("朗雀 语音_合成~工具/V2.1?a=1&b=%");
    EXPECT_EQ(UrlDecode(UrlEncode(text)), GbkToUtf8(text));
    EXPECT_EQ(UrlDecode(UrlEncode(text, false)), GbkToUtf8(text));
}

TEST(EncodeUriComponent, Cases)
{
    const CodingCase rows[] = {
        {"unreserved stay", "AZaz09-_.!~*'()", "AZaz09-_.!~*'()"},
        {"every other ASCII sign",
         " \"#$%&+,/:;<=>?@[\\]^`{|}", "%20%22%23%24%25%26%2B%2C%2F%3A%3B%3C%3D%3E%3F%40%5B%5C%5D%5E%60%7B%7C%7D"},
        {"controls", "\t\r\n\x7F", "%09%0D%0A%7F"},
        {"Chinese", gbk("中文"), "%E4%B8%AD%E6%96%87"},
        {"two-byte UTF-8 form", gbk("é"), "%C3%A9"},
        {"euro sign of code page 936", "\x80", "%E2%82%AC"},
        {"empty", "", ""},
    };
    for (const CodingCase& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(encodeURIComponent(row.input), row.expected);
    }
}

TEST(EncodeUriComponent, ShareDownloadRequestText)
{
    // The JSON request of a share download, with a quoted JSON text nested inside it
    // and a Chinese package name; the expected form is what JavaScript gives.
    std::string request =
        R"({"req_header":{"cmd":12023,"appid":%appid%,"version":2,"major_version":2,"device_info":"{\"browser\":\"chrome\"}"},)"
        R"("req_body":{"ReqMsg_body":{"weiyun.WeiyunSharePartDownloadMsgReq_body":{"share_key":"%share_key%","pwd":"",)"
        R"("pack_name":"%file_name%","pdir_key":"%pdir_key%","file_list":[{"file_id":"%file_id%","pdir_key":"%pdir_key%"}]}}}})";
    ASSERT_EQ(request.size(), 337u);
    const std::pair<std::string, std::string> fields[] = {
        {"%appid%", "30113"},
        {"%file_name%", gbk("朗雀 V2.2(正式版)_setup!~*'.rar")},
        {"%share_key%", "5a6B-c_d"},
        {"%pdir_key%", "9f0e1d2c3b4a"},
        {"%file_id%", "a1b2~c3"},
    };
    for (const auto& [marker, value] : fields)
        for (size_t at = request.find(marker); at != std::string::npos; at = request.find(marker, at + value.size()))
            request.replace(at, marker.size(), value);

    EXPECT_EQ(encodeURIComponent(request),
              "%7B%22req_header%22%3A%7B%22cmd%22%3A12023%2C%22appid%22%3A30113%2C%22version%22%3A2%2C%22major_version"
              "%22%3A2%2C%22device_info%22%3A%22%7B%5C%22browser%5C%22%3A%5C%22chrome%5C%22%7D%22%7D%2C%22req_body%22"
              "%3A%7B%22ReqMsg_body%22%3A%7B%22weiyun.WeiyunSharePartDownloadMsgReq_body%22%3A%7B%22share_key%22%3A%22"
              "5a6B-c_d%22%2C%22pwd%22%3A%22%22%2C%22pack_name%22%3A%22%E6%9C%97%E9%9B%80%20V2.2(%E6%AD%A3%E5%BC%8F%E7"
              "%89%88)_setup!~*'.rar%22%2C%22pdir_key%22%3A%229f0e1d2c3b4a%22%2C%22file_list%22%3A%5B%7B%22file_id%22"
              "%3A%22a1b2~c3%22%2C%22pdir_key%22%3A%229f0e1d2c3b4a%22%7D%5D%7D%7D%7D%7D");
    EXPECT_EQ(UrlDecode(encodeURIComponent(request)), GbkToUtf8(request));
}

TEST(EncodeUriComponent, SurrogatesAsJavaScriptTreatsThem)
{
    struct Row {
        const char* name;
        std::u16string units;
        std::string expected;
    };
    const Row rows[] = {
        {"pair is one four-byte code point", u"a\U0001F600b", "a%F0%9F%98%80b"},
        {"last code point", u"\U0010FFFF", "%F4%8F%BF%BF"},
        {"lone high surrogate", std::u16string{u'a', char16_t(0xD83D)}, ""},
        {"high surrogate before a letter", std::u16string{char16_t(0xD83D), u'a'}, ""},
        {"lone low surrogate", std::u16string{char16_t(0xDE00), u'a'}, ""},
        {"pair reversed", std::u16string{char16_t(0xDE00), char16_t(0xD83D)}, ""},
        {"highest BMP unit", std::u16string{char16_t(0xFFFF)}, "%EF%BF%BF"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(encodeURIComponent(std::u16string_view(row.units)), row.expected);
    }
}

} // namespace
