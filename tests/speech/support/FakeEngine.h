#pragma once

#include "support/TempDir.h"

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

// Drives the stand-in engine library (fakemsc/FakeMsc.cpp) through its environment and reads
// the calls it recorded.
class FakeEngine {
public:
    explicit FakeEngine(const TempDir& dir) : log_(dir.file("engine.log"))
    {
        setenv("LANGQUE_FAKE_MSC_LOG", log_.c_str(), 1);
        setMode("ok");
    }
    ~FakeEngine()
    {
        unsetenv("LANGQUE_FAKE_MSC_LOG");
        unsetenv("LANGQUE_FAKE_MSC_MODE");
    }

    static void setMode(const std::string& mode) { setenv("LANGQUE_FAKE_MSC_MODE", mode.c_str(), 1); }

    // One entry per call, in order ("init ...", "begin ...", "textput ...", "audioget ...",
    // "end ID HINTS", "fini"); the hints are GBK bytes as given.
    std::vector<std::string> calls() const
    {
        std::vector<std::string> out;
        std::istringstream in(TempDir::read(log_));
        for (std::string line; std::getline(in, line);)
            out.push_back(line);
        return out;
    }
    // The calls without the polls.
    std::vector<std::string> callsButPolls() const
    {
        std::vector<std::string> out;
        for (auto& call : calls()) {
            if (call.rfind("audioget ", 0) != 0)
                out.push_back(call);
        }
        return out;
    }
    int polls() const
    {
        int count = 0;
        for (auto& call : calls())
            count += call.rfind("audioget ", 0) == 0;
        return count;
    }
    void clear() const { TempDir::write(log_, ""); }

    static std::string hex(const std::string& bytes)
    {
        static const char digits[] = "0123456789abcdef";
        std::string out;
        for (unsigned char c : bytes) {
            out.push_back(digits[c >> 4]);
            out.push_back(digits[c & 15]);
        }
        return out;
    }
    // The audio of piece n as the stand-in hands it out.
    static std::string piece(int n)
    {
        std::string out(1000, '\0');
        for (unsigned i = 0; i < out.size(); ++i)
            out[i] = char((n * 31 + i) & 0xFF);
        return out;
    }

private:
    std::filesystem::path log_;
};
