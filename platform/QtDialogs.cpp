#include "platform/QtDialogs.h"

#include "platform/TextCodec.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

QString captionOrDefault(const std::string& caption)
{
    return caption.empty() ? QStringLiteral("信息：") : toQString(caption);
}

// "desc|*.ext" to Qt's "desc (*.ext)"; a description that already names its pattern stays as it is.
QString qtFilter(const std::string& filter)
{
    const QString text = toQString(filter);
    const qsizetype bar = text.indexOf(u'|');
    if (bar < 0)
        return text;
    const QString description = text.left(bar);
    const QString pattern = text.mid(bar + 1);
    if (description.contains(u'(' + pattern + u')'))
        return description;
    return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

} // namespace

void QtDialogs::showMessage(const std::string& text, const std::string& caption)
{
    QMessageBox box(QMessageBox::Information, captionOrDefault(caption), toQString(text), QMessageBox::Ok, parent_);
    box.exec();
}

bool QtDialogs::askQuestion(const std::string& text, const std::string& caption)
{
    QMessageBox box(QMessageBox::Question, captionOrDefault(caption), toQString(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::filesystem::path> QtDialogs::chooseFile(const FileDialogRequest& request)
{
    if (!request.directory.empty())
        lastDirectory_ = request.directory;
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(qtFilter(request.filter));
    if (!lastDirectory_.empty())
        dialog.setDirectory(QString::fromStdString(lastDirectory_.string()));
    if (!request.fileName.empty())
        dialog.selectFile(toQString(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const std::filesystem::path chosen(dialog.selectedFiles().front().toStdString());
    lastDirectory_ = chosen.parent_path();
    return chosen;
}
