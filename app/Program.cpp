#include "app/Program.h"

#include "app/MainWindow.h"
#include "app/ProgramState.h"
#include "platform/TextCodec.h"

#include <QPushButton>

namespace {

constexpr int kMajorVersion = 2;
constexpr int kMinorVersion = 1;
constexpr int kSoftwareId = 32;

} // namespace

Program::Program(ProgramState& state, MainWindow& window, const std::filesystem::path& runDirectory)
    : state_(state),
      window_(window),
      catalogue_(window.optionLists(), state.voiceList),
      settings_(window, runDirectory, [&window] { window.UpdateCharCount(); })
{
    QObject::connect(window.defaultsButton(), &QPushButton::clicked, &window, [this] { catalogue_.ApplyDefaultOptions(); });
    window.setCloseQuery([this] { OnMainWindowCloseQuery(); });
}

void Program::OnMainWindowCreated()
{
    state_.SoftwareId = kSoftwareId;
    state_.LocalVersion = std::to_string(kMajorVersion) + "." + std::to_string(kMinorVersion);
    setWindowTitle();
    catalogue_.FillOptionLists([this] { settings_.LoadSettings(); },
                               [this] { SettingsFile::LoadComboSelections(window_, settings_.ConfigFilePath()); });
}

void Program::OnMainWindowCloseQuery()
{
    settings_.SaveSettings();
}

void Program::setWindowTitle()
{
    if (state_.productInfo.sname.empty())
        state_.productInfo.sname = fromQString(window_.windowTitle());
    window_.setWindowTitle(toQString(state_.productInfo.sname + "V" + state_.LocalVersion));
}
