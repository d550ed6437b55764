#include "platform/MediaCommandInterpreter.h"

#include "platform/AudioOutput.h"
#include "platform/Mp3Decoder.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>
#include <vector>

namespace {

std::string lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

// Words separated by blanks; a word in double quotes may hold blanks.
std::optional<std::vector<std::string>> words(std::string_view command)
{
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < command.size()) {
        if (command[at] == ' ' || command[at] == '\t') {
            ++at;
            continue;
        }
        if (command[at] == '"') {
            const std::size_t end = command.find('"', at + 1);
            if (end == std::string_view::npos)
                return std::nullopt;
            out.emplace_back(command.substr(at + 1, end - at - 1));
            at = end + 1;
            continue;
        }
        std::size_t end = at;
        while (end < command.size() && command[end] != ' ' && command[end] != '\t')
            ++end;
        out.emplace_back(command.substr(at, end - at));
        at = end;
    }
    return out;
}

std::optional<PcmSound> readSound(const std::filesystem::path& file)
{
    if (lower(file.extension().string()) == ".wav") {
        std::ifstream in(file, std::ios::binary);
        const std::string image{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        return ReadWavImage(image);
    }
    return DecodeMp3File(file);
}

} // namespace

MediaCommandInterpreter::~MediaCommandInterpreter()
{
    for (const auto& [alias, file] : open_)
        output_.stop(channelOf(alias));
}

std::string MediaCommandInterpreter::channelOf(std::string_view alias)
{
    return "media:" + lower(alias);
}

int MediaCommandInterpreter::sendCommand(std::string_view command)
{
    const auto parts = words(command);
    if (!parts || parts->empty())
        return kMediaUnknownCommand;
    const std::string verb = lower(parts->front());
    const std::size_t count = parts->size();
    if (verb == "open") {
        if (count != 4 || lower((*parts)[2]) != "alias")
            return kMediaBadArguments;
        return open(std::filesystem::path(utf8((*parts)[1])), lower((*parts)[3]));
    }
    if (verb == "play" || verb == "stop" || verb == "close") {
        if (count != 2)
            return kMediaBadArguments;
        const std::string alias = lower((*parts)[1]);
        if (verb == "play")
            return play(alias);
        if (verb == "stop")
            return stop(alias);
        return close(alias);
    }
    return kMediaUnknownCommand;
}

int MediaCommandInterpreter::open(const std::filesystem::path& file, const std::string& alias)
{
    if (alias == "all")
        return kMediaBadArguments;
    if (open_.count(alias))
        return kMediaDuplicateAlias;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return kMediaFileNotFound;
    open_[alias] = file;
    return kMediaOk;
}

int MediaCommandInterpreter::play(const std::string& alias)
{
    const auto found = open_.find(alias);
    if (found == open_.end())
        return kMediaUnknownAlias;
    // Decoded on the audio thread, so that a long file does not hold up the caller.
    output_.play(channelOf(alias), [file = found->second] { return readSound(file); });
    return kMediaOk;
}

int MediaCommandInterpreter::stop(const std::string& alias)
{
    if (!open_.count(alias))
        return kMediaUnknownAlias;
    output_.stop(channelOf(alias));
    return kMediaOk;
}

int MediaCommandInterpreter::close(const std::string& alias)
{
    if (alias == "all") {
        for (const auto& entry : open_)
            output_.stop(channelOf(entry.first));
        open_.clear();
        return kMediaOk;
    }
    if (!open_.erase(alias))
        return kMediaUnknownAlias;
    output_.stop(channelOf(alias));
    return kMediaOk;
}
