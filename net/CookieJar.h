#pragma once

#include "net/CookieStore.h"
#include "net/DateTime.h"

#include <string>

// A cookie jar is a text of name=value items joined by "; ", with no attributes; the callers that
// talk to session-keeping services carry it from request to request.

// Merges the cookies of one answer into the jar: the received items first, in their order, then
// the jar's items that the answer did not name; items ending in "=deleted" are dropped, repeated
// items kept once. Both texts lose their spaces; jar receives the result, which is also returned.
std::string MergeCookies(std::string& jar, std::string& received);

// The text before the first "=" of an item, trimmed of spaces; an item without "=" is all name.
std::string CookieName(const std::string& item);

// The text after name + "=" up to the next ";", or to the end when that is empty. A plain
// substring search: "id" also finds the end of "uid=".
std::string CookieValue(const std::string& cookieText, const std::string& name);

// The store's cookie string for the address's host (as "http://" + host), or with a name, the
// value of the first occurrence of name in it (case-insensitive); empty when there is none.
std::string GetSystemCookies(const std::string& url, const std::string& name = {});
std::string GetSystemCookies(CookieStore& store, const std::string& url, const std::string& name = {});

// Stores one cookie for the address's host twice: with path "/", then with a domain attribute
// (the host without its first three characters); the result is that of the second store. An empty
// value deletes the cookie. An empty name removes every cookie the host had when the call began,
// and gives true.
bool SetSystemCookie(const std::string& url, const std::string& name, const std::string& value,
                     const DateTime& expiry = {});
bool SetSystemCookie(CookieStore& store, const std::string& url, const std::string& name,
                     const std::string& value, const DateTime& expiry = {});

// Stores every name=value item of a cookie text as SetSystemCookie does, names untrimmed. An item
// "name=" is skipped, "name==x" deletes the cookie, "a=b=c" stores "b". The result is that of the
// last store, false when nothing was stored.
bool StoreCookieString(const std::string& url, const std::string& cookieText, const DateTime& expiry = {});
bool StoreCookieString(CookieStore& store, const std::string& url, const std::string& cookieText,
                       const DateTime& expiry = {});

// "Fri, 1-Jan-1999 1:1:1 GMT": the date-time as given, numbers without leading zeros.
std::string FormatCookieExpiry(const DateTime& date);

// 1999-01-01 01:01:01, the expiry that deletes a cookie.
DateTime cookieDeletionDate();
