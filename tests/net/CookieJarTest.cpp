#include "net/CookieJar.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>

using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

namespace {

struct StoreCall {
    std::string url;
    std::string name;
    std::string data;
    friend bool operator==(const StoreCall&, const StoreCall&) = default;
    friend std::ostream& operator<<(std::ostream& out, const StoreCall& call)
    {
        return out << "{" << call.url << ", '" << call.name << "', '" << call.data << "'}";
    }
};

// Records what is stored; answers cookie strings from a fixed text and store results from a queue.
class RecordingStore : public CookieStore {
public:
    bool setCookie(const std::string& url, const std::string& name, const std::string& data) override
    {
        calls.push_back({url, name, data});
        if (results.empty())
            return true;
        const bool result = results.front();
        results.pop_front();
        return result;
    }
    std::optional<std::string> cookieString(const std::string& url) override
    {
        asked.push_back(url);
        return cookies;
    }

    std::vector<StoreCall> calls;
    std::deque<bool> results;
    std::optional<std::string> cookies;
    std::vector<std::string> asked;
};

const std::string deletion = "delete; expires=Fri, 1-Jan-1999 1:1:1 GMT; path=/";

} // namespace

TEST(CookieJar, MergeCookies)
{
    struct Row {
        const char* jar;
        const char* received;
        const char* merged;
        const char* receivedAfter;
    };
    const Row rows[] = {
        {"a=1; b=2; c=4", "b=3; a=deleted", "b=3; c=4", "b=3;a=deleted"},
        {"a = 1 ;  b=2", "", "a=1; b=2", ""},
        {"", "x=1; x=1", "x=1", "x=1;x=1"},
        {"", "", "", ""},
        {"a=1", "a=2;", "a=2", "a=2;"},
        {"s=1; t=2", "u=3", "u=3; s=1; t=2", "u=3"},
        {"gone=deleted; k=1", "", "k=1", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("jar '") + row.jar + "' received '" + row.received + "'");
        std::string jar = row.jar;
        std::string received = row.received;
        EXPECT_EQ(MergeCookies(jar, received), row.merged);
        EXPECT_EQ(jar, row.merged);
        EXPECT_EQ(received, row.receivedAfter);
    }
}

TEST(CookieJar, CookieNameAndValue)
{
    EXPECT_EQ(CookieName(" sid = abc"), "sid");
    EXPECT_EQ(CookieName("flag"), "flag");
    struct Row {
        const char* text;
        const char* name;
        const char* value;
    };
    const Row rows[] = {
        {"uid=5; id=7", "id", "5"}, // a plain substring search
        {"a=1; b=2", "b", "2"},     // no ";" after the value: the rest of the text
        {"a=1; b=2; c=3", "b", "2"},
        {"a=1", "z", ""},
        {"a=; b=2", "a", "; b=2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.text) + " / " + row.name);
        EXPECT_EQ(CookieValue(row.text, row.name), row.value);
    }
}

TEST(CookieJar, FormatCookieExpiry)
{
    struct Row {
        DateTime date;
        const char* text;
    };
    const Row rows[] = {
        {cookieDeletionDate(), "Fri, 1-Jan-1999 1:1:1 GMT"},
        {{2025, 5, 14, 9, 5, 7}, "Wed, 14-May-2025 9:5:7 GMT"},
        {{2024, 2, 29, 23, 59, 59}, "Thu, 29-Feb-2024 23:59:59 GMT"},
        {{2000, 12, 31, 0, 0, 0}, "Sun, 31-Dec-2000 0:0:0 GMT"},
        {{2023, 10, 16, 12, 30, 0}, "Mon, 16-Oct-2023 12:30:0 GMT"},
        {{2023, 6, 20, 1, 2, 3}, "Tue, 20-Jun-2023 1:2:3 GMT"},
        {{2023, 9, 2, 1, 2, 3}, "Sat, 2-Sep-2023 1:2:3 GMT"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(FormatCookieExpiry(row.date), row.text);
    }
}

TEST(CookieJar, SetSystemCookieStoresTwiceTheSecondWithTheDomain)
{
    RecordingStore store;
    store.results = {true, false};
    EXPECT_FALSE(SetSystemCookie(store, "https://pan.example.com:8443/share?x=1", "a", ""));
    EXPECT_THAT(store.calls, ElementsAre(StoreCall{"http://pan.example.com", "a", deletion},
                                         StoreCall{"http://pan.example.com", "a", deletion + "; domain=.example.com"}));

    store.calls.clear();
    EXPECT_TRUE(SetSystemCookie(store, "www.example.com/x", "k", "v", DateTime{2030, 1, 2, 3, 4, 5}));
    const std::string data = "v; expires=Wed, 2-Jan-2030 3:4:5 GMT; path=/";
    EXPECT_THAT(store.calls, ElementsAre(StoreCall{"http://www.example.com", "k", data},
                                         StoreCall{"http://www.example.com", "k", data + "; domain=.example.com"}));

    store.calls.clear();
    EXPECT_TRUE(SetSystemCookie(store, "http://www.example.com/", "k", "v")); // the zero date: no expiry
    ASSERT_EQ(store.calls.size(), 2u);
    EXPECT_EQ(store.calls[0].data, "v; path=/");
}

TEST(CookieJar, StoreCookieStringSplitsItemsByTheOldRules)
{
    const DateTime expiry{2031, 3, 4, 5, 6, 7};
    const std::string withExpiry = "2; expires=Tue, 4-Mar-2031 5:6:7 GMT; path=/";
    struct Row {
        const char* text;
        std::vector<StoreCall> calls;
        bool result;
    };
    const std::string host = "http://www.example.com";
    const Row rows[] = {
        {"a==1; b=2",
         {{host, "a", deletion}, {host, "a", deletion + "; domain=.example.com"},
          {host, " b", withExpiry}, {host, " b", withExpiry + "; domain=.example.com"}},
         true},
        {"a=; b=2", {{host, " b", withExpiry}, {host, " b", withExpiry + "; domain=.example.com"}}, true},
        {"a=x=2", {{host, "a", "x; expires=Tue, 4-Mar-2031 5:6:7 GMT; path=/"},
                   {host, "a", "x; expires=Tue, 4-Mar-2031 5:6:7 GMT; path=/; domain=.example.com"}},
         true},
        {"flag; other", {}, false},
        {"", {}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        RecordingStore store;
        EXPECT_EQ(StoreCookieString(store, "http://www.example.com/page", row.text, expiry), row.result);
        EXPECT_EQ(store.calls, row.calls);
    }
}

TEST(CookieJar, RemovalOfAllCookiesEndsAfterOnePassOverTheNamesPresent)
{
    RecordingStore store;
    store.cookies = "a=1; b=2"; // a store that never lets go of them
    EXPECT_TRUE(SetSystemCookie(store, "http://www.example.com/", "", ""));
    const std::string domain = "; domain=.example.com";
    const std::string host = "http://www.example.com";
    EXPECT_THAT(store.calls, ElementsAre(StoreCall{host, "a", deletion}, StoreCall{host, "a", deletion + domain},
                                         StoreCall{host, "b", deletion}, StoreCall{host, "b", deletion + domain}));

    RecordingStore empty;
    EXPECT_TRUE(SetSystemCookie(empty, "http://www.example.com/", "", ""));
    EXPECT_TRUE(empty.calls.empty());
    // "=x" has an empty name: the removal of all.
    empty.cookies = "z=1";
    EXPECT_TRUE(StoreCookieString(empty, "http://www.example.com/", "=x"));
    EXPECT_THAT(empty.calls, ElementsAre(StoreCall{host, "z", deletion}, StoreCall{host, "z", deletion + domain}));
}

TEST(CookieJar, GetSystemCookiesReadsTheHostsStringOrOneValue)
{
    RecordingStore store;
    store.cookies = "SID=abc; lang=zh; x=1";
    EXPECT_EQ(GetSystemCookies(store, "https://Pan.Example.com:8443/a?b"), "SID=abc; lang=zh; x=1");
    EXPECT_THAT(store.asked, ElementsAre("http://pan.example.com"));
    EXPECT_EQ(GetSystemCookies(store, "http://pan.example.com/", "sid"), "abc"); // case-insensitive
    EXPECT_EQ(GetSystemCookies(store, "http://pan.example.com/", "x"), "1");
    EXPECT_EQ(GetSystemCookies(store, "http://pan.example.com/", "none"), "");
    store.cookies.reset();
    EXPECT_EQ(GetSystemCookies(store, "http://pan.example.com/"), "");
}

class ProcessStoreTest : public testing::Test {
protected:
    void SetUp() override { ProcessCookieStore::instance().clear(); }
    void TearDown() override { ProcessCookieStore::instance().clear(); }
};

TEST_F(ProcessStoreTest, WriteReadAndDeleteOneCookie)
{
    EXPECT_TRUE(SetSystemCookie("http://www.example.com/page", "k", "v"));
    EXPECT_TRUE(SetSystemCookie("http://www.example.com/", "later", "1", DateTime{2099, 1, 1, 0, 0, 0}));
    EXPECT_EQ(GetSystemCookies("http://www.example.com/", "k"), "v");
    EXPECT_THAT(GetSystemCookies("www.example.com"), HasSubstr("later=1"));
    // The domain attribute makes it visible to the sibling hosts too.
    EXPECT_EQ(GetSystemCookies("http://img.example.com/", "k"), "v");
    EXPECT_EQ(GetSystemCookies("http://other.example.org/"), "");

    EXPECT_TRUE(SetSystemCookie("http://www.example.com/", "k", ""));
    EXPECT_EQ(GetSystemCookies("http://www.example.com/", "k"), "");
    // Both stores stand: the host's own cookie and the domain's.
    EXPECT_EQ(GetSystemCookies("http://www.example.com/"), "later=1; later=1");
}

TEST_F(ProcessStoreTest, RefusedDomainStoreGivesFalseAndTheFirstStoreStands)
{
    // "127.0.0.1" without its first three characters is ".0.0.1": no domain of an address.
    EXPECT_FALSE(SetSystemCookie("http://127.0.0.1:8080/", "a", "1"));
    EXPECT_EQ(GetSystemCookies("http://127.0.0.1/"), "a=1");
    // A two-label host would give a domain of its top level alone.
    EXPECT_FALSE(SetSystemCookie("http://abc.com/", "b", "2"));
    EXPECT_EQ(GetSystemCookies("http://abc.com/"), "b=2");
}

TEST_F(ProcessStoreTest, ExpiredAndForeignCookiesAreNotRead)
{
    ProcessCookieStore& store = ProcessCookieStore::instance();
    EXPECT_TRUE(store.setCookie("http://www.example.com", "old", "1; expires=Fri, 1-Jan-1999 1:1:1 GMT"));
    EXPECT_TRUE(store.setCookie("http://www.example.com", "aged", "1; max-age=0"));
    EXPECT_TRUE(store.setCookie("http://www.example.com", "deep", "1; path=/deep"));
    EXPECT_TRUE(store.setCookie("http://www.example.com", "tls", "1; secure"));
    EXPECT_TRUE(store.setCookie("http://www.example.com", "plain", "1"));
    EXPECT_FALSE(store.setCookie("http://www.example.com", "foreign", "1; domain=example.org"));
    EXPECT_FALSE(store.setCookie("http://www.example.com", "bad\tname", "1"));
    EXPECT_EQ(GetSystemCookies("http://www.example.com/"), "plain=1");
    EXPECT_EQ(store.cookieString("http://www.example.com/deep/x").value_or(""), "deep=1; plain=1");
    EXPECT_THAT(store.cookieString("https://www.example.com/").value_or(""), HasSubstr("tls=1"));
}

TEST_F(ProcessStoreTest, StoreCookieStringKeepsTheLeadingSpaceOfLaterNames)
{
    EXPECT_TRUE(StoreCookieString("http://www.example.com/", "a=1; b=2"));
    const std::string cookies = GetSystemCookies("http://www.example.com/");
    EXPECT_THAT(cookies, HasSubstr("a=1"));
    EXPECT_THAT(cookies, HasSubstr(" b=2"));
    EXPECT_TRUE(StoreCookieString("http://www.example.com/", "a==1"));
    EXPECT_THAT(GetSystemCookies("http://www.example.com/"), Not(HasSubstr("a=1")));
}

TEST_F(ProcessStoreTest, RemovalOfAllClearsALongCookieStringAndStopsAtUndeletableOnes)
{
    std::string jar;
    for (int i = 0; i < 100; ++i)
        jar += "name" + std::to_string(i) + "=" + std::string(90, 'v') + "; ";
    EXPECT_TRUE(StoreCookieString("http://www.example.com/", jar));
    EXPECT_GT(GetSystemCookies("http://www.example.com/").size(), 7500u); // read whole, not cut off
    EXPECT_TRUE(SetSystemCookie("http://www.example.com/", "", ""));
    EXPECT_EQ(GetSystemCookies("http://www.example.com/").size(), 0u);

    // A cookie of the parent domain set from a deeper host is out of reach of the host's removal.
    ProcessCookieStore& store = ProcessCookieStore::instance();
    EXPECT_TRUE(store.setCookie("http://www.b.example.com", "wide", "1; domain=example.com"));
    EXPECT_TRUE(store.setCookie("http://www.b.example.com", "own", "2"));
    EXPECT_TRUE(SetSystemCookie("http://www.b.example.com/", "", ""));
    EXPECT_EQ(GetSystemCookies("http://www.b.example.com/"), "wide=1");
}
