#include "net/CookieJar.h"

#include "net/HeaderText.h"
#include "net/TextSearch.h"
#include "net/UrlParts.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

// An empty text gives no parts; a separator at the very end gives no empty last part.
std::vector<std::string> split(const std::string& text, const std::string& separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < text.size()) {
        const size_t at = text.find(separator, start);
        if (at == std::string::npos) {
            parts.push_back(text.substr(start));
            break;
        }
        parts.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    return parts;
}

void removeSpaces(std::string& text)
{
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
}

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

size_t findNoCase(const std::string& text, const std::string& part)
{
    const auto at = std::search(text.begin(), text.end(), part.begin(), part.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
    return at == text.end() ? std::string::npos : static_cast<size_t>(at - text.begin());
}

std::string storeAddress(const std::string& url)
{
    return "http://" + GetUrlHost(url, false);
}

// One cookie, as both stores of SetSystemCookie write it.
bool storeOneCookie(CookieStore& store, const std::string& url, const std::string& name, std::string value,
                    DateTime expiry)
{
    if (value.empty()) {
        value = "delete";
        expiry = cookieDeletionDate();
    }
    if (!(expiry == DateTime{}))
        value += "; expires=" + FormatCookieExpiry(expiry);
    value += "; path=/";
    const std::string host = GetUrlHost(url, false);
    const std::string address = storeAddress(url);
    store.setCookie(address, name, value);
    // The domain drops the host's first three characters: "pan.example.com" gives ".example.com".
    value += "; domain=" + (host.size() > 3 ? host.substr(3) : std::string());
    return store.setCookie(address, name, value);
}

// Deletes each cookie the host has now, once: a cookie that cannot be deleted (one stored under
// another path, say) does not keep the removal going.
void removeAllCookies(CookieStore& store, const std::string& url)
{
    // Names are taken untrimmed after the "; " joiner, so a name stored with a leading space
    // (as StoreCookieString does) is deleted by that same name.
    const std::string cookies = GetSystemCookies(store, url, {});
    for (const std::string& item : split(cookies, "; ")) {
        const size_t equals = item.find('=');
        if (equals != std::string::npos && equals > 0)
            storeOneCookie(store, url, item.substr(0, equals), {}, {});
    }
}

int weekday(const DateTime& date)
{
    // Days from 1970-01-01 (a Thursday) by the civil-calendar formula; 0 is Sunday.
    const int y = date.year - (date.month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const long days = static_cast<long>(era) * 146097 + dayOfEra - 719468;
    return static_cast<int>(((days % 7) + 7 + 4) % 7);
}

} // namespace

std::string MergeCookies(std::string& jar, std::string& received)
{
    removeSpaces(jar);
    removeSpaces(received);
    const std::vector<std::string> jarItems = split(jar, ";");
    std::vector<std::string> items = split(received, ";");
    std::vector<std::string> receivedNames;
    for (const std::string& item : items)
        receivedNames.push_back(CookieName(item));
    for (const std::string& item : jarItems) {
        if (std::find(receivedNames.begin(), receivedNames.end(), CookieName(item)) == receivedNames.end())
            items.push_back(item);
    }

    std::string joined;
    for (const std::string& item : items) {
        if (!endsWith(item, "=deleted"))
            joined += item + "; ";
    }
    if (!joined.empty())
        joined.resize(joined.size() - 2);

    std::vector<std::string> kept;
    for (const std::string& item : split(joined, "; ")) {
        if (std::find(kept.begin(), kept.end(), item) == kept.end())
            kept.push_back(item);
    }
    std::string result;
    for (size_t i = 0; i < kept.size(); ++i)
        result += (i == 0 ? "" : "; ") + kept[i];
    jar = result;
    return result;
}

std::string CookieName(const std::string& item)
{
    return trimSpaces(item.substr(0, item.find('=')));
}

std::string CookieValue(const std::string& cookieText, const std::string& name)
{
    const std::string value = TextBetween(cookieText, name + "=", ";");
    return value.empty() ? TextBetween(cookieText, name + "=", "") : value;
}

std::string GetSystemCookies(const std::string& url, const std::string& name)
{
    return GetSystemCookies(ProcessCookieStore::instance(), url, name);
}

std::string GetSystemCookies(CookieStore& store, const std::string& url, const std::string& name)
{
    const std::optional<std::string> cookies = store.cookieString(storeAddress(url));
    if (!cookies)
        return {};
    if (name.empty())
        return *cookies;
    const size_t at = findNoCase(*cookies, name);
    if (at == std::string::npos)
        return {};
    const size_t begin = at + name.size() + 1;
    const size_t end = std::min(cookies->find(';', at), cookies->size());
    return begin < end ? cookies->substr(begin, end - begin) : std::string();
}

bool SetSystemCookie(const std::string& url, const std::string& name, const std::string& value,
                     const DateTime& expiry)
{
    return SetSystemCookie(ProcessCookieStore::instance(), url, name, value, expiry);
}

bool SetSystemCookie(CookieStore& store, const std::string& url, const std::string& name,
                     const std::string& value, const DateTime& expiry)
{
    if (name.empty()) {
        removeAllCookies(store, url);
        return true;
    }
    return storeOneCookie(store, url, name, value, expiry);
}

bool StoreCookieString(const std::string& url, const std::string& cookieText, const DateTime& expiry)
{
    return StoreCookieString(ProcessCookieStore::instance(), url, cookieText, expiry);
}

bool StoreCookieString(CookieStore& store, const std::string& url, const std::string& cookieText,
                       const DateTime& expiry)
{
    bool result = false;
    for (const std::string& item : split(cookieText, ";")) {
        if (item.find('=') == std::string::npos)
            continue;
        const std::vector<std::string> parts = split(item, "=");
        if (parts.size() < 2)
            continue;
        result = SetSystemCookie(store, url, parts[0], parts[1], expiry);
    }
    return result;
}

std::string FormatCookieExpiry(const DateTime& date)
{
    static const char* const weekdays[] = {"Sun, ", "Mon, ", "Tue, ", "Wed, ", "Thu, ", "Fri, ", "Sat, "};
    static const char* const months[] = {"Jan-", "Feb-", "Mar-", "Apr-", "May-", "Jun-",
                                         "Jul-", "Aug-", "Sep-", "Oct-", "Nov-", "Dec-"};
    const char* month = date.month >= 1 && date.month <= 12 ? months[date.month - 1] : "";
    return weekdays[weekday(date)] + std::to_string(date.day) + "-" + month + std::to_string(date.year) + " "
        + std::to_string(date.hour) + ":" + std::to_string(date.minute) + ":" + std::to_string(date.second)
        + " GMT";
}

DateTime cookieDeletionDate()
{
    return DateTime{1999, 1, 1, 1, 1, 1};
}
