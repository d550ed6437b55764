#include "net/ComHttpRequest.h"
#include "net/CookieStore.h"
#include "platform/TextCodec.h"
#include "support/RawHttpServer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

using namespace std::chrono_literals;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::StartsWith;

TEST(ComHttpRequest, HeaderNameAndValue)
{
    struct Row {
        const char* line;
        const char* name;
        const char* value;
    };
    const Row rows[] = {
        {"Location:  /next  ", "Location", "/next"},
        {"  X-A : b: c ", "X-A", "b: c"},
        {"no colon here", "", ""},
        {":", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(HeaderName(row.line), row.name);
        EXPECT_EQ(HeaderValue(row.line), row.value);
    }
}

TEST(ComHttpRequest, PhaseTimeouts)
{
    struct Row {
        int seconds;
        ComTimeouts expected;
    };
    const Row rows[] = {
        {0, {15000, 15000, 15000, 15000}},  // left out
        {-5, {15000, 15000, 15000, 15000}},
        {7, {7000, 7000, 7000, 7000}},
        {-1, {0, 60000, 30000, 30000}},     // the request object's own
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.seconds);
        const ComTimeouts got = comTimeoutsFor(row.seconds);
        EXPECT_EQ(got.resolveMs, row.expected.resolveMs);
        EXPECT_EQ(got.connectMs, row.expected.connectMs);
        EXPECT_EQ(got.sendMs, row.expected.sendMs);
        EXPECT_EQ(got.receiveMs, row.expected.receiveMs);
    }
}

TEST(ComHttpRequest, RedirectIsReadOrFollowed)
{
    RawHttpServer server([](const RawRequest& request) {
        if (request.target() == "/start")
            return RawHttpServer::response("moved", "Location:   /final  \r\n", "302 Found");
        return RawHttpServer::response("arrived", "X-End: 1\r\n");
    });
    std::string location = "old";
    std::string headers = "old";
    ComHttpRequest request;
    request.url = server.url("/start");
    request.noRedirect = true;
    request.location = &location;
    request.headersOut = &headers;
    EXPECT_EQ(SendComHttpRequest(request), "moved");
    EXPECT_EQ(location, "/final");
    EXPECT_THAT(headers, StartsWith("Location:   /final  \r\n"));
    EXPECT_THAT(headers, testing::EndsWith("\r\n\r\n"));

    request.noRedirect = false;
    EXPECT_EQ(SendComHttpRequest(request), "arrived");
    EXPECT_THAT(headers, StartsWith("X-End: 1\r\n"));
    EXPECT_EQ(location, headers); // no Location line: the whole header text
    EXPECT_EQ(server.requests().size(), 3u);
}

TEST(ComHttpRequest, RequestHeadersAsSetOneByOne)
{
    RawHttpServer server([](const RawRequest&) { return RawHttpServer::response("ok"); });
    const std::string url = server.url("/page?x=1");

    std::string block;
    ComHttpRequest request;
    request.url = url;
    request.requestHeaders = &block;
    EXPECT_EQ(SendComHttpRequest(request), "ok");
    EXPECT_EQ(block, defaultComRequestHeaders(url));
    EXPECT_THAT(block, StartsWith("Referer: " + url + "\r\nAccept: */*\r\n"));
    EXPECT_FALSE(block.ends_with("\r\n"));

    std::string single = "X-Only: 1";
    request.requestHeaders = &single;
    EXPECT_EQ(SendComHttpRequest(request), "ok");

    std::string multi = "A: 1\r\n\r\nB: 2\r\nA: 3\r\n";
    std::string jar = "j=1; k=2";
    request.requestHeaders = &multi;
    request.cookies = &jar;
    EXPECT_EQ(SendComHttpRequest(request), "ok");

    const std::vector<RawRequest> seen = server.requests();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].value("Referer"), url);
    EXPECT_EQ(seen[0].value("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_THAT(seen[0].value("User-Agent"), StartsWith("Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; 125LA;"));
    EXPECT_EQ(seen[0].requestLine, "GET /page?x=1 HTTP/1.1");
    EXPECT_EQ(seen[1].value("X-Only"), "1");
    EXPECT_THAT(seen[1].values("Referer"), IsEmpty());
    EXPECT_THAT(seen[1].values("Content-Type"), IsEmpty());
    EXPECT_THAT(seen[2].values("A"), ElementsAre("3")); // a later header of the same name replaces
    EXPECT_EQ(seen[2].value("B"), "2");
    EXPECT_THAT(seen[2].values("Cookie"), ElementsAre("j=1; k=2"));
}

TEST(ComHttpRequest, BodiesByVerb)
{
    RawHttpServer server([](const RawRequest&) { return RawHttpServer::response("ok"); });
    ComHttpRequest request;
    request.url = server.url("/in");
    request.usePost = 1;
    request.body = "text=1";
    EXPECT_EQ(SendComHttpRequest(request), "ok");
    request.byteBody = std::string("\0\x01\xff binary", 10);
    EXPECT_EQ(SendComHttpRequest(request), "ok");
    request.usePost = 0;
    request.byteBody.clear();
    request.body = "also=1";
    EXPECT_EQ(SendComHttpRequest(request), "ok");
    request.usePost = 2;
    request.body.clear();
    EXPECT_EQ(SendComHttpRequest(request), "ok");

    const std::vector<RawRequest> seen = server.requests();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].requestLine, "POST /in HTTP/1.1");
    EXPECT_EQ(seen[0].body, "text=1");
    EXPECT_EQ(seen[1].body, std::string("\0\x01\xff binary", 10));
    EXPECT_EQ(seen[2].requestLine, "GET /in HTTP/1.1"); // a GET sends its body too
    EXPECT_EQ(seen[2].body, "also=1");
    EXPECT_EQ(seen[3].requestLine, "GET /in HTTP/1.1");
    EXPECT_THAT(seen[3].values("Content-Length"), IsEmpty());
}

TEST(ComHttpRequest, AnswerCookiesAreMergedIntoTheJarAndNotIntoTheStore)
{
    ProcessCookieStore::instance().clear();
    RawHttpServer server([](const RawRequest&) {
        return RawHttpServer::response("ok", "Set-Cookie: b=3; path=/\r\nSet-Cookie: a=deleted; expires=Thu, 01 Jan 1970 "
                                             "00:00:01 GMT\r\nSet-Cookie: new = 5 ; HttpOnly\r\n");
    });
    std::string jar = "a=1; b=2; c=4";
    std::string received = "old";
    ComHttpRequest request;
    request.url = server.url();
    request.cookies = &jar;
    request.cookiesOut = &received;
    EXPECT_EQ(SendComHttpRequest(request), "ok");
    EXPECT_EQ(jar, "b=3; new=5; c=4");
    EXPECT_EQ(received, "b=3;a=deleted;new=5;");
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].value("Cookie"), "a=1; b=2; c=4");
    EXPECT_FALSE(ProcessCookieStore::instance().cookieString(server.url()).has_value());
}

TEST(ComHttpRequest, Utf8AnswersAreConvertedWhenTheyOrTheirHeadersSaySo)
{
    const std::string chinese = "\xE4\xB8\xAD\xE6\x96\x87"; // 中文 in UTF-8
    const std::string meta = "<meta charset=utf-8>";
    struct Row {
        const char* name;
        std::string body;
        std::string headerLines;
        bool converted;
    };
    const Row rows[] = {
        {"meta tag near the start", meta + chinese, "", true},
        {"marker starting at byte 498", std::string(498, ' ') + "charset=utf-8" + chinese, "", true},
        {"marker starting at byte 499", std::string(499, ' ') + "charset=utf-8" + chinese, "", false},
        {"headers say so", chinese, "Content-Type: text/html; charset=utf-8\r\n", true},
        {"upper-case declaration is not seen", chinese, "Content-Type: text/html; charset=UTF-8\r\n", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RawHttpServer server([&](const RawRequest&) { return RawHttpServer::response(row.body, row.headerLines); });
        ComHttpRequest request;
        request.url = server.url();
        const std::string result = SendComHttpRequest(request);
        if (row.converted) {
            EXPECT_THAT(result, testing::EndsWith(gbk(chinese)));
            EXPECT_EQ(result.size(), row.body.size() - 2);
        } else {
            EXPECT_EQ(result, row.body);
        }
    }
}

TEST(ComHttpRequest, FailedExchangesGiveEmptyTexts)
{
    RawHttpServer slow([&slow](const RawRequest&) {
        slow.pause(10s);
        return RawHttpServer::response("late");
    });
    struct Row {
        const char* name;
        std::string url;
        int timeoutSeconds;
    };
    const Row rows[] = {
        {"refused", "http://127.0.0.1:" + std::to_string(closedPort()) + "/", 0},
        {"unknown host", "http://no-such-host.invalid/", 0},
        {"receive time-out", slow.url(), 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string jar = "a = 1; b=2";
        std::string headers = "old";
        std::string location = "old";
        std::string received = "old";
        ComHttpRequest request;
        request.url = row.url;
        request.timeoutSeconds = row.timeoutSeconds;
        request.cookies = &jar;
        request.cookiesOut = &received;
        request.headersOut = &headers;
        request.location = &location;
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(SendComHttpRequest(request), "");
        EXPECT_LT(std::chrono::steady_clock::now() - started, 3s);
        EXPECT_EQ(headers, "");
        EXPECT_EQ(location, "");
        EXPECT_EQ(received, "");
        EXPECT_EQ(jar, "a=1; b=2");
    }
}

TEST(ComHttpRequest, ProxyCredentialsGoToTheProxyOrTheServer)
{
    RawHttpServer proxy([](const RawRequest& request) {
        if (request.value("Proxy-Authorization").empty() && request.value("Authorization").empty())
            return RawHttpServer::response("", "Proxy-Authenticate: Basic realm=\"p\"\r\nWWW-Authenticate: Basic realm=\"s\"\r\n",
                                           request.target().find("/server") != std::string::npos
                                               ? "401 Unauthorized"
                                               : "407 Proxy Authentication Required");
        return RawHttpServer::response("through");
    });
    ComHttpRequest request;
    request.url = "http://origin.invalid/proxy";
    request.proxy = "127.0.0.1:" + std::to_string(proxy.port());
    request.proxyUser = "u";
    request.proxyPassword = "p";
    EXPECT_EQ(SendComHttpRequest(request), "through");
    request.url = "http://origin.invalid/server";
    request.proxyCredentialFlags = 0;
    EXPECT_EQ(SendComHttpRequest(request), "through");

    const std::vector<RawRequest> seen = proxy.requests();
    ASSERT_GE(seen.size(), 4u);
    EXPECT_EQ(seen[0].requestLine, "GET http://origin.invalid/proxy HTTP/1.1");
    EXPECT_EQ(seen[1].value("Proxy-Authorization"), "Basic dTpw");
    EXPECT_EQ(seen.back().value("Authorization"), "Basic dTpw");
    EXPECT_THAT(seen.back().values("Proxy-Authorization"), IsEmpty());
}
