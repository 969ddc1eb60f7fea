#pragma once

#include <QLabel>

// Label that paints only the current frame of its movie, with an adjustable opacity. Its
// text and static pixmap are not painted.
class MGifLable : public QLabel
{
    Q_OBJECT

public:
    explicit MGifLable(QWidget *parent = nullptr);
    ~MGifLable() override;

    // 0.0 transparent to 1.0 opaque.
    void setOpacity(float opacity);
    float getOpacity() const { return m_opacity; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    float m_opacity = 1.0f;
};
