#pragma once

#include <httplib.h>

#include <memory>
#include <string>
#include <thread>

// A certificate and key for 127.0.0.1 and localhost, made once per process with the openssl
// command line; the certificate is its own authority.
struct TestCertificate {
    std::string certFile;
    std::string keyFile;
};
const TestCertificate& testCertificate();

// A cpp-httplib server (plain or TLS) listening on 127.0.0.1 on a thread of its own; routes are
// added to server() before start().
class LoopbackServer {
public:
    enum class Kind { Plain, Tls };
    explicit LoopbackServer(Kind kind = Kind::Plain);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    httplib::Server& server() { return *server_; }
    // Listens on the given port (0: any free one); false when the port cannot be had.
    bool start(int port = 0);
    int port() const { return port_; }
    // "http://127.0.0.1:PORT" + path, or "https://" for a TLS server.
    std::string url(const std::string& path = "/") const;

private:
    Kind kind_;
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
};
