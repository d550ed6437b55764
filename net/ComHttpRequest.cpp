#include "net/ComHttpRequest.h"

#include "net/CodePages.h"
#include "net/CookieJar.h"
#include "net/CurlGlobal.h"
#include "net/HeaderText.h"
#include "net/TextSearch.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Request headers as set one by one: a later header of the same name replaces the earlier one.
class HeaderSet {
public:
    void set(const std::string& name, const std::string& value)
    {
        if (name.empty())
            return;
        for (auto& [existing, text] : headers_) {
            if (equalsNoCase(existing, name)) {
                text = value;
                return;
            }
        }
        headers_.emplace_back(name, value);
    }
    const std::vector<std::pair<std::string, std::string>>& all() const { return headers_; }
    bool has(const std::string& name) const
    {
        return std::any_of(headers_.begin(), headers_.end(),
                           [&](const auto& header) { return equalsNoCase(header.first, name); });
    }

private:
    std::vector<std::pair<std::string, std::string>> headers_;
};

struct Exchange {
    std::string headers; // the block of the latest response
    std::string body;
    long idleLimitMs = 0;
    bool connected = false;
    Clock::time_point lastActivity = Clock::now();
    curl_off_t lastDown = 0;
    curl_off_t lastUp = 0;
};

size_t onBody(char* data, size_t size, size_t count, void* user)
{
    try {
        static_cast<Exchange*>(user)->body.append(data, size * count);
    } catch (const std::exception&) {
        return 0;
    }
    return size * count;
}

size_t onHeader(char* data, size_t size, size_t count, void* user)
{
    auto* exchange = static_cast<Exchange*>(user);
    const size_t length = size * count;
    try {
        if (length >= 5 && std::equal(data, data + 5, "HTTP/"))
            exchange->headers.clear();
        exchange->headers.append(data, length);
    } catch (const std::exception&) {
        return 0;
    }
    return length;
}

// Sending and receiving each have their own limit: the time without a byte moving, counted from
// the moment the connection stands.
int onPrerequest(void* user, char*, char*, int, int)
{
    auto* exchange = static_cast<Exchange*>(user);
    exchange->connected = true;
    exchange->lastActivity = Clock::now();
    return CURL_PREREQFUNC_OK;
}

int onProgress(void* user, curl_off_t, curl_off_t down, curl_off_t, curl_off_t up)
{
    auto* exchange = static_cast<Exchange*>(user);
    const Clock::time_point now = Clock::now();
    if (down != exchange->lastDown || up != exchange->lastUp) {
        exchange->lastDown = down;
        exchange->lastUp = up;
        exchange->lastActivity = now;
        return 0;
    }
    const auto idle = std::chrono::duration_cast<std::chrono::milliseconds>(now - exchange->lastActivity).count();
    return exchange->connected && idle > exchange->idleLimitMs ? 1 : 0;
}

// The response header lines without the status line.
std::string headerLinesOf(const std::string& block)
{
    const size_t end = block.find("\r\n");
    return end == std::string::npos ? std::string() : block.substr(end + 2);
}

} // namespace

ComTimeouts comTimeoutsFor(int timeoutSeconds)
{
    if (timeoutSeconds == -1)
        return {0, 60000, 30000, 30000}; // the request object's own: resolving without a limit
    const long phase = timeoutSeconds > 0 ? timeoutSeconds * 1000L : 15000L;
    return {phase, phase, phase, phase};
}

std::string defaultComRequestHeaders(const std::string& url)
{
    return "Referer: " + url
        + "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; "
          "125LA; .NET CLR 2.0.50727; .NET CLR 3.0.04506.648; .NET CLR 3.5.21022)\r\nContent-Type: "
          "application/x-www-form-urlencoded";
}

std::string HeaderName(const std::string& line)
{
    const size_t colon = line.find(':');
    return colon == std::string::npos ? std::string() : trimmed(line.substr(0, colon));
}

std::string HeaderValue(const std::string& line)
{
    const size_t colon = line.find(':');
    return colon == std::string::npos ? std::string() : trimmed(line.substr(colon + 1));
}

std::string SendComHttpRequest(const ComHttpRequest& request)
{
    CurlEasy easy = makeCurlEasy();
    if (!easy)
        return {};
    CURL* handle = easy.get();
    Exchange exchange;

    const ComTimeouts timeouts = comTimeoutsFor(request.timeoutSeconds);
    exchange.idleLimitMs = std::max(timeouts.sendMs, timeouts.receiveMs);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, timeouts.connectMs);

    curl_easy_setopt(handle, CURLOPT_PROXY, request.proxy.c_str());
    if (!request.proxy.empty() && !request.proxyUser.empty()) {
        if (request.proxyCredentialFlags == 0) {
            curl_easy_setopt(handle, CURLOPT_USERNAME, request.proxyUser.c_str());
            curl_easy_setopt(handle, CURLOPT_PASSWORD, request.proxyPassword.c_str());
            curl_easy_setopt(handle, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_ANY));
        } else {
            curl_easy_setopt(handle, CURLOPT_PROXYUSERNAME, request.proxyUser.c_str());
            curl_easy_setopt(handle, CURLOPT_PROXYPASSWORD, request.proxyPassword.c_str());
            curl_easy_setopt(handle, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_ANY));
        }
    }

    curl_easy_setopt(handle, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, request.noRedirect ? 0L : 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 20L);
    curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    applyTrustedAuthorities(handle);
    // Cookies set along a redirect chain go with the next step of the same call, and no further.
    curl_easy_setopt(handle, CURLOPT_COOKIEFILE, "");

    std::string blockStorage;
    const std::string* block = request.requestHeaders;
    if (block == nullptr || block->empty()) {
        blockStorage = defaultComRequestHeaders(request.url);
        if (request.requestHeaders != nullptr)
            *request.requestHeaders = blockStorage;
        block = &blockStorage;
    }
    HeaderSet headers;
    if (request.cookies != nullptr && !request.cookies->empty())
        headers.set("Cookie", *request.cookies);
    if (block->find("\r\n") == std::string::npos) {
        headers.set(HeaderName(*block), HeaderValue(*block));
    } else {
        for (const std::string& line : splitLines(*block)) {
            if (!line.empty())
                headers.set(HeaderName(line), HeaderValue(line));
        }
    }
    curl_slist* list = nullptr;
    std::string cookieHeader;
    for (const auto& [name, value] : headers.all()) {
        if (equalsNoCase(name, "Cookie"))
            cookieHeader = value; // merged by libcurl with the cookies of redirect steps
        else
            list = curl_slist_append(list, (value.empty() ? name + ";" : name + ": " + value).c_str());
    }
    list = curl_slist_append(list, "Expect:");
    if (!headers.has("Content-Type"))
        list = curl_slist_append(list, "Content-Type:");
    const CurlSlist listOwner(list);
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, list);
    if (!cookieHeader.empty())
        curl_easy_setopt(handle, CURLOPT_COOKIE, cookieHeader.c_str());

    const std::string& payload = request.byteBody.empty() ? request.body : request.byteBody;
    if (request.usePost == 1 || !payload.empty()) {
        curl_easy_setopt(handle, CURLOPT_POST, 1L);
        curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(payload.size()));
        curl_easy_setopt(handle, CURLOPT_POSTFIELDS, payload.data());
        if (request.usePost != 1)
            curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, "GET");
    } else {
        curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
    }

    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &exchange);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &exchange);
    curl_easy_setopt(handle, CURLOPT_PREREQFUNCTION, onPrerequest);
    curl_easy_setopt(handle, CURLOPT_PREREQDATA, &exchange);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &exchange);

    std::string result;
    std::string headerText;
    if (curl_easy_perform(handle) == CURLE_OK) {
        result = std::move(exchange.body);
        headerText = headerLinesOf(exchange.headers);
    }
    if (request.headersOut != nullptr)
        *request.headersOut = headerText;

    std::string location;
    std::string received;
    for (const std::string& line : splitLines(headerText)) {
        if (line.find("Location:") != std::string::npos)
            location = HeaderValue(line);
        if (line.find("Set-Cookie") != std::string::npos)
            received += trimmed(TextBetween(line, "Set-Cookie:", ";")) + "; ";
    }
    std::string jar = request.cookies != nullptr ? *request.cookies : std::string();
    MergeCookies(jar, received);
    if (request.cookies != nullptr)
        *request.cookies = jar;
    if (request.cookiesOut != nullptr)
        *request.cookiesOut = received;
    if (location.empty())
        location = headerText;
    if (request.location != nullptr)
        *request.location = location;

    const size_t declared = result.find("charset=utf-8");
    if ((declared != std::string::npos && declared < 499) || headerText.find("charset=utf-8") != std::string::npos)
        result = Utf8BytesToGbk(result);
    return result;
}
