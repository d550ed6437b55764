#pragma once

#include "platform/MediaCommands.h"
#include "platform/WavPlayer.h"

#include <string>
#include <vector>

// Players that only write down what they were asked: "play <n bytes>", "stop".
class RecordingWavPlayer final : public WavPlayer {
public:
    std::vector<std::string> calls;
    std::string lastImage;

    void playWavImage(std::string image) override
    {
        calls.push_back("play " + std::to_string(image.size()));
        lastImage = std::move(image);
    }
    void stopWavPlayback() override { calls.push_back("stop"); }
};

// Records every command string (GBK, as sent) and answers each with `answer`.
class RecordingMediaCommands final : public MediaCommands {
public:
    std::vector<std::string> commands;
    int answer = kMediaOk;

    int sendCommand(std::string_view command) override
    {
        commands.emplace_back(command);
        return answer;
    }
};
