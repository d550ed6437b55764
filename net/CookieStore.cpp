#include "net/CookieStore.h"

#include "net/CurlGlobal.h"
#include "net/UrlParts.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cctype>
#include <ctime>
#include <mutex>
#include <vector>

namespace {

std::mutex shareLocks[CURL_LOCK_DATA_LAST];

void lockShare(CURL*, curl_lock_data data, curl_lock_access, void*)
{
    shareLocks[data].lock();
}

void unlockShare(CURL*, curl_lock_data data, void*)
{
    shareLocks[data].unlock();
}

std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool isIpAddress(const std::string& host)
{
    unsigned char buffer[16];
    return inet_pton(AF_INET, host.c_str(), buffer) == 1 || inet_pton(AF_INET6, host.c_str(), buffer) == 1;
}

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The request path without query and fragment.
std::string requestPath(const std::string& url)
{
    std::string path = GetUrlPath(url);
    path = path.substr(0, std::min(path.find('?'), path.find('#')));
    return path.empty() ? std::string("/") : path;
}

// The directory of the request path: the path a cookie gets when it names none.
std::string defaultCookiePath(const std::string& url)
{
    const std::string path = requestPath(url);
    const size_t slash = path.rfind('/');
    return slash == 0 || slash == std::string::npos ? std::string("/") : path.substr(0, slash);
}

bool pathMatches(const std::string& requestPathText, const std::string& cookiePath)
{
    if (requestPathText.compare(0, cookiePath.size(), cookiePath) != 0)
        return false;
    return requestPathText.size() == cookiePath.size() || cookiePath.back() == '/'
        || requestPathText[cookiePath.size()] == '/';
}

bool holdable(const std::string& text)
{
    return text.find_first_of("\t\r\n") == std::string::npos;
}

// One cookie as libcurl's cookie engine lists it (the Netscape cookie file line).
struct StoredCookie {
    std::string domain; // without a leading dot
    bool includeSubdomains = false;
    std::string path;
    bool secure = false;
    long long expires = 0; // seconds since 1970; 0 for a cookie of this process only
    std::string name;
    std::string value;
};

std::optional<StoredCookie> parseListLine(std::string line)
{
    static const std::string httpOnly = "#HttpOnly_";
    if (line.compare(0, httpOnly.size(), httpOnly) == 0)
        line.erase(0, httpOnly.size());
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    if (fields.size() < 6)
        return std::nullopt;
    StoredCookie cookie;
    cookie.domain = fields[0];
    if (!cookie.domain.empty() && cookie.domain.front() == '.')
        cookie.domain.erase(0, 1);
    cookie.includeSubdomains = fields[1] == "TRUE";
    cookie.path = fields[2];
    cookie.secure = fields[3] == "TRUE";
    cookie.expires = std::atoll(fields[4].c_str());
    cookie.name = fields[5];
    if (fields.size() > 6)
        cookie.value = fields[6];
    return cookie;
}

} // namespace

ProcessCookieStore& ProcessCookieStore::instance()
{
    // Never destroyed: a request abandoned at its time-out may still be ending while the process exits.
    static ProcessCookieStore* store = new ProcessCookieStore;
    return *store;
}

ProcessCookieStore::ProcessCookieStore()
{
    ensureCurlInitialised();
    CURLSH* share = curl_share_init();
    curl_share_setopt(share, CURLSHOPT_LOCKFUNC, lockShare);
    curl_share_setopt(share, CURLSHOPT_UNLOCKFUNC, unlockShare);
    curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    share_ = share;
}

bool ProcessCookieStore::setCookie(const std::string& url, const std::string& name, const std::string& data)
{
    const std::string host = GetUrlHost(url, false);
    if (host.empty() || name.empty() || !holdable(name) || name.find_first_of(";=") != std::string::npos
        || !holdable(data))
        return false;

    const size_t end = data.find(';');
    const std::string value = trimmed(data.substr(0, end));
    std::string domain;
    std::string path;
    bool secure = false;
    bool httpOnly = false;
    long long expires = 0;
    bool maxAgeSeen = false;
    size_t at = end;
    while (at != std::string::npos) {
        const size_t next = data.find(';', at + 1);
        const std::string attribute = data.substr(at + 1, next == std::string::npos ? std::string::npos : next - at - 1);
        at = next;
        const size_t equals = attribute.find('=');
        const std::string key = lower(trimmed(attribute.substr(0, equals)));
        const std::string text = equals == std::string::npos ? std::string() : trimmed(attribute.substr(equals + 1));
        if (key == "domain") {
            domain = lower(text);
            if (!domain.empty() && domain.front() == '.')
                domain.erase(0, 1);
        } else if (key == "path") {
            path = text;
        } else if (key == "secure") {
            secure = true;
        } else if (key == "httponly") {
            httpOnly = true;
        } else if (key == "max-age" && !text.empty()) {
            char* rest = nullptr;
            const long long seconds = std::strtoll(text.c_str(), &rest, 10);
            if (*rest == '\0') {
                expires = seconds <= 0 ? 1 : static_cast<long long>(std::time(nullptr)) + seconds;
                maxAgeSeen = true;
            }
        } else if (key == "expires" && !maxAgeSeen) {
            const time_t when = curl_getdate(text.c_str(), nullptr);
            if (when != -1)
                expires = when <= 0 ? 1 : static_cast<long long>(when);
        }
    }

    if (!domain.empty() && domain != host) {
        // A domain cookie must cover the host and be narrower than a top-level domain.
        if (isIpAddress(host) || domain.find('.') == std::string::npos || !endsWith(host, "." + domain))
            return false;
    }
    if (path.empty() || path.front() != '/')
        path = defaultCookiePath(url);

    const bool includeSubdomains = !domain.empty();
    std::string line = httpOnly ? "#HttpOnly_" : "";
    line += includeSubdomains ? "." + domain : host;
    line += includeSubdomains ? "\tTRUE\t" : "\tFALSE\t";
    line += path + (secure ? "\tTRUE\t" : "\tFALSE\t");
    line += std::to_string(expires) + "\t" + name + "\t" + value;

    CurlEasy handle = makeCurlEasy();
    if (!handle)
        return false;
    curl_easy_setopt(handle.get(), CURLOPT_SHARE, share_);
    return curl_easy_setopt(handle.get(), CURLOPT_COOKIELIST, line.c_str()) == CURLE_OK;
}

std::optional<std::string> ProcessCookieStore::cookieString(const std::string& url)
{
    const std::string host = GetUrlHost(url, false);
    const std::string path = requestPath(url);
    const bool overTls = UrlHasHttpsScheme(url);
    CurlEasy handle = makeCurlEasy();
    if (!handle || host.empty())
        return std::nullopt;
    curl_easy_setopt(handle.get(), CURLOPT_SHARE, share_);
    curl_slist* list = nullptr;
    if (curl_easy_getinfo(handle.get(), CURLINFO_COOKIELIST, &list) != CURLE_OK)
        return std::nullopt;
    const CurlSlist owner(list);

    const long long now = static_cast<long long>(std::time(nullptr));
    std::string text;
    for (const curl_slist* item = list; item != nullptr; item = item->next) {
        const std::optional<StoredCookie> cookie = parseListLine(item->data);
        if (!cookie || (cookie->expires != 0 && cookie->expires <= now) || (cookie->secure && !overTls))
            continue;
        const bool hostMatches = cookie->domain == host
            || (cookie->includeSubdomains && !isIpAddress(host) && endsWith(host, "." + cookie->domain));
        if (!hostMatches || !pathMatches(path, cookie->path))
            continue;
        if (!text.empty())
            text += "; ";
        text += cookie->name + "=" + cookie->value;
    }
    if (text.empty())
        return std::nullopt;
    return text;
}

void ProcessCookieStore::clear()
{
    CurlEasy handle = makeCurlEasy();
    if (!handle)
        return;
    curl_easy_setopt(handle.get(), CURLOPT_SHARE, share_);
    curl_easy_setopt(handle.get(), CURLOPT_COOKIELIST, "ALL");
}
