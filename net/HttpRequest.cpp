#include "net/HttpRequest.h"

#include "net/RequestExchange.h"

#include <system_error>
#include <thread>

namespace {

std::atomic<int> liveWorkers{0};

RequestInputs inputsOf(const HttpRequest& request, UserAgent agent)
{
    RequestInputs in;
    in.url = request.url;
    in.method = request.method;
    in.body = request.body;
    in.cookies = request.cookies;
    in.wantCookies = request.cookiesOut != nullptr;
    in.proxy = request.proxy;
    in.extraHeaders = request.extraHeaders;
    in.userName = request.userName;
    in.password = request.password;
    in.wantHeaders = request.headersOut != nullptr;
    in.useSystemCookies = request.useSystemCookies;
    in.userAgent = userAgentText(agent);
    return in;
}

} // namespace

const char* userAgentText(UserAgent agent)
{
    switch (agent) {
    case UserAgent::ProductInfo:
        return "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)";
    case UserAgent::WebVoice:
        return "Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
               "Chrome/45.0.2454.101 Safari/537.36";
    case UserAgent::Default:
        break;
    }
    return "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
}

int HttpEngine::runningWorkers()
{
    return liveWorkers.load();
}

std::string HttpEngine::send(const HttpRequest& request) const
{
    auto exchange = std::make_shared<RequestExchange>(inputsOf(request, agent_));

    std::optional<std::chrono::milliseconds> limit;
    if (request.timeoutSeconds >= 0)
        limit = std::chrono::seconds(request.timeoutSeconds == 0 ? 90 : request.timeoutSeconds);

    std::thread worker;
    ++liveWorkers;
    try {
        worker = std::thread([exchange]() mutable {
            HttpRequestWorker(std::move(exchange));
            --liveWorkers;
        });
    } catch (const std::system_error&) {
        --liveWorkers;
        return {};
    }

    const bool inTime = exchange->wait(limit, request.pumpMessages);
    std::optional<HttpResult> result = exchange->take(inTime);
    // A worker past its limit is never killed: it sees the cancellation and ends by itself.
    if (inTime)
        worker.join();
    else
        worker.detach();

    if (!result || !result->success)
        return {};
    if (request.headersOut != nullptr)
        *request.headersOut = std::move(result->headers);
    if (request.cookiesOut != nullptr)
        *request.cookiesOut = std::move(result->cookies);
    return std::move(result->body);
}

std::string SendHttpRequest(const HttpRequest& request, UserAgent agent)
{
    return HttpEngine(agent).send(request);
}
