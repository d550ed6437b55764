#include "platform/Browser.h"

#include <QDesktopServices>
#include <QUrl>

void DesktopBrowser::openUrl(const std::string& url)
{
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}
