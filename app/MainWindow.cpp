#include "app/MainWindow.h"

#include "app/CharCount.h"
#include "app/EditText.h"
#include "app/ListSelection.h"
#include "app/ProgramState.h"
#include "app/StatusBar.h"
#include "net/OutsideHosts.h"
#include "platform/Browser.h"
#include "platform/Dialogs.h"
#include "platform/TextCodec.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace {

// Imported files are cut to the text limit anyway; reading a little more than that keeps a huge or
// endless file from being read whole.
constexpr size_t kImportReadLimit = ProgramState::TextLimit * 4;

std::optional<std::string> readTextFile(const std::filesystem::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string bytes(kImportReadLimit, '\0');
    size_t used = 0;
    while (used < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0)
            break;
        used += static_cast<size_t>(got);
    }
    ::close(fd);
    bytes.resize(used);
    // The text ends at the first NUL or end-of-file mark.
    const size_t end = bytes.find_first_of(std::string("\0\x1A", 2));
    if (end != std::string::npos)
        bytes.resize(end);
    return bytes;
}

ListChoice choice(const QComboBox* box)
{
    return {box->currentIndex(), selectedText(box)};
}

} // namespace

MainWindow::MainWindow(ProgramState& state, Dialogs& dialogs, Browser& browser, QWidget* parent)
    : QWidget(parent), state_(state), dialogs_(dialogs), browser_(browser)
{
    setObjectName(QStringLiteral("主窗口"));
    buildLayout();
    UpdateCharCount();
}

MainWindow::~MainWindow() = default;

void MainWindow::SetStatusText(const std::string& text)
{
    statusBar_->pane(1)->setText(toQString(text));
}

void MainWindow::UpdateCharCount()
{
    const GbkLength length = measureGbk(textBox_->toPlainText(), ProgramState::TextLimit);
    if (length.cutAt >= 0) {
        // Remove the tail through a cursor so the caret and scroll position stay where the user was typing.
        // The change runs this handler again, which then finds the text within the limit.
        QTextCursor tail(textBox_->document());
        tail.setPosition(static_cast<int>(length.cutAt));
        tail.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        tail.removeSelectedText();
        return;
    }
    charLabel_->setText(QStringLiteral("字符数：%1/%2").arg(length.bytes).arg(ProgramState::TextLimit));
}

void MainWindow::ClearText()
{
    textBox_->setPlainText(QString());
}

void MainWindow::PasteText()
{
    textBox_->setPlainText(QApplication::clipboard()->text());
}

void MainWindow::ImportTextFile()
{
    FileDialogRequest request;
    request.filter = gbk("文本文档(*.txt)|*.txt");
    const std::optional<std::filesystem::path> chosen = dialogs_.chooseFile(request);
    if (!chosen)
        return;
    const std::optional<std::string> text = readTextFile(*chosen);
    if (!text) {
        dialogs_.showMessage(gbk("无法读取文件：") + gbk(chosen->string()));
        return;
    }
    setEditBoxText(textBox_, *text);
}

void MainWindow::OnStatusBarPressed(int x, int /*y*/, Qt::MouseButtons /*buttons*/)
{
    const int sitePanesStart = StatusBar::kPaneWidths[0] + StatusBar::kPaneWidths[1];
    if (x < sitePanesStart) {
        state_.ProductNumber = 10;
        if (openFeedback_)
            openFeedback_();
        return;
    }
    browser_.openUrl(homePageAddress(OutsideHosts::current().makerSite));
}

std::string MainWindow::synthesisText() const
{
    return editBoxText(textBox_);
}

void MainWindow::focusSynthesisText()
{
    textBox_->setFocus(Qt::OtherFocusReason);
}

SynthesisSettings MainWindow::currentSettings() const
{
    SynthesisSettings settings;
    settings.engineType = choice(lists_.engineType);
    settings.voiceIndex = choice(lists_.voice);
    settings.speed = choice(lists_.speed);
    settings.volume = choice(lists_.volume);
    settings.textType = choice(lists_.textType);
    settings.textEncoding = choice(lists_.textEncoding);
    settings.numberReading = choice(lists_.numberReading);
    settings.backgroundSound = choice(lists_.backgroundSound);
    settings.audioEncoding = choice(lists_.audioEncoding);
    settings.compressionLevel = choice(lists_.compressionLevel);
    settings.audioFormat = choice(lists_.audioFormat);
    return settings;
}

const std::vector<VoiceEntry>& MainWindow::voiceList() const
{
    return state_.voiceList;
}

void MainWindow::setSynthesisBusy(bool busy)
{
    startButton_->setEnabled(!busy);
    startButton_->setText(busy ? QStringLiteral("正在合成") : QStringLiteral("开始合成"));
}

void MainWindow::processPendingEvents()
{
    QApplication::processEvents();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The close query runs once, whatever asks the window to close.
    if (!closed_) {
        closed_ = true;
        if (closeQuery_)
            closeQuery_();
    }
    event->accept();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The fixed size is the outer size: where a window manager adds a frame, the client area gives way.
    const QSize frame = frameGeometry().size() - geometry().size();
    if (frame.width() > 0 || frame.height() > 0) {
        setFixedSize(kOuterWidth - frame.width(), kOuterHeight - frame.height());
        statusBar_->setGeometry(0, height() - StatusBar::kHeight, width(), StatusBar::kHeight);
    }
}
