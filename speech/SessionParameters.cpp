#include "speech/SessionParameters.h"

#include <array>

namespace {

constexpr std::array<const char*, 5> kSpeeds = {"x-slow", "slow", "medium", "fast", "x-fast"};
constexpr std::array<const char*, 5> kVolumes = {"x-soft", "soft", "medium", "loud", "x-loud"};
constexpr std::array<const char*, 2> kTextTypes = {"text", "ssml"};

template <std::size_t N>
bool inRange(const ListChoice& choice, const std::array<const char*, N>&)
{
    return choice.index >= 0 && std::size_t(choice.index) < N;
}

} // namespace

bool SynthesisSettingsComplete(const SynthesisSettings& settings, const std::vector<VoiceEntry>& voiceList)
{
    return settings.voiceIndex.index >= 0 && std::size_t(settings.voiceIndex.index) < voiceList.size()
        && settings.compressionLevel.index >= 0 && inRange(settings.speed, kSpeeds)
        && inRange(settings.volume, kVolumes) && inRange(settings.textType, kTextTypes);
}

std::optional<std::string> BuildSessionParameters(const SynthesisSettings& settings,
                                                  const std::vector<VoiceEntry>& voiceList)
{
    if (!SynthesisSettingsComplete(settings, voiceList))
        return std::nullopt;
    std::string audioEncoding = settings.audioEncoding.text;
    if (settings.audioEncoding.index != 0)
        audioEncoding += ";" + settings.compressionLevel.text;
    return "ssm=1"
        + (",vcn=" + voiceList[std::size_t(settings.voiceIndex.index)].voiceCode)
        + ",spd=" + kSpeeds[std::size_t(settings.speed.index)]
        + ",vol=" + kVolumes[std::size_t(settings.volume.index)]
        + ",ttp=" + kTextTypes[std::size_t(settings.textType.index)]
        + ",tte=" + settings.textEncoding.text
        + ",bgs=" + std::to_string(settings.backgroundSound.index)
        + ",aue=" + audioEncoding
        + ",auf=" + settings.audioFormat.text
        + ",rdn=" + std::to_string(settings.numberReading.index)
        + ",emot=sad";
}
