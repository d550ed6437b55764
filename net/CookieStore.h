#pragma once

#include <optional>
#include <string>

// A store of cookies per host, as a browser keeps them: what a response set for a host is sent
// to that host again. The cookie jar reads and writes it through this interface so that tests
// can watch exactly what is stored.
class CookieStore {
public:
    virtual ~CookieStore() = default;

    // Stores one cookie as a response from url would have set it. data is the value followed by
    // "; "-separated attributes (expires, max-age, path, domain, secure, httponly); an expiry in
    // the past deletes the cookie. False when the store refuses it (a domain the host does not
    // belong to, a name or value it cannot hold).
    virtual bool setCookie(const std::string& url, const std::string& name, const std::string& data) = 0;

    // The "name=value" items, joined by "; ", that a request to url would carry;
    // nullopt when there are none.
    virtual std::optional<std::string> cookieString(const std::string& url) = 0;
};

// The process-wide store. Every request that does not carry cookies of its own reads and writes
// it; it lives until the process ends.
class ProcessCookieStore final : public CookieStore {
public:
    static ProcessCookieStore& instance();

    bool setCookie(const std::string& url, const std::string& name, const std::string& data) override;
    std::optional<std::string> cookieString(const std::string& url) override;

    // Forgets every cookie of every host.
    void clear();

    // The libcurl share handle (CURLSH*) that holds the cookies; a transfer attached to it
    // takes part in the store.
    void* share() const { return share_; }

    ProcessCookieStore(const ProcessCookieStore&) = delete;
    ProcessCookieStore& operator=(const ProcessCookieStore&) = delete;

private:
    ProcessCookieStore();
    ~ProcessCookieStore() = default;

    void* share_;
};
