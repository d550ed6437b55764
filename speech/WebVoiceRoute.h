#pragma once

#include <filesystem>
#include <string>

class MediaCommands;
class SynthesisView;
struct SpeechState;

// The multi-language engine type: the speech comes as an MP3 from the translation web host's
// "/gettts" address, is kept as webAudio, written to tmp.mp3 in the temporary directory and
// played under the media alias "77".
class WebVoiceRoute {
public:
    // host: host, optionally ":" port; temporaryDirectory: where tmp.mp3 goes.
    WebVoiceRoute(SpeechState& state, SynthesisView& view, MediaCommands& media, std::string host,
                  std::filesystem::path temporaryDirectory);

    void SynthesizeViaWeb();

    // The request address for a GBK text, a language code and a speed index (0 = 最慢).
    std::string requestUrl(const std::string& text, const std::string& language, int speed) const;
    // The five header lines sent with it.
    std::string requestHeaders() const;
    std::filesystem::path temporaryFile() const { return temporaryDirectory_ / "tmp.mp3"; }

private:
    SpeechState& state_;
    SynthesisView& view_;
    MediaCommands& media_;
    std::string host_;
    std::filesystem::path temporaryDirectory_;
};
