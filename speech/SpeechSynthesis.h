#pragma once

#include "speech/SdkSetUp.h"
#include "speech/SpeechPlayback.h"
#include "speech/SpeechSdk.h"
#include "speech/SynthesisRun.h"

#include <filesystem>
#include <functional>
#include <vector>

class Dialogs;
class MediaCommands;
class SynthesisView;
class WavPlayer;
struct SpeechState;

// The speech subsystem as the main window uses it: the engine binding, the synthesis run,
// playback and export, over the program's SpeechState.
class SpeechSynthesis {
public:
    struct Options {
        // Where the engine library is looked for before the system's library path.
        std::vector<std::filesystem::path> libraryDirectories = {ProgramDirectory()};
        // Where the save dialog opens.
        std::filesystem::path runDirectory = ProgramDirectory();
        SynthesisRun::Limits limits;
    };

    SpeechSynthesis(SpeechState& state, SynthesisView& view, WavPlayer& wavPlayer, MediaCommands& media,
                    Dialogs& dialogs);
    SpeechSynthesis(SpeechState& state, SynthesisView& view, WavPlayer& wavPlayer, MediaCommands& media,
                    Dialogs& dialogs, Options options);

    // Last step of start-up; fillOptionLists fills the option lists and loads the settings.
    void SetUpSpeechSdk(const std::function<void()>& fillOptionLists);
    // First steps of the close query, before the settings are saved: a collecting run is
    // stopped, the held session ended with "正常关闭", and the engine released only when that
    // end returned 0.
    void ShutDown();

    // Click handlers.
    void StartSynthesis() { run_.StartSynthesis(); }
    void StopPlayback() { playback_.StopPlayback(); }
    void ExportSpeech() { playback_.ExportSpeech(); }

    // The multi-language engine type runs this in place of the engine.
    void setWebRoute(std::function<void()> route) { run_.setWebRoute(std::move(route)); }

    SpeechSdk& sdk() { return sdk_; }
    SynthesisRun& run() { return run_; }
    MediaCommands& media() { return media_; }

private:
    SpeechState& state_;
    SynthesisView& view_;
    MediaCommands& media_;
    Options options_;
    SpeechSdk sdk_;
    SynthesisRun run_;
    SpeechPlayback playback_;
};
