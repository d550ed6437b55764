#include "app/OptionCatalogue.h"

#include "app/ListSelection.h"
#include "app/MainWindow.h"
#include "app/VoiceTables.h"
#include "platform/TextCodec.h"

#include <QComboBox>

#include <initializer_list>

namespace {

void addItems(QComboBox* box, std::initializer_list<const char*> items)
{
    for (const char* item : items)
        box->addItem(QString::fromUtf8(item));
}

void addNumbers(QComboBox* box, int first, int last)
{
    for (int i = first; i <= last; ++i)
        box->addItem(QString::number(i));
}

std::vector<std::string_view> split(std::string_view text, std::string_view separator)
{
    std::vector<std::string_view> parts;
    while (!text.empty()) {
        const size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos)
            break;
        text.remove_prefix(at + separator.size());
    }
    return parts;
}

} // namespace

OptionCatalogue::OptionCatalogue(const OptionLists& lists, std::vector<VoiceEntry>& voiceList)
    : lists_(lists), voiceList_(voiceList)
{
    // activated is the user's choice only; the program's own selections never come here.
    QObject::connect(lists_.engineType, &QComboBox::activated, lists_.engineType, [this] { RebuildVoiceList(); });
    QObject::connect(lists_.audioEncoding, &QComboBox::activated, lists_.audioEncoding,
                     [this] { RebuildCompressionLevels(); });
}

std::vector<VoiceEntry> OptionCatalogue::parseTable(std::string_view utf8Table, bool languageTable)
{
    std::vector<VoiceEntry> entries;
    for (std::string_view line : split(utf8Table, "\r\n")) {
        const std::vector<std::string_view> fields = split(line, "|");
        VoiceEntry entry;
        if (languageTable && fields.size() >= 2) {
            entry.displayText = gbk(fields[1]);
            entry.voiceCode = std::string(fields[0]);
        } else if (!languageTable && fields.size() >= 3) {
            entry.displayText = gbk(std::string(fields[0]) + "(" + std::string(fields[1]) + ")");
            entry.voiceCode = std::string(fields[2]);
        } else {
            continue;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

void OptionCatalogue::FillOptionLists(const std::function<void()>& loadSettings,
                                      const std::function<void()>& loadComboSelections)
{
    addItems(lists_.engineType, {"中文语音引擎", "英文语音引擎", "方言语音引擎", "多语言语音引擎"});
    addItems(lists_.speed, {"最慢", "较慢", "正常", "较快", "最快"});
    addItems(lists_.volume, {"最低", "较低", "正常", "较高", "最高"});
    addItems(lists_.textType, {"普通", "ssml"});
    addItems(lists_.textEncoding, {"AUTO", "GB2312", "GBK", "BIG5", "UNICODE", "GB18030", "UTF8"});
    addItems(lists_.numberReading, {"数值优先", "完全数值", "完全字符串", "字符串优先"});
    addNumbers(lists_.backgroundSound, 1, 11);
    addItems(lists_.audioEncoding, {"raw", "amr", "amr-fx", "amr-wb", "amr-wb-fx", "speex", "speex-wb"});
    addItems(lists_.audioFormat, {"audio/L16;rate=8000", "audio/L16;rate=16000"});

    ApplyDefaultOptions();
    if (loadSettings)
        loadSettings();
    // The stored voice and compression level only mean something in the lists of the stored
    // engine type and encoding, so those lists are rebuilt and the selections read again.
    RebuildVoiceList();
    RebuildCompressionLevels();
    if (loadComboSelections)
        loadComboSelections();
}

void OptionCatalogue::ApplyDefaultOptions()
{
    selectByIndex(lists_.engineType, 0);
    RebuildVoiceList();
    selectByIndex(lists_.voice, 0);
    selectByText(lists_.speed, gbk("正常"));
    selectByText(lists_.volume, gbk("正常"));
    selectByIndex(lists_.textType, 0);
    selectByIndex(lists_.numberReading, 0);
    selectByText(lists_.textEncoding, "GB2312");
    selectByIndex(lists_.backgroundSound, 0);
    selectByText(lists_.audioEncoding, "speex");
    RebuildCompressionLevels();
    selectByText(lists_.audioFormat, "audio/L16;rate=16000");
}

void OptionCatalogue::RebuildVoiceList()
{
    lists_.voice->clear();
    voiceList_.clear();
    switch (lists_.engineType->currentIndex()) {
    case 0: voiceList_ = parseTable(kChineseVoices, false); break;
    case 1: voiceList_ = parseTable(kEnglishVoices, false); break;
    case 2: voiceList_ = parseTable(kDialectVoices, false); break;
    case 3: voiceList_ = parseTable(kLanguages, true); break;
    default: break;
    }
    for (const VoiceEntry& entry : voiceList_)
        lists_.voice->addItem(toQString(entry.displayText));
    selectByIndex(lists_.voice, 0);
}

void OptionCatalogue::RebuildCompressionLevels()
{
    QComboBox* levels = lists_.compressionLevel;
    levels->clear();
    const std::string prefix = selectedText(lists_.audioEncoding).substr(0, 3);
    if (prefix == "raw") {
        levels->addItem(QStringLiteral("无压缩"));
        selectByText(levels, gbk("无压缩"));
    } else if (prefix == "amr") {
        addNumbers(levels, 0, 7);
        selectByText(levels, "5");
    } else if (prefix == "spe") {
        addNumbers(levels, 0, 10);
        selectByText(levels, "7");
    } else {
        levels->setCurrentIndex(-1);
    }
}
