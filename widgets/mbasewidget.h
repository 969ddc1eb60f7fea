#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QPoint>
#include <QString>
#include <QWidget>

class QBoxLayout;
class QDragEnterEvent;
class QDragLeaveEvent;
class QDragMoveEvent;
class QDropEvent;

// Index into the per-state tables. Enter and leave switch between WS_Normal and WS_Hover;
// the other three are set by the owner and survive enter and leave.
enum WidgetState { WS_Normal = 0, WS_Hover = 1, WS_Pressed = 2, WS_Selected = 3, WS_Disabled = 4 };

struct MBorderInfo
{
    MBorderInfo() = default;
    MBorderInfo(QColor color, int width, int radius, bool unset, QColor background);

    QColor borderColor = Qt::black;
    int borderWidth = 1;
    int borderRadius = 0; // below 1: plain rectangle
    bool unset = true; // no border described for this state
    QColor backgroundColor;
};

// Frameless child widget with a small visual-state machine, per-state style sheets or
// self-painted borders, and a movable-item mode: with setCanMove(true) a drag does not move
// the widget but reports where it would go (clamped to the minimum position) through
// signalMoveStart / signalMove / signalMoveEnd. GUI thread only.
class MBaseWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int StateCount = 5;

    explicit MBaseWidget(QWidget *parent = nullptr);
    // A width or height above 0 is fixed.
    MBaseWidget(int width, int height, QWidget *parent = nullptr);
    ~MBaseWidget() override;

    void setVisible(bool visible) override;
    virtual void deleteAndHide(bool deleteLater, bool keepConnections);
    // Records the state; applies its style sheet (or the normal one when it has none), or
    // repaints when self-painting.
    virtual void setState(WidgetState state);
    // The visibility last asked for through show / setVisible (true for a fresh widget).
    virtual bool isVisible() const;
    virtual void show();

    // Creates a horizontal layout with zero margins and spacing when there is none.
    void addWidget(QWidget *widget);
    // Creates a layout of that orientation with zero margins when there is none.
    QBoxLayout *getLayout(Qt::Orientation orientation);

    void setCanMove(bool canMove);
    bool getCanMove() const { return m_canMove; }
    void setMinPos(int x, int y);
    // Stored only; reported positions are clamped to the minimum position alone.
    void setMaxPos(int x, int y);
    int calMoveX(const QPoint &cursor, int offset) const;
    int calMoveY(const QPoint &cursor, int offset) const;
    void move_x(int x);
    void move_y(int y);
    int getStartPosX() const;
    int getEndPosX() const;
    QPoint getOrgPos() const { return m_orgPos; }
    QPoint getStartPos() const { return m_startPos; }
    QPoint getCurPos() const { return m_curPos; }
    int getMoveX() const { return m_moveX; }
    int getMoveY() const { return m_moveY; }
    bool isMoving() const { return m_moving; }
    WidgetState getState() const { return m_state; }

    void setStyleSheetForState(const QString &styleSheet, WidgetState state);
    // Store the state's style sheet and border description; nothing is applied until
    // setState.
    void setBorder(int width, int radius, const QColor &color, Qt::PenStyle penStyle,
                   const QColor &background, WidgetState state);
    void setBorder(int width, int radius, const QColor &color, WidgetState state);
    void setBorderInfoForState(const MBorderInfo &info, WidgetState state);
    QString getStyleStr(int width, int radius, const QColor &color, Qt::PenStyle penStyle,
                        const QColor &background) const;
    QString getStyleStr(int width, int radius, const QColor &color) const;
    // Paint the state's border instead of applying style sheets.
    void setSelfPaint(bool selfPaint);
    bool isSelfPaint() const { return m_selfPaint; }

    // false: the QWidget handlers for press, move, release, resize and show are skipped.
    void setTransEventToParent(bool trans);
    void setTranslucentBackground(bool translucent);

    void startElpsTimer();
    // Elapsed milliseconds; 0 when the timer is not running. Invalidates the timer.
    qint64 endElpsTimer();

signals:
    void clicked();
    void onShow(int width, int height);
    void onResize(int width, int height);
    void signalMoveStart(double x, double y);
    void signalMove(double x, double y);
    void signalMoveEnd();
    void signalMouseClick(int posX, int posY);
    void onDragEnter(QDragEnterEvent *event);
    void onDragMove(QDragMoveEvent *event);
    void onDrop(QDropEvent *event);
    void onDragLeave(QDragLeaveEvent *event);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void showEvent(QShowEvent *event) override;

    bool isHovered() const { return m_hovered; }
    bool isPressed() const { return m_pressed; }

private:
    void init();
    static bool validState(int state) { return state >= 0 && state < StateCount; }

    QElapsedTimer m_elapsed;
    bool m_pressed = false;
    bool m_dragArmed = false;
    int m_minX = 0;
    int m_minY = 0;
    int m_maxX = 99999999;
    int m_maxY = 99999999;
    QPoint m_orgPos;
    QPoint m_startPos;
    QPoint m_curPos;
    bool m_shownOnce = false;
    bool m_hovered = false;
    WidgetState m_state = WS_Normal;
    bool m_moveStarted = false;
    bool m_moving = false;
    QBoxLayout *m_layout = nullptr;
    bool m_canMove = false;
    bool m_transEvent = true;
    int m_moveX = 0;
    int m_moveY = 0;
    bool m_visible = true;
    int m_paintState = -1;
    bool m_selfPaint = false;
    MBorderInfo m_borders[StateCount];
    QString m_styleSheets[StateCount];
};
