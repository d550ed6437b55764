#include "PulseServer.h"

#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// The child gets SIGTERM when this process dies, so that a crashed test leaves no daemon behind.
pid_t spawn(const std::vector<std::string>& args, const std::string& outputFile = {},
            const char* inputFile = "/dev/null")
{
    std::vector<char*> argv;
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const char* output = outputFile.empty() ? "/dev/null" : outputFile.c_str();
    const int outputFlags = outputFile.empty() ? O_WRONLY : O_WRONLY | O_CREAT | O_TRUNC;
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent)
        _exit(127);
    const int in = open(inputFile, O_RDONLY);
    const int out = open(output, outputFlags, 0644);
    const int err = open("/dev/null", O_WRONLY);
    if (in < 0 || out < 0 || err < 0)
        _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    execvp(argv[0], argv.data());
    _exit(127);
}

int runToEnd(const std::vector<std::string>& args)
{
    const pid_t pid = spawn(args);
    if (pid < 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void endChild(pid_t pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

} // namespace

PulseServer::PulseServer()
{
    char pattern[] = "/tmp/langque-pulse-XXXXXX";
    if (!mkdtemp(pattern))
        return;
    dir_ = pattern;
    const std::string socket = (dir_ / "native").string();
    const std::string server = "unix:" + socket;
    // The daemon keeps its state files in the private directory, not in the user's home.
    setenv("HOME", dir_.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
    unsetenv("PULSE_SERVER");
    // One sink rate for the whole run: a sink that switches rates for a new stream would
    // interrupt the recording of its monitor.
    std::filesystem::create_directories(dir_ / "pulse");
    std::ofstream(dir_ / "pulse" / "daemon.conf") << "default-sample-rate = 48000\nalternate-sample-rate = 48000\n";
    daemon_ = spawn({"pulseaudio", "-n", "-F", "/dev/null", "--daemonize=no", "--exit-idle-time=-1",
                     "--use-pid-file=no", "--disallow-exit=no",
                     "--load=module-null-sink sink_name=" + sink_,
                     "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket});
    if (daemon_ < 0)
        return;
    setenv("PULSE_SERVER", server.c_str(), 1);
    for (int attempt = 0; attempt < 100 && !ready_; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ready_ = std::filesystem::exists(socket) && runToEnd({"pactl", "info"}) == 0;
    }
    // A null sink with no low-latency stream renders up to two seconds ahead, so that a new
    // sound reaches the monitor late and a stopped one is still heard. A silent stream that
    // asks for 10 ms keeps the sink, and so the recording, in step with the players.
    if (ready_)
        pacer_ = spawn({"pacat", "--playback", "--latency-msec=10", "--raw", "--format=s16le", "--rate=16000",
                        "--channels=1", "-d", sink_},
                       {}, "/dev/zero");
    // The first recording of a fresh server starts late; have it done here.
    if (ready_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        startRecording();
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        stopRecording();
    }
}

PulseServer::~PulseServer()
{
    endChild(recorder_);
    endChild(pacer_);
    endChild(daemon_);
    std::error_code ignored;
    if (!dir_.empty())
        std::filesystem::remove_all(dir_, ignored);
}

void PulseServer::startRecording()
{
    recorder_ = spawn({"parec", "--latency-msec=10", "-d", sink_ + ".monitor", "--raw", "--format=s16le",
                       "--rate=16000", "--channels=1"},
                      (dir_ / "recording.raw").string());
    // parec needs a moment before its stream delivers.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

std::vector<short> PulseServer::stopRecording()
{
    endChild(recorder_);
    recorder_ = -1;
    std::ifstream in(dir_ / "recording.raw", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<short> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = short(static_cast<unsigned char>(bytes[2 * i]) | static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return samples;
}

namespace tone {

double share(const short* block, int length, double frequency)
{
    const double w = 2 * M_PI * frequency / kRate;
    const double coefficient = 2 * std::cos(w);
    double s1 = 0, s2 = 0, total = 0;
    for (int i = 0; i < length; ++i) {
        const double s = block[i] + coefficient * s1 - s2;
        s2 = s1;
        s1 = s;
        total += double(block[i]) * block[i];
    }
    const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
    // A pure sine of n samples gives power n*n*a*a/4 and total n*a*a/2.
    return total > 0 ? power / (total * length / 2) : 0;
}

int blocksWith(const std::vector<short>& samples, double frequency)
{
    int count = 0;
    for (std::size_t at = 0; at + kBlock <= samples.size(); at += kBlock) {
        double total = 0;
        for (int i = 0; i < kBlock; ++i)
            total += double(samples[at + i]) * samples[at + i];
        if (std::sqrt(total / kBlock) > 500 && share(&samples[at], kBlock, frequency) > 0.5)
            ++count;
    }
    return count;
}

double rms(const std::vector<short>& samples)
{
    double total = 0;
    for (short s : samples)
        total += double(s) * s;
    return samples.empty() ? 0 : std::sqrt(total / double(samples.size()));
}

std::vector<short> segments(const std::vector<std::pair<double, int>>& parts, int rate)
{
    std::vector<short> out;
    for (const auto& [frequency, ms] : parts) {
        const int count = rate * ms / 1000;
        for (int i = 0; i < count; ++i)
            out.push_back(short(12000 * std::sin(2 * M_PI * frequency * i / rate)));
    }
    return out;
}

} // namespace tone
