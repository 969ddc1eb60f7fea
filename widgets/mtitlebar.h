#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

class MPanel;
class QLabel;
class QPushButton;
class SystemMenuControl;

// The framework's own title bar: icon, title, optional centred title, two free panels and
// minimise / maximise / restore / close buttons. It moves its main window by dragging,
// maximises by double click and replaces the native maximise with filling the primary
// screen's available area. Look comes from the style sheet through the object names
// "MTitleBar", "MainTitleBar_Icon", "MainTitleBar_Title", "MainTitleBar_Min",
// "MainTitleBar_Max", "MainTitleBar_Restore" and "MainTitleBar_Close". GUI thread only.
class MTitleBar : public QWidget
{
    Q_OBJECT

public:
    // A bar without a main window logs, has no children and ignores every operation.
    MTitleBar(QWidget *mainWindow, QWidget *parent);
    ~MTitleBar() override;

    // True when the window is natively maximised or maximised by the bar.
    bool IsMax() const;

    // The labels show only texts longer than 2 characters.
    void setTitle(const QString &title);
    void setCenterTitle(const QString &title);
    void setIcon(const QString &file);
    void setIconObjectName(const QString &name);
    void setShowIcon(bool show);
    // Each enables and shows, or disables and hides, its button.
    void setCanMin(bool can);
    void setCanMax(bool can);
    void setCanClose(bool can);
    // Null is ignored; the widget's height is fixed at the bar's height - 4.
    void addWidget(QWidget *w, bool left);
    void addStrecth(bool left);
    void setPanelSpace(int margin, int spacing, bool left);
    void setPanelWidth(int width, bool left);
    void setMargin(int margin);
    void setMarginWidth(const int &width);
    void setResizable(bool resizable);
    // Centres a long centre title and fixes the bar's width to the window's.
    void refreshUI();

    bool canMax() const { return m_canMax; }
    // Geometry the window returns to on restore (last one before maximising or after a drag).
    QRect getSavedGeometry() const { return m_normalGeometry; }
    QWidget *getMainWindow() const { return m_mainWindow; }
    QLabel *getIconLabel() const { return m_iconLabel; }
    QLabel *getTitleLabel() const { return m_titleLabel; }
    QLabel *getCenterTitleLabel() const { return m_centerTitleLabel; }
    QPushButton *getMinButton() const { return m_minButton; }
    QPushButton *getMaxButton() const { return m_maxButton; }
    QPushButton *getRestoreButton() const { return m_restoreButton; }
    QPushButton *getCloseButton() const { return m_closeButton; }
    MPanel *getLeftPanel() const { return m_leftPanel; }
    MPanel *getRightPanel() const { return m_rightPanel; }
    SystemMenuControl *getSystemMenuControl() const { return m_systemMenu; }

public slots:
    void ShowMaximized();
    void ShowNormal();
    void ShowMinimized();
    void CloseWindow();

signals:
    // Only for a bar without a main window: the drag delta.
    void windowMove(const QPoint &point);
    void windowClose();
    void signalMax();
    void signalMin();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    bool built() const { return m_closeButton != nullptr; }
    MPanel *panel(bool left) const { return left ? m_leftPanel : m_rightPanel; }

    int m_margin = 1;
    SystemMenuControl *m_systemMenu = nullptr;
    bool m_dragging = false;
    QPoint m_dragPoint;
    QPoint m_pressPoint;
    QRect m_normalGeometry;
    bool m_canMax = true;
    QLabel *m_iconLabel = nullptr;
    QLabel *m_titleLabel = nullptr;
    QLabel *m_centerTitleLabel = nullptr;
    QPushButton *m_minButton = nullptr;
    QPushButton *m_maxButton = nullptr;
    QPushButton *m_restoreButton = nullptr;
    QPushButton *m_closeButton = nullptr;
    QWidget *m_mainWindow = nullptr;
    MPanel *m_leftPanel = nullptr;
    MPanel *m_rightPanel = nullptr;
    int m_marginWidth = 2;
    bool m_resizable = false;
    bool m_maximized = false;
};
