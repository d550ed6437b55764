#pragma once

#include "app/OptionCatalogue.h"
#include "app/SettingsFile.h"
#include "speech/WebVoiceRoute.h"

#include <filesystem>

class MainWindow;
class SpeechSynthesis;
struct ProgramState;

// Start-up and shut-down: what runs when the main window has been created and when it is asked to close.
class Program {
public:
    Program(ProgramState& state, MainWindow& window, SpeechSynthesis& speech, const std::filesystem::path& runDirectory);

    // Runs to completion before the window handles any input.
    void OnMainWindowCreated();
    // Always lets the window close.
    void OnMainWindowCloseQuery();

    OptionCatalogue& catalogue() { return catalogue_; }
    const SettingsFile& settings() const { return settings_; }

private:
    void setWindowTitle();

    ProgramState& state_;
    MainWindow& window_;
    SpeechSynthesis& speech_;
    OptionCatalogue catalogue_;
    SettingsFile settings_;
    WebVoiceRoute web_;
};
