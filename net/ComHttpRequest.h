#pragma once

#include <string>

// A second request operation for steps that need what SendHttpRequest does not offer: redirects
// that can be switched off (to read the target), the caller's cookie jar kept up to date in one
// call, and a UTF-8 answer decoded on the spot. Runs on the caller's thread with per-phase
// time-outs; it keeps cookies only within one call and never touches the process store.
struct ComHttpRequest {
    std::string url;
    // 1: POST; any other value: GET.
    int usePost = 0;
    // Request body, sent when byteBody is empty (a GET sends it too).
    std::string body;
    // In and out: the caller's cookie jar, sent as the Cookie header and replaced by the jar
    // merged with the answer's cookies.
    std::string* cookies = nullptr;
    // The answer's cookies, each item followed by ";".
    std::string* cookiesOut = nullptr;
    // In and out: header lines separated by "\r\n"; when empty, the default block (with the url as
    // Referer) is used and written back.
    std::string* requestHeaders = nullptr;
    // The answer's Location target; the whole response header text when it has none.
    std::string* location = nullptr;
    bool noRedirect = false;
    // Binary body; when not empty it is sent instead of body.
    std::string byteBody;
    // Proxy server for every request; empty means none.
    std::string proxy;
    // All response header lines of the final answer, each ended by "\r\n", then a blank line.
    std::string* headersOut = nullptr;
    // -1: resolve/connect 60 s, send and receive 30 s each; above 0: that many seconds for each
    // phase; otherwise 15 seconds.
    int timeoutSeconds = 0;
    std::string proxyUser;
    std::string proxyPassword;
    // 1 (or any value but 0): the credentials are for the proxy; 0: for the server.
    int proxyCredentialFlags = 1;
};

// The response body, converted from UTF-8 to GBK when its first 499 bytes or the headers say
// "charset=utf-8". A failed exchange gives an empty body and empty header text; an empty result
// with every out-parameter untouched means the request could not even be set up.
std::string SendComHttpRequest(const ComHttpRequest& request);

// The limits of one exchange's phases, in milliseconds. Resolving and connecting share one limit;
// sending and receiving each count the time without a byte moving.
struct ComTimeouts {
    long resolveMs;
    long connectMs;
    long sendMs;
    long receiveMs;
};
ComTimeouts comTimeoutsFor(int timeoutSeconds);

// The default request header block for url.
std::string defaultComRequestHeaders(const std::string& url);

// The text before / after the first ":" of a header line, trimmed; empty without ":".
std::string HeaderName(const std::string& line);
std::string HeaderValue(const std::string& line);
