#pragma once

#include <QWidget>

#include <array>

class QLabel;

// The bar along the bottom of the main window: four panes of fixed widths (the last takes the rest)
// and a left-button press reported with its position.
class StatusBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 22;
    static constexpr std::array<int, 3> kPaneWidths{70, 200, 70};

    explicit StatusBar(QWidget* parent = nullptr);

    QLabel* pane(int index) const { return panes_.at(static_cast<size_t>(index)); }

signals:
    void pressed(int x, int y, Qt::MouseButtons buttons);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::array<QLabel*, 4> panes_{};
};
