#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

// A private PulseAudio daemon with one null sink, reached through its own socket, so that a
// test hears what it plays without a sound card and without meeting another test's server.
// The constructor points PULSE_SERVER of this process at it; build it before any audio use.
class PulseServer {
public:
    PulseServer();
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    bool running() const { return ready_; }
    const std::string& sinkName() const { return sink_; }

    // Records the sink's monitor as 16-bit mono samples at 16000 Hz.
    void startRecording();
    std::vector<short> stopRecording();

private:
    std::filesystem::path dir_;
    std::string sink_ = "langque_test";
    pid_t daemon_ = -1;
    pid_t recorder_ = -1;
    pid_t pacer_ = -1;
    bool ready_ = false;
};

// Signal analysis of a recording in 10 ms blocks.
namespace tone {
constexpr int kRate = 16000;
constexpr int kBlock = kRate / 100;

// Power of one frequency in a block (Goertzel), relative to the block's whole power.
double share(const short* block, int length, double frequency);
// Number of 10 ms blocks in which the frequency carries most of a clearly audible block.
int blocksWith(const std::vector<short>& samples, double frequency);
// Root mean square over the whole recording.
double rms(const std::vector<short>& samples);
// Sine segments, 16-bit mono at kRate: each pair is frequency (Hz) and duration (ms).
std::vector<short> segments(const std::vector<std::pair<double, int>>& parts, int rate = kRate);
} // namespace tone
