#pragma once

#include <curl/curl.h>

#include <memory>
#include <string>

// libcurl's process set-up, done once before the first handle is made.
void ensureCurlInitialised();

struct CurlEasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;

struct CurlSlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlSlist = std::unique_ptr<curl_slist, CurlSlistDeleter>;

// A new easy handle (empty when libcurl cannot make one).
CurlEasy makeCurlEasy();

// Where to find the certificate authorities that TLS peers are checked against: the file set here,
// else the file named by SSL_CERT_FILE (the OpenSSL convention), else libcurl's own.
void applyTrustedAuthorities(CURL* handle);
// A PEM file of private authorities for every later request; empty to return to the default.
void setTrustedAuthorityFile(const std::string& path);
