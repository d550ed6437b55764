#include "net/RequestExchange.h"
#include "net/UrlParts.h"

#include <gtest/gtest.h>

TEST(UrlParts, HostPathAndPortOfEachFormOfAddress)
{
    struct Row {
        const char* url;
        const char* host;
        const char* hostWithPort;
        const char* path;
        int port;
    };
    const Row rows[] = {
        {"https://Example.COM/a/b?c=1#frag", "example.com", "example.com", "/a/b?c=1#frag", 443},
        {"http://h.example.com:8080/x", "h.example.com", "h.example.com:8080", "/x", 8080},
        {"http://h.example.com:443/x", "h.example.com", "h.example.com:443", "/x", 443},
        {"https://h.example.com:8443", "h.example.com", "h.example.com:8443", "/", 8443},
        {"WWW.Example.com/p/q", "www.example.com", "www.example.com", "/p/q", 80},
        {"http://example.com", "example.com", "example.com", "/", 80},
        {"HTTPS://Example.com/", "example.com", "example.com", "/", 443},
        {"http://example.com:abc/", "example.com", "example.com:abc", "/", 0},
        {"http://example.com:99999/", "example.com", "example.com:99999", "/", 0},
        // Another address inside the query belongs to the path, not to the host.
        {"http://a.example.com/r?u=https://b.example.com/", "a.example.com", "a.example.com",
         "/r?u=https://b.example.com/", 80},
        {"a.example.com/r?u=http://b.example.com/", "a.example.com", "a.example.com",
         "/r?u=http://b.example.com/", 80},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.url);
        EXPECT_EQ(GetUrlHost(row.url, false), row.host);
        EXPECT_EQ(GetUrlHost(row.url, true), row.hostWithPort);
        EXPECT_EQ(GetUrlPath(row.url), row.path);
        EXPECT_EQ(GetUrlPort(row.url), row.port);
    }
}

TEST(UrlParts, RequestFlagsChooseTlsAndTheCookieStore)
{
    struct Row {
        const char* url;
        const char* cookies;
        bool useSystemCookies;
        bool tls;
        bool explicitCookies;
    };
    const Row rows[] = {
        {"https://example.com/", "", false, true, false},
        {"http://example.com:443/", "", false, true, false},
        // An https address on another port is never sent in clear text.
        {"https://example.com:8443/", "", false, true, false},
        {"http://example.com:8443/", "", false, false, false},
        {"example.com/", "", false, false, false},
        {"http://example.com/", "a=1", false, false, true},
        {"http://example.com/", "null", false, false, true},
        {"http://example.com/", "   ", false, false, false},
        {"http://example.com/", "a=1", true, false, false},
        {"https://example.com/", "null", true, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.url) + " cookies='" + row.cookies + "' system=" + std::to_string(row.useSystemCookies));
        const RequestFlags flags = requestFlags(row.url, row.cookies, row.useSystemCookies);
        EXPECT_EQ(flags.tls, row.tls);
        EXPECT_EQ(flags.explicitCookies, row.explicitCookies);
    }
}
