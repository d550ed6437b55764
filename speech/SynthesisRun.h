#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

class SpeechSdk;
class SynthesisView;
class WavPlayer;
struct SpeechState;

// One press of "开始合成": the input checks, then either the web route or a whole engine run
// (end the previous session, begin one, put the text, collect the audio, play and keep it).
// Runs on the GUI thread; the window handles its events only between audio pieces.
class SynthesisRun {
public:
    struct Limits {
        // A run whose engine reports no end this long after its last piece has failed.
        std::chrono::milliseconds endStatusTimeout{60000};
        // Pause after a poll that brought no audio, so that waiting does not spin a core.
        std::chrono::milliseconds idlePollPause{2};
        // A run whose audio grows beyond this has failed (about 35 minutes at 16000 Hz).
        std::size_t maxAudioBytes = std::size_t(64) << 20;
    };

    SynthesisRun(SpeechSdk& sdk, SpeechState& state, SynthesisView& view, WavPlayer& wavPlayer);
    SynthesisRun(SpeechSdk& sdk, SpeechState& state, SynthesisView& view, WavPlayer& wavPlayer, Limits limits);

    // The multi-language engine type goes here instead of to the engine.
    void setWebRoute(std::function<void()> route) { webRoute_ = std::move(route); }

    // Click handler of 按钮_开始合成. Ignored while a run is collecting audio.
    void StartSynthesis();

    // True while a run is collecting audio (the window may then be handling an event inside it).
    bool running() const { return running_; }
    // Makes a collecting run return at its next step without calling the engine or touching the
    // view again: for the close of the main window, which then ends the session and releases
    // the engine. Has no effect when no run is collecting.
    void requestStop() { stopRequested_ = running_; }

    // Parts of the run, public for the tests and the web route.
    int BeginSynthesisSession();
    void SetSynthesisBusy(bool busy);

private:
    enum class Outcome { Finished, Failed, Stopped };
    void CollectSynthesisAudio();
    Outcome collect(std::string& audio);

    SpeechSdk& sdk_;
    SpeechState& state_;
    SynthesisView& view_;
    WavPlayer& wavPlayer_;
    Limits limits_;
    std::function<void()> webRoute_;
    bool running_ = false;
    bool stopRequested_ = false;
};
