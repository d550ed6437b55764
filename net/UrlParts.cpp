#include "net/UrlParts.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size()
        && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

// Length of the scheme prefix. Only a scheme at the very start counts: an address whose query
// carries another address ("?u=https://...") keeps its own host.
size_t schemeLength(const std::string& url)
{
    if (startsWithNoCase(url, "https://"))
        return 8;
    if (startsWithNoCase(url, "http://"))
        return 7;
    return 0;
}

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

bool UrlHasHttpsScheme(const std::string& url)
{
    return schemeLength(url) == 8;
}

std::string GetUrlHost(const std::string& url, bool keepPort)
{
    const size_t start = schemeLength(url);
    const size_t slash = url.find('/', start);
    std::string host = url.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    if (!keepPort) {
        const size_t colon = host.find(':');
        if (colon != std::string::npos)
            host.resize(colon);
    }
    return lower(std::move(host));
}

std::string GetUrlPath(const std::string& url)
{
    const std::string host = GetUrlHost(url, false);
    const size_t at = lower(url).find(host, schemeLength(url));
    const size_t slash = url.find('/', at == std::string::npos ? schemeLength(url) : at);
    return slash == std::string::npos ? std::string("/") : url.substr(slash);
}

int GetUrlPort(const std::string& url)
{
    const std::string host = GetUrlHost(url, true);
    const size_t colon = host.find(':');
    if (colon == std::string::npos)
        return UrlHasHttpsScheme(url) ? 443 : 80;
    long port = 0;
    for (size_t i = colon + 1; i < host.size() && std::isdigit(static_cast<unsigned char>(host[i])); ++i) {
        port = port * 10 + (host[i] - '0');
        if (port > 65535)
            return 0; // no such port; the connection then fails
    }
    return static_cast<int>(port);
}
