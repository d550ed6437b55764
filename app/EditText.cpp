#include "app/EditText.h"

#include "platform/TextCodec.h"

#include <QPlainTextEdit>

std::string editBoxText(const QPlainTextEdit* box)
{
    QString text = box->toPlainText();
    text.replace(u'\n', QStringLiteral("\r\n"));
    return fromQString(text);
}

void setEditBoxText(QPlainTextEdit* box, const std::string& gbkText)
{
    QString text = toQString(gbkText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    box->setPlainText(text);
}
