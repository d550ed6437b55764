#pragma once

#include <string>

// The one operation for plain HTTP exchanges. Each request runs on a worker thread of its own;
// the caller waits for it up to a limit. The caller sees no handle, error or status code: a
// request yields a body (possibly empty, an error page's body included) or nothing.

// What the engine announces itself as; fixed when the engine is made.
enum class UserAgent {
    Default,     // "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)"
    ProductInfo, // "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)"
    WebVoice,    // "Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/45..."
};

const char* userAgentText(UserAgent agent);

struct HttpRequest {
    // "http://" or "https://" address with optional port, path and query, or host and path alone.
    // TLS is used for https and for port 443 with any scheme.
    std::string url;
    // "GET" or empty, or "POST", in any letter case (sent as spelled); any other verb fails
    // without sending anything.
    std::string method;
    // Request body of a POST; ignored otherwise.
    std::string body;
    // Cookie text sent as the Cookie header. When it is not blank (and useSystemCookies is off)
    // the process cookie store is neither read nor written; the single word "null" sends no
    // Cookie header and still keeps the store out.
    std::string cookies;
    // When given: the cookies this response set, as name=value items joined by "; " (a
    // Set-Cookie line with an empty value or without ";" after it counts as none).
    std::string* cookiesOut = nullptr;
    // HTTP proxy, host:port, for plain-HTTP requests; blank means a direct connection.
    std::string proxy;
    // Wait limit in seconds; 0 means 90, a negative number no limit.
    int timeoutSeconds = 0;
    // While waiting, keep processing the calling thread's Qt events (when a QCoreApplication exists).
    bool pumpMessages = false;
    // Request header lines, each ended by "\r\n". Accept, Referer (the url itself) and
    // Accept-Language are added when missing.
    std::string extraHeaders;
    // Server credentials, used when not blank.
    std::string userName;
    std::string password;
    // When given: the raw header block of the final response (status line, header lines, blank line).
    std::string* headersOut = nullptr;
    // Also store the final response's cookies in the process store under "http://" + host.
    bool useSystemCookies = false;
};

// What a worker hands back for one request.
struct HttpResult {
    bool success = false;
    std::string headers;
    std::string cookies;
    std::string body;
};

class HttpEngine {
public:
    explicit HttpEngine(UserAgent agent = UserAgent::Default) : agent_(agent) {}

    // Blocks until the exchange ends or the wait limit passes. The response body, or an empty
    // text on failure or time-out, when the out-parameters are left untouched. A request still
    // running at the limit is cancelled and ends on its own shortly after.
    std::string send(const HttpRequest& request) const;

    UserAgent userAgent() const { return agent_; }

    // Worker threads that have not yet ended, abandoned ones included.
    static int runningWorkers();

private:
    UserAgent agent_;
};

std::string SendHttpRequest(const HttpRequest& request, UserAgent agent = UserAgent::Default);
