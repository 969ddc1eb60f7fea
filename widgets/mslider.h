#pragma once

#include <QMutex>
#include <QSlider>
#include <QString>

// QSlider that jumps to the clicked point instead of paging, reports the end of a user
// change with valueChanFinished, and can paint a background image under the groove.
class MSlider : public QSlider
{
    Q_OBJECT

public:
    explicit MSlider(QWidget *parent = nullptr);
    MSlider(Qt::Orientation orientation, QWidget *parent = nullptr);
    ~MSlider() override;

    // Emits onGetBackgroundImage with the new path and repaints.
    void setBackgroundImage(const QString &image);
    Q_INVOKABLE QString getBackgroundImage() const;
    void setRedrawFlag(bool redraw);
    bool getRedrawFlag() const { return m_redraw; }
    // Without notify, the value changes with the slider's signals blocked.
    void setValueEx(int value, bool notify);

signals:
    void onGetBackgroundImage(QString backgrounImage);
    // After a mouse release or the release of the left or right arrow key.
    void valueChanFinished(int value);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int valueAt(const QPoint &pos, const QRect &handle) const;

    bool m_redraw = false;
    QString m_backgroundImage;
    QMutex m_paintMutex;
};
