#include "support/AppFixture.h"

#include "app/IniFile.h"
#include "app/ListSelection.h"
#include "platform/TextCodec.h"

#include <QLabel>

#include <cstdlib>

namespace {

void choose(QComboBox* box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}

} // namespace

class SettingsFileTest : public AppTest {
protected:
    std::filesystem::path configFile() const { return runDir.file("config.ini"); }
    std::string configText() const { return utf8(TempDir::read(configFile())); }
};

TEST_F(SettingsFileTest, ARestartBringsBackTheTextAndEveryChoice)
{
    const QString text = QStringLiteral("第一行\n含有><br><的一行\n\n  前后有空格  ");
    {
        auto app = start();
        const OptionLists& lists = app->window.optionLists();
        app->window.textBox()->setPlainText(text);
        choose(lists.engineType, 1);
        selectByIndex(lists.voice, 2);
        choose(lists.audioEncoding, 0);
        selectByIndex(lists.speed, 4);
        selectByIndex(lists.backgroundSound, 11);
        app->close();
    }
    const std::string bytes = TempDir::read(configFile());
    EXPECT_NE(bytes.find(gbk("[编辑框]\r\n编辑框_合成文本=")), std::string::npos) << configText();
    EXPECT_NE(bytes.find(gbk("组合框_引擎类型=1\r\n")), std::string::npos);
    EXPECT_NE(bytes.find(gbk("组合框_发音人=2\r\n")), std::string::npos);
    EXPECT_NE(bytes.find(gbk("组合框_压缩等级=0\r\n")), std::string::npos);

    auto app = start();
    const OptionLists& lists = app->window.optionLists();
    // The stored "><br><" comes back as a line break, as every line break does.
    EXPECT_EQ(app->window.textBox()->toPlainText(), QString(text).replace(QStringLiteral("><br><"), QStringLiteral("\n")));
    EXPECT_EQ(lists.engineType->currentText(), QStringLiteral("英文语音引擎"));
    EXPECT_EQ(lists.voice->currentText(), QStringLiteral("亨利(青年男声)"));
    EXPECT_EQ(app->state.voiceList.size(), 5u);
    EXPECT_EQ(lists.audioEncoding->currentText(), QStringLiteral("raw"));
    EXPECT_EQ(items(lists.compressionLevel), QStringList{"无压缩"});
    EXPECT_EQ(lists.compressionLevel->currentText(), QStringLiteral("无压缩"));
    EXPECT_EQ(lists.speed->currentIndex(), 4);
    EXPECT_EQ(lists.backgroundSound->currentIndex(), 11);
}

TEST_F(SettingsFileTest, HandEditedValuesAreClampedOrReadAsNumbers)
{
    TempDir::write(configFile(), gbk("[组合框]\r\n"
                                     "组合框_引擎类型=7\r\n"
                                     "组合框_语速=-1\r\n"
                                     "组合框_音量=loud\r\n"
                                     "组合框_数字发音 = 3 \r\n"
                                     "组合框_压缩等级=-1\r\n"
                                     "组合框_文本编码=\r\n"));
    auto app = start();
    const OptionLists& lists = app->window.optionLists();
    EXPECT_EQ(lists.engineType->currentText(), QStringLiteral("多语言语音引擎"));
    EXPECT_EQ(lists.voice->currentText(), QStringLiteral("德语"));
    EXPECT_EQ(app->state.voiceList.front().voiceCode, "de");
    EXPECT_EQ(lists.speed->currentIndex(), -1);
    EXPECT_EQ(lists.volume->currentIndex(), 0);
    EXPECT_EQ(lists.numberReading->currentIndex(), 3);
    EXPECT_EQ(lists.compressionLevel->currentIndex(), -1);
    EXPECT_EQ(lists.textEncoding->currentText(), QStringLiteral("GB2312")); // empty value: default kept
    EXPECT_EQ(app->window.textBox()->toPlainText(), QStringLiteral("请在这里输入要合成的文本"));
}

TEST_F(SettingsFileTest, MissingFileOrEmptySavedTextGivesTheDefaults)
{
    {
        auto app = start();
        EXPECT_EQ(app->window.textBox()->toPlainText(), QStringLiteral("请在这里输入要合成的文本"));
        EXPECT_EQ(app->control<QLabel>("标签_字符")->text(), QStringLiteral("字符数：24/2048"));
        app->window.ClearText();
        choose(app->window.optionLists().engineType, 2);
        app->close();
    }
    EXPECT_NE(configText().find("编辑框_合成文本=\r\n"), std::string::npos);
    {
        auto app = start();
        EXPECT_EQ(app->window.textBox()->toPlainText(), QStringLiteral("请在这里输入要合成的文本"));
        EXPECT_EQ(app->window.optionLists().engineType->currentIndex(), 2);
    }
    std::filesystem::remove(configFile());
    auto app = start();
    EXPECT_EQ(app->window.optionLists().engineType->currentIndex(), 0);
}

TEST_F(SettingsFileTest, AnUnwritableRunDirectoryFallsBackToTheUserConfigDirectory)
{
    TempDir xdg;
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(xdg.path().string()));
    {
        // Nothing can be created in /proc, not even by root.
        RunningProgram app("/proc");
        EXPECT_EQ(app.program.settings().ConfigFilePath(), xdg.path() / "langque" / "config.ini");
        app.window.textBox()->setPlainText(QStringLiteral("不会丢失"));
        app.close();
    }
    {
        RunningProgram app("/proc");
        EXPECT_EQ(app.window.textBox()->toPlainText(), QStringLiteral("不会丢失"));
    }
    auto app = start();
    EXPECT_EQ(app->program.settings().ConfigFilePath(), configFile());
    qputenv("XDG_CONFIG_HOME", previous);
}

TEST(IniFileTest, ProfileRulesForNamesValuesAndPlacement)
{
    TempDir dir;
    const auto file = dir.file("x.ini");
    TempDir::write(file, "[One]\r\nkey=old\r\n\r\n[Two]\r\na = ' quoted '\r\nb=\"x\"\r\n");
    IniFile ini = IniFile::load(file);
    EXPECT_EQ(ini.value("one", "KEY"), "old");
    EXPECT_EQ(ini.value("Two", "a"), " quoted ");
    EXPECT_EQ(ini.value("Two", "b"), "x");
    EXPECT_EQ(ini.value("Two", "missing"), "");
    EXPECT_EQ(ini.value("Three", "key"), "");

    ini.setValue("ONE", "Key", "new");
    ini.setValue("one", "second", "2");
    ini.setValue("Three", "k", "  edges  ");
    ini.setValue("Three", "q", "\"quoted\"");
    ASSERT_TRUE(ini.save(file));
    EXPECT_EQ(TempDir::read(file),
              "[One]\r\nKey=new\r\nsecond=2\r\n\r\n[Two]\r\na = ' quoted '\r\nb=\"x\"\r\n"
              "[Three]\r\nk=\"  edges  \"\r\nq=\"\"quoted\"\"\r\n");
    const IniFile again = IniFile::load(file);
    EXPECT_EQ(again.value("Three", "k"), "  edges  ");
    EXPECT_EQ(again.value("Three", "q"), "\"quoted\"");

    // A long value is cut at the read capacity; a file under a regular file cannot be written.
    ini.setValue("One", "long", std::string(IniFile::kValueCapacity + 5, 'v'));
    EXPECT_FALSE(ini.save(file / "below-a-file.ini"));
    ASSERT_TRUE(ini.save(file));
    EXPECT_EQ(IniFile::load(file).value("One", "long").size(), IniFile::kValueCapacity);
}

TEST(LineBreakCodingTest, EveryKindOfLineBreakStaysOnOneLine)
{
    EXPECT_EQ(SettingsFile::encodeLineBreaks("a\r\nb\nc\rd"), "a><br><b><br><c><br><d");
    EXPECT_EQ(SettingsFile::decodeLineBreaks("a><br><b><br>c"), "a\r\nb><br>c");
}
