#pragma once

#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/ProgramState.h"
#include "speech/SpeechSynthesis.h"
#include "support/FakeDialogs.h"
#include "support/RecordingPlayers.h"
#include "support/TempDir.h"

#include <QComboBox>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <memory>

// One program as the process would build it, in a run directory of its own, with the real engine
// library and recording players.
struct RunningProgram {
    explicit RunningProgram(const std::filesystem::path& runDirectory)
        : window(state, dialogs, browser),
          speech(state.speech, window, wavPlayer, media, dialogs,
                 SpeechSynthesis::Options{{LANGQUE_BUILD_DIR}, runDirectory, {}}),
          program(state, window, speech, runDirectory)
    {
        program.OnMainWindowCreated();
    }
    // Closing runs the close query, which saves the settings.
    void close() { window.close(); }

    template <typename T = QWidget>
    T* control(const char* name) const
    {
        return window.findChild<T*>(QString::fromUtf8(name));
    }

    ProgramState state;
    FakeDialogs dialogs;
    FakeBrowser browser;
    MainWindow window;
    RecordingWavPlayer wavPlayer;
    RecordingMediaCommands media;
    SpeechSynthesis speech;
    Program program;
};

class AppTest : public ::testing::Test {
protected:
    std::unique_ptr<RunningProgram> start() { return std::make_unique<RunningProgram>(runDir.path()); }

    static QStringList items(const QComboBox* box)
    {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts << box->itemText(i);
        return texts;
    }

    TempDir runDir;
};
