#include "platform/QtWavPlayer.h"

#include "platform/AudioOutput.h"

#include <memory>

namespace {
const std::string kChannel = "wav";
}

void QtWavPlayer::playWavImage(std::string image)
{
    // Parsed on the audio thread: the image may be large and the GUI thread does not wait.
    auto held = std::make_shared<std::string>(std::move(image));
    output_.play(kChannel, [held] { return ReadWavImage(*held); });
}

void QtWavPlayer::stopWavPlayback()
{
    output_.stop(kChannel);
}
