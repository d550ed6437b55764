#include "RawHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

bool sameNoCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

int listenOnLoopback(int& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(fd, 64);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}

bool readRequest(int connection, RawRequest& request)
{
    std::string data;
    char buffer[65536];
    size_t headEnd = std::string::npos;
    while (headEnd == std::string::npos) {
        const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0)
            return false;
        data.append(buffer, static_cast<size_t>(got));
        headEnd = data.find("\r\n\r\n");
    }
    const std::string head = data.substr(0, headEnd);
    size_t start = 0;
    bool first = true;
    while (start <= head.size()) {
        const size_t end = std::min(head.find("\r\n", start), head.size());
        const std::string line = head.substr(start, end - start);
        if (first)
            request.requestLine = line;
        else
            request.headerLines.push_back(line);
        first = false;
        start = end + 2;
    }
    const std::string length = request.value("Content-Length");
    const size_t expected = length.empty() ? 0 : std::strtoul(length.c_str(), nullptr, 10);
    request.body = data.substr(headEnd + 4);
    while (request.body.size() < expected) {
        const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        request.body.append(buffer, static_cast<size_t>(got));
    }
    return true;
}

} // namespace

std::vector<std::string> RawRequest::values(const std::string& name) const
{
    std::vector<std::string> found;
    for (const std::string& line : headerLines) {
        const size_t colon = line.find(':');
        if (colon != std::string::npos && sameNoCase(line.substr(0, colon), name)) {
            const size_t begin = line.find_first_not_of(' ', colon + 1);
            found.push_back(begin == std::string::npos ? std::string() : line.substr(begin));
        }
    }
    return found;
}

std::string RawRequest::value(const std::string& name) const
{
    const std::vector<std::string> found = values(name);
    return found.empty() ? std::string() : found.front();
}

std::string RawRequest::target() const
{
    const size_t first = requestLine.find(' ');
    const size_t second = requestLine.find(' ', first + 1);
    return first == std::string::npos ? std::string() : requestLine.substr(first + 1, second - first - 1);
}

RawHttpServer::RawHttpServer(Handler handler) : handler_(std::move(handler))
{
    listener_ = listenOnLoopback(port_);
    if (::pipe(wakePipe_) != 0)
        std::abort();
    acceptor_ = std::thread([this] { acceptLoop(); });
}

RawHttpServer::~RawHttpServer()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stopped_.notify_all();
    const char byte = 0;
    (void)!::write(wakePipe_[1], &byte, 1);
    acceptor_.join();
    for (std::thread& connection : connections_)
        connection.join();
    ::close(listener_);
    ::close(wakePipe_[0]);
    ::close(wakePipe_[1]);
}

std::string RawHttpServer::url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<RawRequest> RawHttpServer::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

void RawHttpServer::pause(std::chrono::milliseconds duration)
{
    std::unique_lock lock(mutex_);
    stopped_.wait_for(lock, duration, [this] { return stopping_; });
}

std::string RawHttpServer::response(const std::string& body, const std::string& headerLines, const std::string& status)
{
    return "HTTP/1.1 " + status + "\r\n" + headerLines + "Content-Length: " + std::to_string(body.size())
        + "\r\nConnection: close\r\n\r\n" + body;
}

void RawHttpServer::acceptLoop()
{
    for (;;) {
        pollfd watched[2] = {{listener_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        ::poll(watched, 2, -1);
        if (watched[1].revents != 0)
            return;
        const int connection = ::accept(listener_, nullptr, nullptr);
        if (connection < 0)
            continue;
        std::lock_guard lock(mutex_);
        connections_.emplace_back([this, connection] { serve(connection); });
    }
}

void RawHttpServer::serve(int connection)
{
    timeval patience{5, 0}; // a client that never closes cannot hold the server's end
    ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    RawRequest request;
    if (readRequest(connection, request)) {
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }
        const std::string answer = handler_(request);
        size_t sent = 0;
        while (sent < answer.size()) {
            const ssize_t n = ::send(connection, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                break;
            sent += static_cast<size_t>(n);
        }
        ::shutdown(connection, SHUT_WR);
        char drain[1024];
        while (::recv(connection, drain, sizeof drain, 0) > 0) {
        }
    }
    ::close(connection);
}

int closedPort()
{
    int port = 0;
    const int fd = listenOnLoopback(port);
    ::close(fd);
    return port;
}
