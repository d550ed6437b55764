#include "app/ListSelection.h"

#include "platform/TextCodec.h"

#include <QComboBox>

void selectByIndex(QComboBox* box, int index)
{
    if (index < 0 || box->count() == 0) {
        box->setCurrentIndex(-1);
        return;
    }
    box->setCurrentIndex(std::min(index, box->count() - 1));
}

void selectByText(QComboBox* box, const std::string& text)
{
    const QString prefix = toQString(text);
    for (int i = 0; i < box->count(); ++i) {
        if (box->itemText(i).startsWith(prefix, Qt::CaseInsensitive)) {
            box->setCurrentIndex(i);
            return;
        }
    }
}

std::string selectedText(const QComboBox* box)
{
    return box->currentIndex() < 0 ? std::string() : fromQString(box->currentText());
}
