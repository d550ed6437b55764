#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A plain-HTTP server on 127.0.0.1 that records each request byte for byte and answers with the
// exact bytes its handler returns (one request per connection). For cases where the order and
// spelling of header lines matter, or a response must be malformed, slow or huge.
struct RawRequest {
    std::string requestLine;
    std::vector<std::string> headerLines; // in the order received, without "\r\n"
    std::string body;

    // Values of every header line with this name (case-insensitive), in order.
    std::vector<std::string> values(const std::string& name) const;
    // The first value, or empty.
    std::string value(const std::string& name) const;
    std::string target() const; // the request line's second word
};

class RawHttpServer {
public:
    // Returns the whole response; an empty text closes the connection without an answer.
    using Handler = std::function<std::string(const RawRequest&)>;

    explicit RawHttpServer(Handler handler);
    ~RawHttpServer();
    RawHttpServer(const RawHttpServer&) = delete;
    RawHttpServer& operator=(const RawHttpServer&) = delete;

    int port() const { return port_; }
    std::string url(const std::string& path = "/") const;
    std::vector<RawRequest> requests() const;

    // Sleeps for duration, or less when the server is being stopped; for slow handlers.
    void pause(std::chrono::milliseconds duration);

    // "HTTP/1.1 <status>\r\n" + header lines + Content-Length + "Connection: close" + body.
    static std::string response(const std::string& body, const std::string& headerLines = {},
                                const std::string& status = "200 OK");

private:
    void acceptLoop();
    void serve(int connection);

    Handler handler_;
    int listener_ = -1;
    int port_ = 0;
    int wakePipe_[2] = {-1, -1};
    mutable std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
    std::vector<RawRequest> requests_;
    std::vector<std::thread> connections_;
    std::thread acceptor_;
};

// A port on 127.0.0.1 where nothing listens.
int closedPort();
