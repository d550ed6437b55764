#include "app/MainWindow.h"

#include "app/StatusBar.h"
#include "net/OutsideHosts.h"

#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

// The window's controls with their names, places and captions. Positions are relative to the parent
// group box where there is one, else to the window.
namespace {

template <typename Widget>
Widget* place(Widget* widget, const char* name, int left, int top, int width, int height)
{
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QGroupBox* groupBox(QWidget* parent, const char* name, const char* caption, int l, int t, int w, int h)
{
    return place(new QGroupBox(QString::fromUtf8(caption), parent), name, l, t, w, h);
}

QLabel* label(QWidget* parent, const char* name, const char* caption, int l, int t, int w, int h)
{
    return place(new QLabel(QString::fromUtf8(caption), parent), name, l, t, w, h);
}

QPushButton* button(QWidget* parent, const char* name, const char* caption, int l, int t, int w, int h)
{
    return place(new QPushButton(QString::fromUtf8(caption), parent), name, l, t, w, h);
}

QComboBox* list(QWidget* parent, const char* name, int l, int t, int w, int h)
{
    auto* box = place(new QComboBox(parent), name, l, t, w, h);
    box->setMaxVisibleItems(24);
    return box;
}

} // namespace

void MainWindow::buildLayout()
{
    setWindowTitle(QStringLiteral("朗雀语音合成工具"));
    move(50, 50);
    setFixedSize(kOuterWidth, kOuterHeight);
    // The layout's small controls were drawn for a 12-pixel font.
    QFont small = font();
    small.setPixelSize(12);
    setFont(small);
    // Narrow lists such as 文本编码 still show their whole item with a slimmer arrow.
    setStyleSheet(QStringLiteral("QComboBox { padding: 0px 0px 0px 3px; } QComboBox::drop-down { width: 13px; }"));

    QGroupBox* input = groupBox(this, "分组框4", "输入文本", 8, 5, 376, 419);
    textBox_ = place(new QPlainTextEdit(input), "编辑框_合成文本", 12, 21, 352, 360);
    textBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textBox_->setPlainText(QStringLiteral("请在这里输入要合成的文本"));
    charLabel_ = label(input, "标签_字符", "字符数：", 10, 389, 130, 24);
    QPushButton* clear = button(input, "按钮4", "清空", 142, 389, 40, 25);
    QPushButton* paste = button(input, "按钮3", "粘贴", 184, 389, 40, 25);
    QPushButton* import = button(input, "按钮1", "导入TXT文本", 226, 389, 81, 25);
    stopButton_ = button(input, "按钮2", "停止播放", 311, 389, 56, 25);

    QGroupBox* voice = groupBox(this, "分组框2", "①发音人选择", 392, 5, 264, 99);
    label(voice, "标签1", "引擎类型：", 21, 32, 56, 15);
    lists_.engineType = list(voice, "组合框_引擎类型", 83, 29, 161, 20);
    label(voice, "标签5", "发音人：", 33, 63, 46, 15);
    lists_.voice = list(voice, "组合框_发音人", 83, 60, 161, 20);

    QGroupBox* character = groupBox(this, "分组框3", "②声音特征设置", 392, 114, 264, 99);
    label(character, "标签3", "语速：", 8, 32, 34, 13);
    lists_.speed = list(character, "组合框_语速", 43, 29, 86, 20);
    label(character, "标签4", "音量：", 135, 32, 34, 13);
    lists_.volume = list(character, "组合框_音量", 170, 29, 86, 20);
    label(character, "标签8", "背景音：", 8, 66, 40, 13);
    lists_.backgroundSound = list(character, "组合框_背景音", 55, 63, 49, 20);
    lists_.backgroundSound->addItem(QStringLiteral("无"));
    label(character, "标签12", "数字发音：", 111, 66, 56, 13);
    lists_.numberReading = list(character, "组合框_数字发音", 170, 63, 86, 20);

    QGroupBox* advanced = groupBox(this, "分组框1", "③高级设置", 392, 224, 264, 128);
    label(advanced, "标签7", "文本编码：", 8, 28, 56, 13);
    lists_.textEncoding = list(advanced, "组合框_文本编码", 67, 25, 61, 20);
    label(advanced, "标签6", "文本类型：", 135, 28, 53, 13);
    lists_.textType = list(advanced, "组合框_文本类型", 194, 25, 61, 20);
    label(advanced, "标签10", "音频格式：", 8, 62, 56, 13);
    lists_.audioFormat = list(advanced, "组合框_音频格式", 67, 59, 187, 20);
    label(advanced, "标签9", "音频编码：", 8, 96, 56, 13);
    lists_.audioEncoding = list(advanced, "组合框_音频编码", 67, 93, 61, 20);
    label(advanced, "标签2", "压缩等级：", 135, 96, 56, 13);
    lists_.compressionLevel = list(advanced, "组合框_压缩等级", 194, 93, 61, 20);

    startButton_ = button(this, "按钮_开始合成", "开始合成", 474, 367, 98, 56);
    defaultsButton_ = button(this, "按钮_恢复默认", "默认值", 400, 391, 64, 32);
    saveButton_ = button(this, "按钮_保存语音", "保存语音", 583, 391, 64, 32);

    statusBar_ = new StatusBar(this);
    statusBar_->setObjectName(QStringLiteral("状态条1"));
    statusBar_->setGeometry(0, kOuterHeight - StatusBar::kHeight, kOuterWidth, StatusBar::kHeight);
    statusBar_->pane(0)->setText(QStringLiteral("当前状态："));
    statusBar_->pane(2)->setText(QStringLiteral("软件官网："));
    statusBar_->pane(3)->setText(QString::fromStdString(homePageAddress(OutsideHosts::current().makerSite)));

    connect(textBox_, &QPlainTextEdit::textChanged, this, &MainWindow::UpdateCharCount);
    connect(clear, &QPushButton::clicked, this, &MainWindow::ClearText);
    connect(paste, &QPushButton::clicked, this, &MainWindow::PasteText);
    connect(import, &QPushButton::clicked, this, &MainWindow::ImportTextFile);
    connect(statusBar_, &StatusBar::pressed, this, &MainWindow::OnStatusBarPressed);
}
