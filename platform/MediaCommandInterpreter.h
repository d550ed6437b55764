#pragma once

#include "platform/MediaCommands.h"

#include <filesystem>
#include <map>
#include <string>

class AudioOutput;

// The media command strings on the audio output, one channel per alias. ".wav" files are
// read as WAV images, every other file is decoded as MPEG audio. Aliases ignore letter case.
class MediaCommandInterpreter final : public MediaCommands {
public:
    explicit MediaCommandInterpreter(AudioOutput& output) : output_(output) {}
    ~MediaCommandInterpreter() override;

    int sendCommand(std::string_view command) override;

    // The audio output channel that plays an alias.
    static std::string channelOf(std::string_view alias);

private:
    int open(const std::filesystem::path& file, const std::string& alias);
    int play(const std::string& alias);
    int stop(const std::string& alias);
    int close(const std::string& alias);

    AudioOutput& output_;
    std::map<std::string, std::filesystem::path> open_;
};
