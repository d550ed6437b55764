#pragma once

#include "net/HttpRequest.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

// What a caller hands to the worker of one request. The inputs are fixed before the worker starts;
// the result goes the other way exactly once, and only while the caller still waits for it.
struct RequestInputs {
    std::string url;
    std::string method;
    std::string body;
    std::string cookies;
    bool wantCookies = false;
    std::string proxy;
    std::string extraHeaders;
    std::string userName;
    std::string password;
    bool wantHeaders = false;
    bool useSystemCookies = false;
    std::string userAgent;
};

class RequestExchange {
public:
    explicit RequestExchange(RequestInputs inputs) : inputs_(std::move(inputs)) {}

    const RequestInputs& inputs() const { return inputs_; }

    // Worker side.
    // True once the caller has taken the exchange: the transfer should stop.
    bool abandoned() const { return abandoned_.load(std::memory_order_relaxed); }
    // Hands the result over; false (and the result is dropped) when the caller has already taken
    // the exchange.
    bool publish(HttpResult result);
    // The libcurl multi handle (CURLM*) to wake when the caller gives up; null to detach it.
    void setWakeup(void* multi);

    // Caller side.
    // Waits until the result is published or the limit passes (no limit: nullopt); true when the
    // result came in time. With pumpEvents, the calling thread's Qt events are processed meanwhile.
    bool wait(std::optional<std::chrono::milliseconds> limit, bool pumpEvents);
    // Takes the exchange: from now on the worker writes nothing into it. The result when it came
    // in time; otherwise nothing, and a still-running transfer is cancelled.
    std::optional<HttpResult> take(bool inTime);

private:
    const RequestInputs inputs_;
    std::mutex mutex_;
    std::condition_variable published_;
    bool finished_ = false;
    bool taken_ = false;
    HttpResult result_;
    void* wakeup_ = nullptr;
    std::atomic<bool> abandoned_{false};
};

// The thread body of one request: performs the exchange its inputs describe and publishes the result.
void HttpRequestWorker(std::shared_ptr<RequestExchange> exchange);

// What the settings of a request decide about its connection.
struct RequestFlags {
    bool tls = false;             // https scheme, or port 443
    bool explicitCookies = false; // the caller's cookies alone; the process store is bypassed
};
RequestFlags requestFlags(const std::string& url, const std::string& cookies, bool useSystemCookies);

// The caller's header block with Accept, Referer and Accept-Language added where missing, in
// that order, each looked for case-insensitively in the block as it stands.
std::string completeHeaderBlock(const std::string& extraHeaders, const std::string& url);
