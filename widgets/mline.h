#pragma once

#include <QColor>
#include <QPen>
#include <QWidget>

// One-line separator painted with a pen through the middle of the widget.
class MLine : public QWidget
{
    Q_OBJECT

public:
    // orientation 1 (Qt::Horizontal) draws across, anything else down; dashed non-zero
    // draws a dotted line.
    explicit MLine(int width = 1, const QColor &color = QColor(225, 225, 225),
                   int orientation = Qt::Horizontal, int dashed = 0, QWidget *parent = nullptr);
    ~MLine() override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPen m_pen;
    int m_lineWidth = 1;
    QColor m_color = QColor(225, 225, 225);
    int m_orientation = Qt::Horizontal;
};
