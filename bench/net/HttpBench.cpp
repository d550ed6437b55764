// Throughput and memory of SendHttpRequest against the curl command line, both fetching from the
// same loopback server in the same run. The server runs in a child process so that the figures
// of this process are the client's alone.
//   http_bench [body megabytes, default 200] [small requests, default 1000]

#include "net/HttpRequest.h"

#include <httplib.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Peak resident memory of this process so far, in bytes.
long long peakResidentBytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atoll(line.c_str() + 6) * 1024;
    }
    return -1;
}

long long residentBytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atoll(line.c_str() + 6) * 1024;
    }
    return -1;
}

[[noreturn]] void serve(int port, size_t bodyBytes, int readyPipe)
{
    httplib::Server server;
    static char chunk[256 * 1024];
    std::fill(std::begin(chunk), std::end(chunk), 'b');
    server.Get("/big", [bodyBytes](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(bodyBytes, "application/octet-stream",
                                 [](size_t, size_t length, httplib::DataSink& sink) {
                                     return sink.write(chunk, std::min(length, sizeof chunk));
                                 });
    });
    server.Get("/small", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(std::string(200, 's'), "text/plain");
    });
    if (!server.bind_to_port("127.0.0.1", port))
        _exit(1);
    const char ok = 1;
    (void)!write(readyPipe, &ok, 1);
    server.listen_after_bind();
    _exit(0);
}

double timeCommand(const std::string& command)
{
    const Clock::time_point start = Clock::now();
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "command failed: %s\n", command.c_str());
    return secondsSince(start);
}

} // namespace

int main(int argc, char** argv)
{
    const size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 200;
    const int smallCount = argc > 2 ? std::atoi(argv[2]) : 1000;
    const size_t bodyBytes = megabytes * 1000 * 1000;
    const int port = 20000 + static_cast<int>(getpid() % 20000);

    int ready[2];
    if (pipe(ready) != 0)
        return 1;
    const pid_t server = fork();
    if (server == 0)
        serve(port, bodyBytes, ready[1]);
    char ok = 0;
    if (read(ready[0], &ok, 1) != 1) {
        std::fprintf(stderr, "server did not start on port %d\n", port);
        return 1;
    }
    const std::string base = "http://127.0.0.1:" + std::to_string(port);
    const HttpEngine engine;

    // Large body: best of five each, interleaved, so that both meet the same load.
    const long long residentBefore = residentBytes();
    double engineBest = 1e9;
    double curlBest = 1e9;
    bool intact = true;
    for (int round = 0; round < 5; ++round) {
        HttpRequest request;
        request.url = base + "/big";
        request.timeoutSeconds = 600;
        const Clock::time_point start = Clock::now();
        const std::string body = engine.send(request);
        engineBest = std::min(engineBest, secondsSince(start));
        intact = intact && body.size() == bodyBytes;
        curlBest = std::min(curlBest, timeCommand("curl -s -o /dev/null " + base + "/big"));
    }
    const long long peak = peakResidentBytes();
    const double mb = static_cast<double>(bodyBytes) / 1e6;
    std::printf("body %zu MB: SendHttpRequest %.3f s (%.0f MB/s), curl command line %.3f s (%.0f MB/s), "
                "ratio %.2f%s\n",
                megabytes, engineBest, mb / engineBest, curlBest, mb / curlBest, engineBest / curlBest,
                intact ? "" : " [BODY INCOMPLETE]");
    std::printf("peak resident %.1f MB = %.2f x body (before the fetches %.1f MB; growth %.2f x body)\n",
                static_cast<double>(peak) / 1e6, static_cast<double>(peak) / static_cast<double>(bodyBytes),
                static_cast<double>(residentBefore) / 1e6,
                static_cast<double>(peak - residentBefore) / static_cast<double>(bodyBytes));

    // Small requests in a row.
    HttpRequest small;
    small.url = base + "/small";
    const Clock::time_point start = Clock::now();
    int failed = 0;
    for (int i = 0; i < smallCount; ++i)
        failed += engine.send(small).size() == 200 ? 0 : 1;
    const double engineSmall = secondsSince(start);
    const double curlProcesses = timeCommand("for i in $(seq " + std::to_string(smallCount) + "); do curl -s -o /dev/null "
                                             + base + "/small; done");
    const double curlOneProcess = timeCommand("curl -s '" + base + "/small?i=[1-" + std::to_string(smallCount)
                                              + "]' > /dev/null");
    std::printf("%d small requests: SendHttpRequest %.0f/s%s, curl one process per request %.0f/s, "
                "curl one process reusing its connection %.0f/s\n",
                smallCount, smallCount / engineSmall, failed ? " [FAILURES]" : "", smallCount / curlProcesses,
                smallCount / curlOneProcess);

    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
    return 0;
}
