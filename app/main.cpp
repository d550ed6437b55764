#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/ProgramState.h"
#include "platform/AudioOutput.h"
#include "platform/Browser.h"
#include "platform/MediaCommandInterpreter.h"
#include "platform/QtDialogs.h"
#include "platform/QtWavPlayer.h"
#include "platform/TerminationSignals.h"
#include "speech/SpeechSynthesis.h"

#include <QApplication>

#include <filesystem>

// The composition root: picks the real adapters and runs the message loop until the main window is gone.
int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));

    ProgramState state;
    QtDialogs dialogs;
    DesktopBrowser browser;
    MainWindow window(state, dialogs, browser);
    dialogs.setParent(&window);

    AudioOutput audio;
    QtWavPlayer wavPlayer(audio);
    MediaCommandInterpreter media(audio);
    SpeechSynthesis speech(state.speech, window, wavPlayer, media, dialogs);

    Program program(state, window, speech, ProgramDirectory());
    program.OnMainWindowCreated();
    onTerminationSignal([&window] { window.close(); });
    window.show();
    return QApplication::exec();
}
