#include "net/RequestExchange.h"

#include "net/CookieStore.h"
#include "net/HeaderText.h"
#include "net/CurlGlobal.h"
#include "net/TextSearch.h"
#include "net/UrlParts.h"

#include <sys/mman.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// Above this a Content-Length is not trusted for reserving the body buffer in advance.
constexpr curl_off_t reserveLimit = curl_off_t{1} << 30;

bool isHeaderNamed(const std::string& line, const char* name)
{
    const size_t colon = line.find(':');
    return colon != std::string::npos && upperAscii(trimSpaces(line.substr(0, colon))) == name;
}

// libcurl refuses spaces and control bytes in an address; they travel percent-encoded.
std::string escapeForCurl(const std::string& path)
{
    std::string out;
    out.reserve(path.size());
    for (const unsigned char c : path) {
        if (c <= 0x20 || c == 0x7F) {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", c);
            out += code;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// A large body is written once, front to back, into fresh memory; the page faults and the zeroing
// of that memory cost as much as the transfer itself. Huge pages make the faults few, and a helper
// thread faults the buffer in ahead of the writer, on another core.
class BufferPrefault {
public:
    BufferPrefault() = default;
    BufferPrefault(const BufferPrefault&) = delete;
    BufferPrefault& operator=(const BufferPrefault&) = delete;
    ~BufferPrefault()
    {
        if (thread_.joinable())
            thread_.join();
    }

    void start(std::string& buffer)
    {
        constexpr uintptr_t hugePage = 2 * 1024 * 1024;
        if (buffer.capacity() < 4 * hugePage || thread_.joinable())
            return;
        const auto begin = reinterpret_cast<uintptr_t>(buffer.data());
        const uintptr_t first = (begin + hugePage - 1) & ~(hugePage - 1);
        const uintptr_t last = (begin + buffer.capacity()) & ~(hugePage - 1);
        if (last <= first)
            return;
        void* const start = reinterpret_cast<void*>(first);
        const size_t length = last - first;
        ::madvise(start, length, MADV_HUGEPAGE);
        try {
            // Faulting in changes no byte, so it is harmless even if the writer gets there first.
            thread_ = std::thread([start, length] { ::madvise(start, length, populateWrite); });
        } catch (const std::system_error&) {
        }
    }

private:
    static constexpr int populateWrite = 23; // MADV_POPULATE_WRITE, Linux 5.14; older kernels refuse it
    std::thread thread_;
};

struct Transfer {
    RequestExchange* exchange = nullptr;
    CURL* handle = nullptr;
    std::string headers; // the block of the latest response
    std::string body;
    bool reserved = false;
    BufferPrefault prefault; // declared last: joined before the body can go
};

size_t onBody(char* data, size_t size, size_t count, void* user)
{
    auto* transfer = static_cast<Transfer*>(user);
    const size_t length = size * count;
    try {
        if (!transfer->reserved) {
            transfer->reserved = true;
            curl_off_t expected = -1;
            curl_easy_getinfo(transfer->handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &expected);
            if (expected > 0 && expected <= reserveLimit) {
                transfer->body.reserve(static_cast<size_t>(expected));
                transfer->prefault.start(transfer->body);
            }
        }
        transfer->body.append(data, length);
    } catch (const std::exception&) {
        return 0; // out of memory: the transfer fails
    }
    return length;
}

size_t onHeader(char* data, size_t size, size_t count, void* user)
{
    auto* transfer = static_cast<Transfer*>(user);
    const size_t length = size * count;
    try {
        // Each response of a redirect chain (and an interim 100) starts with its status line;
        // only the last block is kept.
        if (length >= 5 && std::equal(data, data + 5, "HTTP/"))
            transfer->headers.clear();
        transfer->headers.append(data, length);
    } catch (const std::exception&) {
        return 0;
    }
    return length;
}

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<Transfer*>(user)->exchange->abandoned() ? 1 : 0;
}

// name=value items of the response's Set-Cookie lines, by the letter of the old engine: the value
// runs from the first "=" to the next ";", and a line where that is empty contributes nothing.
std::string collectCookies(const std::string& headers)
{
    std::string collected;
    for (const std::string& line : splitLines(headers)) {
        if (line.find("Set-Cookie") == std::string::npos || TextBetween(line, "=", ";").empty())
            continue;
        if (!collected.empty())
            collected += "; ";
        collected += trimSpaces(TextBetween(line, "Set-Cookie:", ";"));
    }
    return collected;
}

void storeCookies(const std::string& headers, const std::string& host)
{
    for (const std::string& line : splitLines(headers)) {
        if (line.find("Set-Cookie") == std::string::npos)
            continue;
        const std::string rest = line.size() > 12 ? line.substr(12) : std::string();
        const size_t equals = rest.find('=');
        if (equals != std::string::npos)
            ProcessCookieStore::instance().setCookie("http://" + host, rest.substr(0, equals), rest.substr(equals + 1));
    }
}

struct MultiGuard {
    RequestExchange& exchange;
    CURLM* multi;
    CURL* easy;
    ~MultiGuard()
    {
        exchange.setWakeup(nullptr);
        curl_multi_remove_handle(multi, easy);
        curl_multi_cleanup(multi);
    }
};

// Runs the transfer to its end, or until the caller gives up.
CURLcode runTransfer(RequestExchange& exchange, CURL* easy)
{
    CURLM* multi = curl_multi_init();
    if (multi == nullptr)
        return CURLE_OUT_OF_MEMORY;
    if (curl_multi_add_handle(multi, easy) != CURLM_OK) {
        curl_multi_cleanup(multi);
        return CURLE_OUT_OF_MEMORY;
    }
    const MultiGuard guard{exchange, multi, easy};
    exchange.setWakeup(multi);
    int running = 1;
    while (running > 0) {
        if (curl_multi_perform(multi, &running) != CURLM_OK)
            return CURLE_FAILED_INIT;
        if (running == 0)
            break;
        if (exchange.abandoned())
            return CURLE_ABORTED_BY_CALLBACK;
        curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
        if (message->msg == CURLMSG_DONE)
            return message->data.result;
    }
    return CURLE_FAILED_INIT;
}

HttpResult performExchange(RequestExchange& exchange)
{
    const RequestInputs& in = exchange.inputs();
    const std::string host = GetUrlHost(in.url, false);
    const std::string path = GetUrlPath(in.url);
    const int port = GetUrlPort(in.url);
    const std::string verb = upperAscii(in.method);
    const bool post = verb == "POST";
    if (host.empty() || (!post && !verb.empty() && verb != "GET"))
        return {}; // nothing is sent
    const RequestFlags flags = requestFlags(in.url, in.cookies, in.useSystemCookies);

    CurlEasy easy = makeCurlEasy();
    if (!easy)
        return {};
    CURL* handle = easy.get();
    Transfer transfer;
    transfer.exchange = &exchange;
    transfer.handle = handle;

    const std::string address =
        std::string(flags.tls ? "https://" : "http://") + host + ":" + std::to_string(port) + escapeForCurl(path);
    curl_easy_setopt(handle, CURLOPT_URL, address.c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 20L);
    curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, 256L * 1024);
    curl_easy_setopt(handle, CURLOPT_USERAGENT, in.userAgent.c_str());
    applyTrustedAuthorities(handle);

    // The proxy serves plain-HTTP requests only; an empty proxy also keeps the environment's out.
    const std::string proxy = trimSpaces(in.proxy);
    curl_easy_setopt(handle, CURLOPT_PROXY, !flags.tls && !withoutSpaces(proxy).empty() ? proxy.c_str() : "");
    if (!withoutSpaces(in.userName).empty())
        curl_easy_setopt(handle, CURLOPT_USERNAME, in.userName.c_str());
    if (!withoutSpaces(in.password).empty())
        curl_easy_setopt(handle, CURLOPT_PASSWORD, in.password.c_str());
    curl_easy_setopt(handle, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_ANY));

    if (!flags.explicitCookies) {
        // The process store supplies cookies and keeps those of every response, redirect steps included.
        curl_easy_setopt(handle, CURLOPT_SHARE, ProcessCookieStore::instance().share());
        curl_easy_setopt(handle, CURLOPT_COOKIEFILE, "");
    }
    if (!trimSpaces(in.cookies).empty() && in.cookies != "null")
        curl_easy_setopt(handle, CURLOPT_COOKIE, in.cookies.c_str());

    std::string block = completeHeaderBlock(in.extraHeaders, in.url);
    if (post && !in.body.empty() && !ContainsText(block, "Content-Type: ", 0, true))
        block += "Content-Type: application/x-www-form-urlencoded\r\n";
    curl_slist* headerList = nullptr;
    const auto addHeader = [&headerList](const std::string& line) {
        headerList = curl_slist_append(headerList, line.c_str());
    };
    for (const std::string& line : splitLines(block)) {
        // The one Content-Length of a POST is the engine's own, written by libcurl from the body.
        if (!line.empty() && !(post && isHeaderNamed(line, "CONTENT-LENGTH")))
            addHeader(line);
    }
    addHeader("Expect:");
    if (!ContainsText(block, "Content-Type:", 0, true))
        addHeader("Content-Type:");
    const CurlSlist headerOwner(headerList);
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headerList);

    if (post) {
        curl_easy_setopt(handle, CURLOPT_POST, 1L);
        curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(in.body.size()));
        curl_easy_setopt(handle, CURLOPT_POSTFIELDS, in.body.c_str());
    } else {
        curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
    }
    // The verb travels as the caller spelled it. libcurl would keep such a spelling on every
    // redirect step, so those requests follow their redirects here, by the rules libcurl applies.
    const bool spelledVerb = !in.method.empty() && in.method != verb;
    if (spelledVerb) {
        curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, in.method.c_str());
        curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 0L);
    }

    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &transfer);

    bool posting = post;
    for (int step = 0;; ++step) {
        if (runTransfer(exchange, handle) != CURLE_OK)
            return {};
        long status = 0;
        char* next = nullptr;
        curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
        curl_easy_getinfo(handle, CURLINFO_REDIRECT_URL, &next);
        if (!spelledVerb || next == nullptr || status < 300 || status > 399 || step == 20)
            break;
        const std::string target = next;
        if (status == 303 || (posting && (status == 301 || status == 302))) {
            curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, nullptr);
            curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
            posting = false;
        }
        curl_easy_setopt(handle, CURLOPT_URL, target.c_str());
        transfer.body.clear();
    }

    HttpResult result;
    result.success = true;
    result.body = std::move(transfer.body);
    if (in.wantCookies && transfer.headers.find("Set-Cookie:") != std::string::npos)
        result.cookies = collectCookies(transfer.headers);
    if (in.useSystemCookies && transfer.headers.find("Set-Cookie:") != std::string::npos)
        storeCookies(transfer.headers, host);
    if (in.wantHeaders)
        result.headers = std::move(transfer.headers);
    return result;
}

} // namespace

RequestFlags requestFlags(const std::string& url, const std::string& cookies, bool useSystemCookies)
{
    RequestFlags flags;
    flags.tls = UrlHasHttpsScheme(url) || GetUrlPort(url) == 443;
    flags.explicitCookies = !trimSpaces(cookies).empty() && !useSystemCookies;
    return flags;
}

std::string completeHeaderBlock(const std::string& extraHeaders, const std::string& url)
{
    std::string block = extraHeaders;
    if (!ContainsText(block, "Accept: ", 0, true))
        block += "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
                 "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";
    if (!ContainsText(block, "Referer: ", 0, true))
        block += "Referer: " + url + "\r\n";
    if (!ContainsText(block, "Accept-Language: ", 0, true))
        block += "Accept-Language: zh-cn\r\n";
    return block;
}

void HttpRequestWorker(std::shared_ptr<RequestExchange> exchange)
{
    // Every handle is released inside performExchange, before the result is handed over.
    exchange->publish(performExchange(*exchange));
}
