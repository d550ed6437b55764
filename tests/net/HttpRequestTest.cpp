#include "net/CookieStore.h"
#include "net/CurlGlobal.h"
#include "net/HttpRequest.h"
#include "support/LoopbackServer.h"
#include "support/RawHttpServer.h"

#include <QCoreApplication>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

using namespace std::chrono_literals;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;
using testing::StartsWith;

namespace {

const std::string defaultAccept =
    "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*";

// The header block without the lines libcurl writes (host, agent, cookies).
std::vector<std::string> callerVisibleHeaders(const RawRequest& request)
{
    std::vector<std::string> lines;
    for (const std::string& line : request.headerLines) {
        if (line.rfind("Host:", 0) != 0 && line.rfind("User-Agent:", 0) != 0 && line.rfind("Cookie:", 0) != 0)
            lines.push_back(line);
    }
    return lines;
}

bool waitForWorkersToEnd(std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (HttpEngine::runningWorkers() > 0) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

class HttpRequestTest : public testing::Test {
protected:
    void SetUp() override { ProcessCookieStore::instance().clear(); }
    void TearDown() override
    {
        EXPECT_TRUE(waitForWorkersToEnd(3s)) << "a worker outlived its request";
        ProcessCookieStore::instance().clear();
    }
};

} // namespace

TEST_F(HttpRequestTest, RequestsAsTheServerSeesThem)
{
    struct Case {
        const char* name;
        std::function<void(HttpRequest&, const std::string& url)> prepare;
        std::function<void(const std::vector<RawRequest>&, const std::string& url)> check;
        UserAgent agent = UserAgent::Default;
    };
    const Case cases[] = {
        {"completed header block, in order",
         [](HttpRequest& r, const std::string& url) { r.url = url + "p?q=1#top"; },
         [](const std::vector<RawRequest>& seen, const std::string& url) {
             ASSERT_EQ(seen.size(), 1u);
             EXPECT_EQ(seen[0].requestLine, "GET /p?q=1 HTTP/1.1");
             EXPECT_THAT(callerVisibleHeaders(seen[0]),
                         ElementsAre("Accept: " + defaultAccept, "Referer: " + url + "p?q=1#top",
                                     "Accept-Language: zh-cn"));
             EXPECT_EQ(seen[0].value("User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
         }},
        {"caller's lines first; Referer and Accept-Language suppressed in any letter case",
         [](HttpRequest& r, const std::string& url) {
             r.url = url;
             r.extraHeaders = "referer: http://elsewhere.example/\r\nX-One: 1\r\nACCEPT-LANGUAGE: en\r\n";
         },
         [](const std::vector<RawRequest>& seen, const std::string&) {
             ASSERT_EQ(seen.size(), 1u);
             EXPECT_THAT(callerVisibleHeaders(seen[0]),
                         ElementsAre("referer: http://elsewhere.example/", "X-One: 1", "ACCEPT-LANGUAGE: en",
                                     "Accept: " + defaultAccept));
         }},
        {"web voice engine announces its own agent",
         [](HttpRequest& r, const std::string& url) { r.url = url; },
         [](const std::vector<RawRequest>& seen, const std::string&) {
             ASSERT_EQ(seen.size(), 1u);
             EXPECT_EQ(seen[0].value("User-Agent"), userAgentText(UserAgent::WebVoice));
             EXPECT_THAT(seen[0].value("User-Agent"), HasSubstr("Chrome/45.0.2454.101"));
         },
         UserAgent::WebVoice},
        {"POST with a body gets the form type and one length",
         [](HttpRequest& r, const std::string& url) {
             r.url = url + "submit";
             r.method = "POST";
             r.body = "a=1&b=%E4";
         },
         [](const std::vector<RawRequest>& seen, const std::string&) {
             ASSERT_EQ(seen.size(), 1u);
             EXPECT_EQ(seen[0].requestLine, "POST /submit HTTP/1.1");
             EXPECT_THAT(seen[0].values("Content-Type"), ElementsAre("application/x-www-form-urlencoded"));
             EXPECT_THAT(seen[0].values("Content-Length"), ElementsAre("9"));
             EXPECT_THAT(seen[0].values("Expect"), IsEmpty());
             EXPECT_EQ(seen[0].body, "a=1&b=%E4");
         }},
        {"POST keeps its own type; the caller's length is replaced by the true one",
         [](HttpRequest& r, const std::string& url) {
             r.url = url;
             r.method = "POST";
             r.body = "{\"k\":1}";
             r.extraHeaders = "content-type: application/json\r\nContent-Length: 99\r\n";
         },
         [](const std::vector<RawRequest>& seen, const std::string&) {
             ASSERT_EQ(seen.size(), 1u);
             EXPECT_THAT(seen[0].values("Content-Type"), ElementsAre("application/json"));
             EXPECT_THAT(seen[0].values("Content-Length"), ElementsAre("7"));
             EXPECT_EQ(seen[0].body, "{\"k\":1}");
         }},
        {"POST without a body gets no type from the engine",
         [](HttpRequest& r, const std::string& url) {
             r.url = url;
             r.method = "POST";
         },
         [](const std::vector<RawRequest>& seen, const std::string&) {
             ASSERT_EQ(seen.size(), 1u);
             EXPECT_THAT(seen[0].requestLine, StartsWith("POST "));
             EXPECT_THAT(seen[0].values("Content-Type"), IsEmpty());
             EXPECT_THAT(seen[0].values("Content-Length"), testing::AnyOf(IsEmpty(), ElementsAre("0")));
             EXPECT_EQ(seen[0].body, "");
         }},
        {"lower-case post travels as spelled",
         [](HttpRequest& r, const std::string& url) {
             r.url = url + "x";
             r.method = "post";
             r.body = "v=1";
         },
         [](const std::vector<RawRequest>& seen, const std::string&) {
             ASSERT_EQ(seen.size(), 1u);
             EXPECT_EQ(seen[0].requestLine, "post /x HTTP/1.1");
             EXPECT_EQ(seen[0].body, "v=1");
         }},
        {"GET ignores the body",
         [](HttpRequest& r, const std::string& url) {
             r.url = url;
             r.method = "get";
             r.body = "ignored";
         },
         [](const std::vector<RawRequest>& seen, const std::string&) {
             ASSERT_EQ(seen.size(), 1u);
             EXPECT_EQ(seen[0].requestLine, "get / HTTP/1.1");
             EXPECT_EQ(seen[0].body, "");
             EXPECT_THAT(seen[0].values("Content-Length"), IsEmpty());
         }},
        {"explicit cookies are sent alone",
         [](HttpRequest& r, const std::string& url) {
             r.url = url;
             r.cookies = "a=1; b=2";
         },
         [](const std::vector<RawRequest>& seen, const std::string&) {
             ASSERT_EQ(seen.size(), 1u);
             EXPECT_THAT(seen[0].values("Cookie"), ElementsAre("a=1; b=2"));
         }},
        {"\"null\" sends no cookie and keeps the store out",
         [](HttpRequest& r, const std::string& url) {
             r.url = url;
             r.cookies = "null";
         },
         [](const std::vector<RawRequest>& seen, const std::string&) {
             ASSERT_EQ(seen.size(), 1u);
             EXPECT_THAT(seen[0].values("Cookie"), IsEmpty());
         }},
        {"spaces only count as no cookies: the store supplies them",
         [](HttpRequest& r, const std::string& url) {
             r.url = url;
             r.cookies = "   ";
         },
         [](const std::vector<RawRequest>& seen, const std::string&) {
             ASSERT_EQ(seen.size(), 1u);
             EXPECT_THAT(seen[0].values("Cookie"), ElementsAre("stored=s1"));
         }},
        {"no cookies: the store supplies them",
         [](HttpRequest& r, const std::string& url) { r.url = url; },
         [](const std::vector<RawRequest>& seen, const std::string&) {
             ASSERT_EQ(seen.size(), 1u);
             EXPECT_THAT(seen[0].values("Cookie"), ElementsAre("stored=s1"));
         }},
        {"the caller's cookies join the store's when the store is asked for",
         [](HttpRequest& r, const std::string& url) {
             r.url = url;
             r.cookies = "mine=m1";
             r.useSystemCookies = true;
         },
         [](const std::vector<RawRequest>& seen, const std::string&) {
             ASSERT_EQ(seen.size(), 1u);
             ASSERT_EQ(seen[0].values("Cookie").size(), 1u);
             EXPECT_THAT(seen[0].value("Cookie"), HasSubstr("stored=s1"));
             EXPECT_THAT(seen[0].value("Cookie"), HasSubstr("mine=m1"));
         }},
        {"an unsupported verb sends nothing",
         [](HttpRequest& r, const std::string& url) {
             r.url = url;
             r.method = "PUT";
         },
         [](const std::vector<RawRequest>& seen, const std::string&) { EXPECT_THAT(seen, IsEmpty()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProcessCookieStore::instance().clear();
        ASSERT_TRUE(ProcessCookieStore::instance().setCookie("http://127.0.0.1", "stored", "s1; path=/"));
        RawHttpServer server([](const RawRequest&) { return RawHttpServer::response("answer"); });
        HttpRequest request;
        c.prepare(request, server.url());
        const std::string body = HttpEngine(c.agent).send(request);
        const bool unsupported = request.method == "PUT";
        EXPECT_EQ(body, unsupported ? "" : "answer");
        c.check(server.requests(), server.url());
    }
}

TEST_F(HttpRequestTest, ServerCredentialsAnswerTheChallenge)
{
    RawHttpServer server([](const RawRequest& request) {
        if (request.value("Authorization").empty())
            return RawHttpServer::response("who?", "WWW-Authenticate: Basic realm=\"r\"\r\n", "401 Unauthorized");
        return RawHttpServer::response("welcome");
    });
    HttpRequest request;
    request.url = server.url("/private");
    request.userName = "user";
    request.password = "secret";
    EXPECT_EQ(SendHttpRequest(request), "welcome");
    const std::vector<RawRequest> seen = server.requests();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().value("Authorization"), "Basic dXNlcjpzZWNyZXQ=");
}

TEST_F(HttpRequestTest, PlainRequestsGoThroughTheProxy)
{
    RawHttpServer proxy([](const RawRequest&) { return RawHttpServer::response("via proxy"); });
    HttpRequest request;
    request.url = "http://origin.invalid/page?x=1";
    request.proxy = "127.0.0.1:" + std::to_string(proxy.port());
    EXPECT_EQ(SendHttpRequest(request), "via proxy");
    const std::vector<RawRequest> seen = proxy.requests();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].requestLine, "GET http://origin.invalid/page?x=1 HTTP/1.1");
}

TEST_F(HttpRequestTest, RedirectChainKeepsEveryStepsCookiesInTheStore)
{
    RawHttpServer server([](const RawRequest& request) {
        if (request.target() == "/start")
            return RawHttpServer::response("", "Location: /middle\r\nSet-Cookie: first=1; path=/\r\n", "302 Found");
        if (request.target() == "/middle")
            return RawHttpServer::response("", "Location: /end\r\nSet-Cookie: second=2; path=/\r\n", "302 Found");
        return RawHttpServer::response("arrived", "Set-Cookie: last=3; path=/\r\n");
    });
    HttpRequest request;
    request.url = server.url("/start");
    std::string cookies = "old";
    std::string headers = "old";
    request.cookiesOut = &cookies;
    request.headersOut = &headers;
    EXPECT_EQ(SendHttpRequest(request), "arrived");
    EXPECT_EQ(cookies, "last=3"); // the final response's only
    EXPECT_THAT(headers, StartsWith("HTTP/1.1 200 OK\r\n"));
    EXPECT_THAT(headers, Not(HasSubstr("302")));

    const std::vector<RawRequest> seen = server.requests();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_THAT(seen[2].value("Cookie"), HasSubstr("first=1"));
    EXPECT_THAT(seen[2].value("Cookie"), HasSubstr("second=2"));
    const std::string stored = ProcessCookieStore::instance().cookieString("http://127.0.0.1").value_or("");
    EXPECT_THAT(stored, HasSubstr("first=1"));
    EXPECT_THAT(stored, HasSubstr("second=2"));
    EXPECT_THAT(stored, HasSubstr("last=3"));
}

TEST_F(HttpRequestTest, RedirectedPostContinuesAsGetWhateverTheVerbsSpelling)
{
    RawHttpServer server([](const RawRequest& request) {
        if (request.target() == "/found")
            return RawHttpServer::response("", "Location: /end\r\n", "302 Found");
        if (request.target() == "/temporary")
            return RawHttpServer::response("", "Location: /end\r\n", "307 Temporary Redirect");
        return RawHttpServer::response("arrived");
    });
    struct Row {
        const char* method;
        const char* path;
        const char* secondLine;
        const char* secondBody;
    };
    const Row rows[] = {
        {"POST", "/found", "GET /end HTTP/1.1", ""},
        {"post", "/found", "GET /end HTTP/1.1", ""},
        {"post", "/temporary", "post /end HTTP/1.1", "v=1"},
        {"get", "/found", "get /end HTTP/1.1", ""},
    };
    size_t seenBefore = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.method) + " " + row.path);
        HttpRequest request;
        request.url = server.url(row.path);
        request.method = row.method;
        request.body = "v=1";
        EXPECT_EQ(SendHttpRequest(request), "arrived");
        const std::vector<RawRequest> seen = server.requests();
        ASSERT_EQ(seen.size(), seenBefore + 2);
        EXPECT_EQ(seen[seenBefore + 1].requestLine, row.secondLine);
        EXPECT_EQ(seen[seenBefore + 1].body, row.secondBody);
        seenBefore = seen.size();
    }
}

TEST_F(HttpRequestTest, ExplicitCookiesFollowARedirectAndLeaveTheStoreAlone)
{
    RawHttpServer server([](const RawRequest& request) {
        if (request.target() == "/start")
            return RawHttpServer::response("", "Location: /end\r\nSet-Cookie: step=1; path=/\r\n", "302 Found");
        return RawHttpServer::response("arrived");
    });
    HttpRequest request;
    request.url = server.url("/start");
    request.cookies = "mine=1";
    EXPECT_EQ(SendHttpRequest(request), "arrived");
    const std::vector<RawRequest> seen = server.requests();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_THAT(seen[1].values("Cookie"), ElementsAre("mine=1"));
    EXPECT_FALSE(ProcessCookieStore::instance().cookieString("http://127.0.0.1").has_value());
}

TEST_F(HttpRequestTest, SetCookieCollectionFollowsTheOldRules)
{
    const std::string lines = "Set-Cookie: a=1; path=/\r\n"
                              "Set-Cookie: b=; expires=Thu, 01 Jan 1970 00:00:01 GMT\r\n"
                              "Set-Cookie: c=3\r\n"
                              "set-cookie: d=4; path=/\r\n"
                              "Set-Cookie: e = 5 ; HttpOnly\r\n";
    RawHttpServer server([&](const RawRequest&) { return RawHttpServer::response("x", lines); });
    struct Row {
        const char* name;
        bool giveCookies;
        bool giveHeaders;
    };
    for (const Row row : {Row{"both given", true, true}, Row{"cookies only", true, false},
                          Row{"headers only", false, true}}) {
        SCOPED_TRACE(row.name);
        std::string cookies = "untouched";
        std::string headers = "untouched";
        HttpRequest request;
        request.url = server.url();
        request.cookies = "null";
        request.cookiesOut = row.giveCookies ? &cookies : nullptr;
        request.headersOut = row.giveHeaders ? &headers : nullptr;
        EXPECT_EQ(SendHttpRequest(request), "x");
        EXPECT_EQ(cookies, row.giveCookies ? "a=1; e = 5" : "untouched");
        if (row.giveHeaders) {
            EXPECT_THAT(headers, StartsWith("HTTP/1.1 200 OK\r\n"));
            EXPECT_THAT(headers, HasSubstr("\r\n" + lines));
            EXPECT_THAT(headers, testing::EndsWith("\r\n\r\n"));
        } else {
            EXPECT_EQ(headers, "untouched");
        }
    }
}

TEST_F(HttpRequestTest, SystemCookiesStoreTheFinalResponsesCookiesUnderTheHost)
{
    RawHttpServer server([](const RawRequest&) {
        return RawHttpServer::response("x", "Set-Cookie: kept=1; path=/deep\r\nSet-Cookie: gone=; path=/\r\n");
    });
    HttpRequest request;
    request.url = server.url("/deep/page");
    request.cookies = "mine=1";
    request.useSystemCookies = true;
    EXPECT_EQ(SendHttpRequest(request), "x");
    const std::string atPath = ProcessCookieStore::instance().cookieString(server.url("/deep/x")).value_or("");
    EXPECT_THAT(atPath, HasSubstr("kept=1"));
    EXPECT_THAT(atPath, Not(HasSubstr("mine")));
}

TEST_F(HttpRequestTest, LongHeaderBlockIsReadWhole)
{
    std::string lines;
    for (int i = 0; i < 400; ++i)
        lines += "X-Filler-" + std::to_string(i) + ": " + std::string(150, 'f') + "\r\n";
    lines += "Set-Cookie: late=1; path=/\r\n";
    RawHttpServer server([&](const RawRequest&) { return RawHttpServer::response("body", lines); });
    HttpRequest request;
    request.url = server.url();
    std::string cookies;
    std::string headers;
    request.cookiesOut = &cookies;
    request.headersOut = &headers;
    EXPECT_EQ(SendHttpRequest(request), "body");
    EXPECT_EQ(cookies, "late=1");
    EXPECT_GT(headers.size(), 60000u);
    EXPECT_THAT(headers, HasSubstr("X-Filler-399: "));
    EXPECT_EQ(ProcessCookieStore::instance().cookieString(server.url()).value_or(""), "late=1");
}

TEST_F(HttpRequestTest, BodiesComeBackWholeWhateverTheirStatus)
{
    std::string binary(3 * 1024 * 1024 + 17, '\0');
    for (size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>((i * 7919) % 251);
    RawHttpServer server([&](const RawRequest& request) {
        if (request.target() == "/missing")
            return RawHttpServer::response("not here", "", "404 Not Found");
        if (request.target() == "/empty")
            return RawHttpServer::response("");
        return RawHttpServer::response(binary, "Content-Type: application/octet-stream\r\n");
    });
    HttpRequest request;
    request.url = server.url("/big");
    EXPECT_EQ(SendHttpRequest(request), binary);
    request.url = server.url("/missing");
    EXPECT_EQ(SendHttpRequest(request), "not here");
    std::string headers = "untouched";
    request.url = server.url("/empty");
    request.headersOut = &headers;
    EXPECT_EQ(SendHttpRequest(request), "");
    EXPECT_THAT(headers, StartsWith("HTTP/1.1 200 OK")); // a true empty answer still hands out its headers
}

TEST_F(HttpRequestTest, FailuresGiveNothingAndLeaveTheOutParametersAlone)
{
    RawHttpServer silent([](const RawRequest&) { return std::string(); });
    struct Row {
        const char* name;
        std::string url;
    };
    const Row rows[] = {
        {"refused connection", "http://127.0.0.1:" + std::to_string(closedPort()) + "/"},
        {"unknown host", "http://no-such-host.invalid/"},
        {"connection closed without an answer", silent.url()},
        {"no host at all", "/just/a/path"},
        {"plain request to a port with nothing but TLS", ""},
    };
    LoopbackServer tls(LoopbackServer::Kind::Tls);
    tls.server().Get("/", [](const httplib::Request&, httplib::Response& res) { res.set_content("secret", "text/plain"); });
    ASSERT_TRUE(tls.start());
    for (Row row : rows) {
        if (row.url.empty())
            row.url = "http://127.0.0.1:" + std::to_string(tls.port()) + "/";
        SCOPED_TRACE(row.name);
        std::string cookies = "untouched";
        std::string headers = "untouched";
        HttpRequest request;
        request.url = row.url;
        request.timeoutSeconds = 10;
        request.cookiesOut = &cookies;
        request.headersOut = &headers;
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(SendHttpRequest(request), "");
        EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
        EXPECT_EQ(cookies, "untouched");
        EXPECT_EQ(headers, "untouched");
    }
}

TEST_F(HttpRequestTest, TimeOutReturnsAtTheLimitAndCancelsTheTransfer)
{
    RawHttpServer server([&](const RawRequest&) {
        return RawHttpServer::response("too late", "Set-Cookie: late=1; path=/\r\n");
    });
    RawHttpServer slow([&slow](const RawRequest&) {
        slow.pause(20s);
        return RawHttpServer::response("too late", "Set-Cookie: late=1; path=/\r\n");
    });
    for (const bool pump : {false, true}) {
        SCOPED_TRACE(pump ? "pumping events" : "plain wait");
        std::string cookies = "untouched";
        std::string headers = "untouched";
        HttpRequest request;
        request.url = slow.url();
        request.timeoutSeconds = 1;
        request.pumpMessages = pump;
        request.cookiesOut = &cookies;
        request.headersOut = &headers;
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(SendHttpRequest(request), "");
        const auto took = std::chrono::steady_clock::now() - started;
        EXPECT_GE(took, 1s);
        EXPECT_LT(took, 1300ms);
        EXPECT_EQ(cookies, "untouched");
        EXPECT_EQ(headers, "untouched");
        // The abandoned worker sees the cancellation at once and ends by itself.
        EXPECT_TRUE(waitForWorkersToEnd(500ms));
    }
    EXPECT_FALSE(ProcessCookieStore::instance().cookieString(slow.url()).has_value());
}

TEST_F(HttpRequestTest, PumpingProcessesTheCallersEventsWhileWaiting)
{
    ASSERT_NE(QCoreApplication::instance(), nullptr);
    RawHttpServer server([&server](const RawRequest&) {
        server.pause(300ms);
        return RawHttpServer::response("done");
    });
    for (const bool pump : {false, true}) {
        SCOPED_TRACE(pump ? "pumping" : "not pumping");
        bool fired = false;
        QTimer::singleShot(20, [&fired] { fired = true; });
        HttpRequest request;
        request.url = server.url();
        request.pumpMessages = pump;
        EXPECT_EQ(SendHttpRequest(request), "done");
        EXPECT_EQ(fired, pump);
        QCoreApplication::processEvents();
        EXPECT_TRUE(fired);
    }
}

TEST_F(HttpRequestTest, HttpsIsUsedForTheSchemeAndForPort443)
{
    setTrustedAuthorityFile(testCertificate().certFile);
    LoopbackServer tls(LoopbackServer::Kind::Tls);
    tls.server().Get("/hello", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content("over tls " + req.get_header_value("Cookie"), "text/plain");
    });
    ASSERT_TRUE(tls.start());
    HttpRequest request;
    request.url = "https://127.0.0.1:" + std::to_string(tls.port()) + "/hello";
    request.cookies = "c=1";
    EXPECT_EQ(SendHttpRequest(request), "over tls c=1");

    LoopbackServer on443(LoopbackServer::Kind::Tls);
    on443.server().Get("/", [](const httplib::Request&, httplib::Response& res) { res.set_content("443", "text/plain"); });
    if (on443.start(443)) {
        request.url = "http://localhost:443/";
        EXPECT_EQ(SendHttpRequest(request), "443");
        request.url = "localhost:443/";
        EXPECT_EQ(SendHttpRequest(request), "443");
    } else {
        ADD_FAILURE() << "port 443 is taken; the plain-scheme TLS row was not checked";
    }

    // Peers are verified: an authority that did not sign the certificate fails the request.
    setTrustedAuthorityFile("/dev/null");
    request.url = "https://127.0.0.1:" + std::to_string(tls.port()) + "/hello";
    EXPECT_EQ(SendHttpRequest(request), "");
    setTrustedAuthorityFile({});
}

TEST_F(HttpRequestTest, ManyThreadsShareTheCookieStore)
{
    LoopbackServer server;
    std::atomic<int> served{0};
    server.server().Get(R"(/t/(\d+)/(\d+))", [&served](const httplib::Request& req, httplib::Response& res) {
        ++served;
        const std::string thread = req.matches[1];
        const std::string round = req.matches[2];
        res.set_header("Set-Cookie", "t" + thread + "=" + round + "; path=/");
        res.set_content(req.get_header_value("Cookie"), "text/plain");
    });
    ASSERT_TRUE(server.start());
    constexpr int threads = 6;
    constexpr int rounds = 25;
    std::atomic<int> wrong{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            for (int i = 0; i < rounds; ++i) {
                HttpRequest request;
                request.url = server.url("/t/" + std::to_string(t) + "/" + std::to_string(i));
                std::string cookies;
                request.cookiesOut = &cookies;
                const std::string sent = SendHttpRequest(request);
                // Each thread sees its own cookie of the previous round.
                const std::string own = "t" + std::to_string(t) + "=" + std::to_string(i - 1);
                if (cookies != "t" + std::to_string(t) + "=" + std::to_string(i)
                    || (i > 0 && sent.find(own) == std::string::npos))
                    ++wrong;
            }
        });
    }
    for (std::thread& worker : workers)
        worker.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(served.load(), threads * rounds);
    const std::string stored = ProcessCookieStore::instance().cookieString(server.url()).value_or("");
    for (int t = 0; t < threads; ++t)
        EXPECT_THAT(stored, HasSubstr("t" + std::to_string(t) + "=" + std::to_string(rounds - 1)));
}
