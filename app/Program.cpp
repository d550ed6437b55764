#include "app/Program.h"

#include "app/MainWindow.h"
#include "app/ProgramState.h"
#include "net/OutsideHosts.h"
#include "platform/TextCodec.h"
#include "speech/SpeechSynthesis.h"

#include <QDir>
#include <QPushButton>

namespace {

constexpr int kMajorVersion = 2;
constexpr int kMinorVersion = 1;
constexpr int kSoftwareId = 32;

} // namespace

Program::Program(ProgramState& state, MainWindow& window, SpeechSynthesis& speech,
                 const std::filesystem::path& runDirectory)
    : state_(state),
      window_(window),
      speech_(speech),
      catalogue_(window.optionLists(), state.voiceList),
      settings_(window, runDirectory, [&window] { window.UpdateCharCount(); }),
      web_(state.speech, window, speech.media(), OutsideHosts::current().webTts,
           std::filesystem::path(QDir::tempPath().toStdString()))
{
    speech_.setWebRoute([this] { web_.SynthesizeViaWeb(); });
    QObject::connect(window.defaultsButton(), &QPushButton::clicked, &window, [this] { catalogue_.ApplyDefaultOptions(); });
    QObject::connect(window.startButton(), &QPushButton::clicked, &window, [this] { speech_.StartSynthesis(); });
    QObject::connect(window.stopButton(), &QPushButton::clicked, &window, [this] { speech_.StopPlayback(); });
    QObject::connect(window.saveButton(), &QPushButton::clicked, &window, [this] { speech_.ExportSpeech(); });
    window.setCloseQuery([this] { OnMainWindowCloseQuery(); });
}

void Program::OnMainWindowCreated()
{
    state_.SoftwareId = kSoftwareId;
    state_.LocalVersion = std::to_string(kMajorVersion) + "." + std::to_string(kMinorVersion);
    setWindowTitle();
    // The option lists and the settings load inside the engine set-up, so they are ready whatever the engine does.
    speech_.SetUpSpeechSdk([this] {
        catalogue_.FillOptionLists([this] { settings_.LoadSettings(); },
                                   [this] { settings_.LoadComboSelections(); });
    });
}

void Program::OnMainWindowCloseQuery()
{
    // Stops a run in progress, ends the session with "正常关闭", and finalises only when that end succeeded.
    speech_.ShutDown();
    settings_.SaveSettings();
}

void Program::setWindowTitle()
{
    if (state_.productInfo.sname.empty())
        state_.productInfo.sname = fromQString(window_.windowTitle());
    window_.setWindowTitle(toQString(state_.productInfo.sname + "V" + state_.LocalVersion));
}
