#include "net/RequestExchange.h"

#include <QCoreApplication>

#include <curl/curl.h>

bool RequestExchange::publish(HttpResult result)
{
    std::lock_guard lock(mutex_);
    if (taken_)
        return false;
    result_ = std::move(result);
    finished_ = true;
    published_.notify_all();
    return true;
}

void RequestExchange::setWakeup(void* multi)
{
    std::lock_guard lock(mutex_);
    wakeup_ = multi;
}

bool RequestExchange::wait(std::optional<std::chrono::milliseconds> limit, bool pumpEvents)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = limit ? Clock::now() + *limit : Clock::time_point::max();
    const auto done = [this] { return finished_; };
    std::unique_lock lock(mutex_);
    if (!pumpEvents || QCoreApplication::instance() == nullptr) {
        if (!limit) {
            published_.wait(lock, done);
            return true;
        }
        return published_.wait_until(lock, deadline, done);
    }
    // Events are processed in short slices; the limit holds for the wait as a whole.
    for (;;) {
        if (finished_)
            return true;
        lock.unlock();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        lock.lock();
        const Clock::time_point slice = std::min(deadline, Clock::now() + std::chrono::milliseconds(10));
        if (published_.wait_until(lock, slice, done))
            return true;
        if (Clock::now() >= deadline)
            return false;
    }
}

std::optional<HttpResult> RequestExchange::take(bool inTime)
{
    std::lock_guard lock(mutex_);
    taken_ = true;
    abandoned_.store(true, std::memory_order_relaxed);
    if (wakeup_ != nullptr)
        curl_multi_wakeup(static_cast<CURLM*>(wakeup_));
    if (inTime && finished_)
        return std::move(result_);
    return std::nullopt;
}
