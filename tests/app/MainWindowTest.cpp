#include "support/AppFixture.h"

#include "app/StatusBar.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

namespace {

struct ControlRow {
    const char* name;
    const char* kind;
    const char* parent;
    QRect geometry;
    const char* caption;
};

const ControlRow kControls[] = {
    {"分组框4", "QGroupBox", "主窗口", {8, 5, 376, 419}, "输入文本"},
    {"编辑框_合成文本", "QPlainTextEdit", "分组框4", {12, 21, 352, 360}, "请在这里输入要合成的文本"},
    {"标签_字符", "QLabel", "分组框4", {10, 389, 130, 24}, "字符数：24/2048"},
    {"按钮4", "QPushButton", "分组框4", {142, 389, 40, 25}, "清空"},
    {"按钮3", "QPushButton", "分组框4", {184, 389, 40, 25}, "粘贴"},
    {"按钮1", "QPushButton", "分组框4", {226, 389, 81, 25}, "导入TXT文本"},
    {"按钮2", "QPushButton", "分组框4", {311, 389, 56, 25}, "停止播放"},
    {"分组框2", "QGroupBox", "主窗口", {392, 5, 264, 99}, "①发音人选择"},
    {"标签1", "QLabel", "分组框2", {21, 32, 56, 15}, "引擎类型："},
    {"组合框_引擎类型", "QComboBox", "分组框2", {83, 29, 161, 20}, nullptr},
    {"标签5", "QLabel", "分组框2", {33, 63, 46, 15}, "发音人："},
    {"组合框_发音人", "QComboBox", "分组框2", {83, 60, 161, 20}, nullptr},
    {"分组框3", "QGroupBox", "主窗口", {392, 114, 264, 99}, "②声音特征设置"},
    {"标签3", "QLabel", "分组框3", {8, 32, 34, 13}, "语速："},
    {"组合框_语速", "QComboBox", "分组框3", {43, 29, 86, 20}, nullptr},
    {"标签4", "QLabel", "分组框3", {135, 32, 34, 13}, "音量："},
    {"组合框_音量", "QComboBox", "分组框3", {170, 29, 86, 20}, nullptr},
    {"标签8", "QLabel", "分组框3", {8, 66, 40, 13}, "背景音："},
    {"组合框_背景音", "QComboBox", "分组框3", {55, 63, 49, 20}, nullptr},
    {"标签12", "QLabel", "分组框3", {111, 66, 56, 13}, "数字发音："},
    {"组合框_数字发音", "QComboBox", "分组框3", {170, 63, 86, 20}, nullptr},
    {"分组框1", "QGroupBox", "主窗口", {392, 224, 264, 128}, "③高级设置"},
    {"标签7", "QLabel", "分组框1", {8, 28, 56, 13}, "文本编码："},
    {"组合框_文本编码", "QComboBox", "分组框1", {67, 25, 61, 20}, nullptr},
    {"标签6", "QLabel", "分组框1", {135, 28, 53, 13}, "文本类型："},
    {"组合框_文本类型", "QComboBox", "分组框1", {194, 25, 61, 20}, nullptr},
    {"标签10", "QLabel", "分组框1", {8, 62, 56, 13}, "音频格式："},
    {"组合框_音频格式", "QComboBox", "分组框1", {67, 59, 187, 20}, nullptr},
    {"标签9", "QLabel", "分组框1", {8, 96, 56, 13}, "音频编码："},
    {"组合框_音频编码", "QComboBox", "分组框1", {67, 93, 61, 20}, nullptr},
    {"标签2", "QLabel", "分组框1", {135, 96, 56, 13}, "压缩等级："},
    {"组合框_压缩等级", "QComboBox", "分组框1", {194, 93, 61, 20}, nullptr},
    {"按钮_开始合成", "QPushButton", "主窗口", {474, 367, 98, 56}, "开始合成"},
    {"按钮_恢复默认", "QPushButton", "主窗口", {400, 391, 64, 32}, "默认值"},
    {"按钮_保存语音", "QPushButton", "主窗口", {583, 391, 64, 32}, "保存语音"},
};

QString caption(const QWidget* widget)
{
    if (auto* box = qobject_cast<const QGroupBox*>(widget))
        return box->title();
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<const QPushButton*>(widget))
        return button->text();
    if (auto* edit = qobject_cast<const QPlainTextEdit*>(widget))
        return edit->toPlainText();
    return {};
}

QString repeat(const QString& piece, int count)
{
    return piece.repeated(count);
}

} // namespace

class MainWindowTest : public AppTest {
protected:
    void SetUp() override { app = start(); }

    QPlainTextEdit* box() const { return app->window.textBox(); }
    QString countLabel() const { return app->control<QLabel>("标签_字符")->text(); }

    std::unique_ptr<RunningProgram> app;
};

TEST_F(MainWindowTest, EveryControlHasItsNameKindParentPlaceAndCaption)
{
    EXPECT_EQ(app->window.size(), QSize(671, 482));
    EXPECT_EQ(app->window.windowTitle(), QStringLiteral("朗雀语音合成工具V2.1"));
    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.name);
        QWidget* widget = app->control(row.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_STREQ(widget->metaObject()->className(), row.kind);
        EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromUtf8(row.parent));
        EXPECT_EQ(widget->geometry(), row.geometry);
        if (row.caption != nullptr) {
            EXPECT_EQ(caption(widget), QString::fromUtf8(row.caption));
        }
    }
}

TEST_F(MainWindowTest, StatusBarHasFourPanesAlongTheBottom)
{
    auto* bar = app->control<StatusBar>("状态条1");
    ASSERT_NE(bar, nullptr);
    app->window.show();
    QApplication::processEvents();
    EXPECT_EQ(bar->geometry().bottom(), app->window.height() - 1);
    EXPECT_EQ(bar->width(), app->window.width());
    EXPECT_EQ(bar->pane(0)->width(), 70);
    EXPECT_EQ(bar->pane(1)->width(), 200);
    EXPECT_EQ(bar->pane(2)->width(), 70);
    EXPECT_EQ(bar->pane(3)->width(), bar->width() - 340);
    EXPECT_EQ(bar->pane(0)->text(), QStringLiteral("当前状态："));
    EXPECT_EQ(bar->pane(2)->text(), QStringLiteral("软件官网："));
    EXPECT_TRUE(bar->pane(3)->text().startsWith(QStringLiteral("http://")));

    app->window.SetStatusText(gbk("已成功连接服务器"));
    EXPECT_EQ(bar->pane(1)->text(), QStringLiteral("已成功连接服务器"));
}

TEST_F(MainWindowTest, StatusBarPressOpensFeedbackOnTheLeftAndTheSiteOnTheRight)
{
    int feedbackOpened = 0;
    app->window.setFeedbackOpener([&] { ++feedbackOpened; });
    auto* bar = app->control<StatusBar>("状态条1");
    app->window.show();

    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(100, 10));
    EXPECT_EQ(feedbackOpened, 1);
    EXPECT_EQ(app->state.ProductNumber, 10);
    EXPECT_TRUE(app->browser.opened.empty());

    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(269, 10));
    EXPECT_EQ(feedbackOpened, 2);

    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(300, 10));
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 2, 10));
    ASSERT_EQ(app->browser.opened.size(), 2u);
    EXPECT_EQ(app->browser.opened[0], bar->pane(3)->text().toStdString());
    EXPECT_EQ(feedbackOpened, 2);

    QTest::mouseClick(bar, Qt::RightButton, {}, QPoint(100, 10));
    EXPECT_EQ(feedbackOpened, 2);
}

TEST_F(MainWindowTest, CountsGbkBytesWithLineBreaksAsTwo)
{
    EXPECT_EQ(countLabel(), QStringLiteral("字符数：24/2048"));
    box()->setPlainText(QStringLiteral("ab\n中"));
    EXPECT_EQ(countLabel(), QStringLiteral("字符数：6/2048"));
    app->window.ClearText();
    EXPECT_EQ(countLabel(), QStringLiteral("字符数：0/2048"));
    EXPECT_TRUE(box()->toPlainText().isEmpty());
}

TEST_F(MainWindowTest, TypingIntoAFullBoxKeepsTheLimitAndTheCaret)
{
    box()->setPlainText(repeat(QStringLiteral("中"), 1000) + repeat(QStringLiteral("a"), 48));
    ASSERT_EQ(countLabel(), QStringLiteral("字符数：2048/2048"));
    const QString full = box()->toPlainText();
    box()->setFocus();

    // At the end: the typed character goes away again at once.
    box()->moveCursor(QTextCursor::End);
    QTest::keyClicks(box(), QStringLiteral("x"));
    EXPECT_EQ(box()->toPlainText(), full);
    EXPECT_EQ(countLabel(), QStringLiteral("字符数：2048/2048"));

    // In the middle: the text's last bytes make room, and the caret stays after the typed character.
    QTextCursor cursor = box()->textCursor();
    cursor.setPosition(10);
    box()->setTextCursor(cursor);
    QTest::keyClicks(box(), QStringLiteral("yz"));
    EXPECT_EQ(box()->toPlainText(), full.left(10) + QStringLiteral("yz") + full.mid(10, full.size() - 12));
    EXPECT_EQ(box()->textCursor().position(), 12);
    EXPECT_EQ(countLabel(), QStringLiteral("字符数：2048/2048"));

    // A Chinese character typed into a box that ends in one: the last character, two bytes, is dropped whole.
    box()->setPlainText(repeat(QStringLiteral("中"), 1024));
    cursor = box()->textCursor();
    cursor.setPosition(0);
    box()->setTextCursor(cursor);
    QTest::keyClicks(box(), QStringLiteral("a"));
    EXPECT_EQ(box()->toPlainText(), QStringLiteral("a") + repeat(QStringLiteral("中"), 1023));
    EXPECT_EQ(countLabel(), QStringLiteral("字符数：2047/2048"));
}

TEST_F(MainWindowTest, PastingCutsToTheLimitAndAnImageEmptiesTheBox)
{
    QApplication::clipboard()->setText(repeat(QStringLiteral("中"), 1025));
    app->window.PasteText();
    EXPECT_EQ(box()->toPlainText(), repeat(QStringLiteral("中"), 1024));
    EXPECT_EQ(countLabel(), QStringLiteral("字符数：2048/2048"));

    // An odd limit cut inside a character drops the orphaned lead byte.
    QApplication::clipboard()->setText(QStringLiteral("a") + repeat(QStringLiteral("文"), 1024));
    app->window.PasteText();
    EXPECT_EQ(box()->toPlainText(), QStringLiteral("a") + repeat(QStringLiteral("文"), 1023));
    EXPECT_EQ(countLabel(), QStringLiteral("字符数：2047/2048"));

    // Characters GBK lacks count as the one byte of their "?" stand-in.
    QApplication::clipboard()->setText(QStringLiteral("😀é"));
    app->window.PasteText();
    EXPECT_EQ(countLabel(), QStringLiteral("字符数：3/2048"));

    auto* image = new QMimeData;
    image->setImageData(QImage(4, 4, QImage::Format_RGB32));
    QApplication::clipboard()->setMimeData(image);
    app->window.PasteText();
    EXPECT_TRUE(box()->toPlainText().isEmpty());
}

TEST_F(MainWindowTest, ImportReadsTheFileAsGbkAndCutsIt)
{
    const auto file = runDir.file("long.txt");
    TempDir::write(file, std::string(3000, 'k'));
    app->dialogs.fileAnswers.push_back(file);
    app->window.ImportTextFile();
    ASSERT_EQ(app->dialogs.fileRequests.size(), 1u);
    EXPECT_FALSE(app->dialogs.fileRequests[0].save);
    EXPECT_EQ(utf8(app->dialogs.fileRequests[0].filter), "文本文档(*.txt)|*.txt");
    EXPECT_EQ(box()->toPlainText(), QString(2048, u'k'));

    // GBK bytes, CR LF line breaks, and the text ends at the first NUL.
    TempDir::write(file, gbk("第一行\r\n第二行") + std::string("\0tail", 5));
    app->dialogs.fileAnswers.push_back(file);
    app->window.ImportTextFile();
    EXPECT_EQ(box()->toPlainText(), QStringLiteral("第一行\n第二行"));
    EXPECT_EQ(countLabel(), QStringLiteral("字符数：14/2048"));
    EXPECT_EQ(app->window.synthesisText(), gbk("第一行\r\n第二行"));
}

TEST_F(MainWindowTest, ImportCancelledOrFailedLeavesTheText)
{
    box()->setPlainText(QStringLiteral("保留"));
    app->window.ImportTextFile(); // cancelled
    EXPECT_EQ(box()->toPlainText(), QStringLiteral("保留"));
    EXPECT_TRUE(app->dialogs.messages.empty());

    const auto missing = runDir.file("none") / "x.txt";
    app->dialogs.fileAnswers.push_back(missing);
    app->window.ImportTextFile();
    EXPECT_EQ(box()->toPlainText(), QStringLiteral("保留"));
    ASSERT_EQ(app->dialogs.messages.size(), 1u);
    EXPECT_NE(app->dialogs.messages[0].text.find(missing.string()), std::string::npos);

    // A directory opens but cannot be read.
    app->dialogs.fileAnswers.push_back(runDir.path());
    app->window.ImportTextFile();
    EXPECT_EQ(box()->toPlainText(), QStringLiteral("保留"));
    EXPECT_EQ(app->dialogs.messages.size(), 2u);
}
