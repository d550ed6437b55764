#pragma once

#include <filesystem>
#include <functional>

class IniFile;
class QWidget;

// The user's settings are the state of the main window's controls: every edit box's content in section
// 编辑框 and every combo box's selected index in section 组合框, keyed by the control's name.
class SettingsFile {
public:
    // The file lives in the run directory; where that cannot be written, under $XDG_CONFIG_HOME/langque/.
    SettingsFile(QWidget& window, const std::filesystem::path& runDirectory, std::function<void()> updateCharCount);

    const std::filesystem::path& ConfigFilePath() const { return path_; }

    // Failures are silent: the close goes on.
    // Each reads or writes the file once.
    void SaveSettings() const;
    void LoadSettings() const;
    // The second pass of the start-up, once the voice and compression lists match the stored choices.
    void LoadComboSelections() const;

    // The walks over the window's controls of one kind; each returns how many it found.
    static int SaveEditTexts(const QWidget& window, IniFile& file);
    static int SaveComboSelections(const QWidget& window, IniFile& file);
    static int LoadComboSelections(QWidget& window, const IniFile& file);
    static int LoadEditTexts(QWidget& window, const IniFile& file);

    // Line breaks travel as "><br><" so the text stays on one line of the file.
    static std::string encodeLineBreaks(std::string text);
    static std::string decodeLineBreaks(std::string text);

private:
    QWidget& window_;
    std::filesystem::path path_;
    std::function<void()> updateCharCount_;
};
