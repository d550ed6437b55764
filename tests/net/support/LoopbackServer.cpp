#include "LoopbackServer.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>

const TestCertificate& testCertificate()
{
    static const TestCertificate certificate = [] {
        char pattern[] = "/tmp/langque-cert-XXXXXX";
        const std::string dir = ::mkdtemp(pattern);
        TestCertificate made{dir + "/cert.pem", dir + "/key.pem"};
        const std::string command = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes"
                                    " -days 2 -subj /CN=localhost -addext subjectAltName=IP:127.0.0.1,DNS:localhost"
                                    " -keyout " + made.keyFile + " -out " + made.certFile + " >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0)
            std::abort();
        return made;
    }();
    return certificate;
}

LoopbackServer::LoopbackServer(Kind kind) : kind_(kind)
{
    if (kind == Kind::Tls) {
        const TestCertificate& certificate = testCertificate();
        server_ = std::make_unique<httplib::SSLServer>(certificate.certFile.c_str(), certificate.keyFile.c_str());
    } else {
        server_ = std::make_unique<httplib::Server>();
    }
}

LoopbackServer::~LoopbackServer()
{
    server_->stop();
    if (thread_.joinable())
        thread_.join();
}

bool LoopbackServer::start(int port)
{
    if (port == 0) {
        port_ = server_->bind_to_any_port("127.0.0.1");
    } else {
        port_ = server_->bind_to_port("127.0.0.1", port) ? port : -1;
    }
    if (port_ <= 0)
        return false;
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    while (!server_->is_running())
        std::this_thread::yield();
    return true;
}

std::string LoopbackServer::url(const std::string& path) const
{
    return std::string(kind_ == Kind::Tls ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) + path;
}
