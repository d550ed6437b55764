#pragma once

#include <filesystem>
#include <string>

class Dialogs;
class MediaCommands;
class SynthesisView;
class WavPlayer;
struct SpeechState;

// The one media alias of the program: the web route's MP3.
inline const std::string kWebMediaAlias = "77";

// Sends "open \"PATH\" alias NAME", then "play NAME"; true when the play was accepted.
// The path is a GBK text.
bool PlayMediaFile(MediaCommands& media, const std::string& path, const std::string& alias);
// Sends "close NAME"; true when it was accepted.
bool CloseMedia(MediaCommands& media, const std::string& alias);

// "停止播放" and "保存语音".
class SpeechPlayback {
public:
    SpeechPlayback(SpeechState& state, SynthesisView& view, WavPlayer& wavPlayer, MediaCommands& media,
                   Dialogs& dialogs, std::filesystem::path runDirectory);

    // Stops the WAV; under the multi-language engine type also closes the web MP3.
    void StopPlayback();
    // Saves the engine's WAV, or under the multi-language engine type the web MP3, where the
    // user chooses. The two results are kept apart: neither is ever written for the other.
    void ExportSpeech();

private:
    SpeechState& state_;
    SynthesisView& view_;
    WavPlayer& wavPlayer_;
    MediaCommands& media_;
    Dialogs& dialogs_;
    std::filesystem::path runDirectory_;
};
