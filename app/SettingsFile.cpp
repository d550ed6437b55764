#include "app/SettingsFile.h"

#include "app/EditText.h"
#include "app/IniFile.h"
#include "app/ListSelection.h"
#include "platform/TextCodec.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QWidget>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

const std::string& editSection()
{
    static const std::string name = gbk("编辑框");
    return name;
}

const std::string& comboSection()
{
    static const std::string name = gbk("组合框");
    return name;
}

std::string controlName(const QObject* control)
{
    return fromQString(control->objectName());
}

void replaceAll(std::string& text, std::string_view from, std::string_view to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// Leading digits with an optional sign, as the Windows text-to-number conversion reads them; 0 otherwise.
int parseIndex(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<long long>(value * 10 + (text[i] - '0'), 1LL << 31);
    return static_cast<int>(negative ? std::max(-value, -(1LL << 31)) : std::min(value, (1LL << 31) - 1));
}

bool directoryWritable(const std::filesystem::path& directory)
{
    // Permission bits say nothing for root; only an actual creation tells.
    const std::string probe = (directory / ".langque-write-probe-XXXXXX").string();
    std::string name = probe;
    const int fd = mkstemp(name.data());
    if (fd < 0)
        return false;
    close(fd);
    unlink(name.c_str());
    return true;
}

std::filesystem::path userConfigDirectory()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && *xdg == '/')
        return std::filesystem::path(xdg) / "langque";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : "/tmp") / ".config" / "langque";
}

} // namespace

SettingsFile::SettingsFile(QWidget& window, const std::filesystem::path& runDirectory,
                           std::function<void()> updateCharCount)
    : window_(window), updateCharCount_(std::move(updateCharCount))
{
    path_ = directoryWritable(runDirectory) ? runDirectory / "config.ini" : userConfigDirectory() / "config.ini";
}

std::string SettingsFile::encodeLineBreaks(std::string text)
{
    replaceAll(text, "\r\n", "><br><");
    // A lone CR or LF would end the value's line; it is kept as a line break too.
    replaceAll(text, "\r", "><br><");
    replaceAll(text, "\n", "><br><");
    return text;
}

std::string SettingsFile::decodeLineBreaks(std::string text)
{
    replaceAll(text, "><br><", "\r\n");
    return text;
}

void SettingsFile::SaveSettings() const
{
    std::error_code ignored;
    std::filesystem::create_directories(path_.parent_path(), ignored);
    IniFile ini = IniFile::load(path_);
    SaveEditTexts(window_, ini);
    SaveComboSelections(window_, ini);
    ini.save(path_);
}

void SettingsFile::LoadSettings() const
{
    const IniFile ini = IniFile::load(path_);
    LoadComboSelections(window_, ini);
    LoadEditTexts(window_, ini);
    if (updateCharCount_)
        updateCharCount_();
}

void SettingsFile::LoadComboSelections() const
{
    LoadComboSelections(window_, IniFile::load(path_));
}

int SettingsFile::SaveEditTexts(const QWidget& window, IniFile& ini)
{
    const QList<QPlainTextEdit*> boxes = window.findChildren<QPlainTextEdit*>();
    for (const QPlainTextEdit* box : boxes)
        ini.setValue(editSection(), controlName(box), encodeLineBreaks(editBoxText(box)));
    return static_cast<int>(boxes.size());
}

int SettingsFile::SaveComboSelections(const QWidget& window, IniFile& ini)
{
    const QList<QComboBox*> boxes = window.findChildren<QComboBox*>();
    for (const QComboBox* box : boxes)
        ini.setValue(comboSection(), controlName(box), std::to_string(box->currentIndex()));
    return static_cast<int>(boxes.size());
}

int SettingsFile::LoadComboSelections(QWidget& window, const IniFile& ini)
{
    const QList<QComboBox*> boxes = window.findChildren<QComboBox*>();
    for (QComboBox* box : boxes) {
        const std::string stored = ini.value(comboSection(), controlName(box));
        if (!stored.empty())
            selectByIndex(box, parseIndex(stored));
    }
    return static_cast<int>(boxes.size());
}

int SettingsFile::LoadEditTexts(QWidget& window, const IniFile& ini)
{
    const QList<QPlainTextEdit*> boxes = window.findChildren<QPlainTextEdit*>();
    for (QPlainTextEdit* box : boxes) {
        const std::string stored = ini.value(editSection(), controlName(box));
        if (!stored.empty())
            setEditBoxText(box, decodeLineBreaks(stored));
    }
    return static_cast<int>(boxes.size());
}
