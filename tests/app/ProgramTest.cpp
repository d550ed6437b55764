#include "support/AppFixture.h"

#include "app/StatusBar.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

// The whole program from start to close, with the real engine library.
class ProgramTest : public AppTest {};

TEST_F(ProgramTest, StartsTheEngineSpeaksAndSavesOnClose)
{
    auto app = start();
    auto* bar = app->control<StatusBar>("状态条1");
    EXPECT_EQ(bar->pane(1)->text(), QStringLiteral("已成功连接服务器"));
    EXPECT_EQ(app->state.SoftwareId, 32);
    EXPECT_EQ(app->state.LocalVersion, "2.1");

    app->window.textBox()->setPlainText(QStringLiteral("你好，世界"));
    QTest::mouseClick(app->window.startButton(), Qt::LeftButton);
    EXPECT_EQ(bar->pane(1)->text(), QStringLiteral("语音已合成"));
    EXPECT_TRUE(app->window.startButton()->isEnabled());
    EXPECT_EQ(app->window.startButton()->text(), QStringLiteral("开始合成"));
    ASSERT_GT(app->state.speech.exportAudio.size(), 44u + 16000u);
    EXPECT_EQ(app->state.speech.exportAudio.substr(0, 4), "RIFF");
    EXPECT_EQ(app->wavPlayer.lastImage, app->state.speech.exportAudio);
    EXPECT_FALSE(app->state.speech.currentSessionId.empty());

    QTest::mouseClick(app->window.stopButton(), Qt::LeftButton);
    EXPECT_EQ(app->wavPlayer.calls.back(), "stop");

    const auto saved = runDir.file("合成语音.wav");
    app->dialogs.fileAnswers.push_back(saved);
    QTest::mouseClick(app->window.saveButton(), Qt::LeftButton);
    EXPECT_EQ(TempDir::read(saved), app->state.speech.exportAudio);
    ASSERT_FALSE(app->dialogs.messages.empty());
    EXPECT_EQ(app->dialogs.messages.back().text, "导出成功:" + saved.string());

    app->close();
    EXPECT_NE(utf8(TempDir::read(runDir.file("config.ini"))).find("编辑框_合成文本=你好，世界"), std::string::npos);

    // The next start initialises the engine again from a clean state.
    auto again = start();
    EXPECT_EQ(again->control<StatusBar>("状态条1")->pane(1)->text(), QStringLiteral("已成功连接服务器"));
    EXPECT_EQ(again->window.textBox()->toPlainText(), QStringLiteral("你好，世界"));
}
