#include "app/StatusBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

StatusBar::StatusBar(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (size_t i = 0; i < panes_.size(); ++i) {
        auto* label = new QLabel(this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setContentsMargins(2, 0, 2, 0);
        // Presses go to the bar, which decides by position.
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        if (i < kPaneWidths.size())
            label->setFixedWidth(kPaneWidths[i]);
        layout->addWidget(label, i < kPaneWidths.size() ? 0 : 1);
        panes_[i] = label;
    }
    setFixedHeight(kHeight);
}

void StatusBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        emit pressed(at.x(), at.y(), event->buttons());
    }
    QWidget::mousePressEvent(event);
}
