#pragma once

#include <string>

// Splitting of request addresses as the request engine and the cookie jar see them. An address is
// "http://" or "https://" (either letter case), a host with an optional ":" port, and a path with
// query; a host and path without a scheme also count.

// The host in lower case; with keepPort, the ":" port too when the address has one.
std::string GetUrlHost(const std::string& url, bool keepPort = false);
// Everything from the first "/" after the host (path, query, fragment), or "/" when there is none.
std::string GetUrlPath(const std::string& url);
// The written port (leading digits after the ":"; 0 when there are none or it exceeds 65535),
// else 443 for https, else 80.
int GetUrlPort(const std::string& url);
// Whether the address carries the "https://" scheme.
bool UrlHasHttpsScheme(const std::string& url);
