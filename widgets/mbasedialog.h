#pragma once

#include <QDialog>
#include <QPoint>
#include <QString>

class MPanel;
class MTitleBar;
class QHBoxLayout;
class QLayout;
class QPushButton;
class QVBoxLayout;

// Button set of the dialog footer. Any other non-zero value shows the footer without
// buttons.
enum DialogButton {
    DB_None = 0, // footer hidden
    DB_Ok = 1, // Ok button reading "Ok"
    DB_Close = 2, // Ok button reading "Close"
    DB_OkCancel = 3,
    DB_YesNo = 4,
};

// Base of every dialog: frameless, always on top by default, made of the framework title
// bar, a centre panel the subclass fills and a footer with up to four standard buttons.
// Ok and Yes accept (exec() returns 1), Cancel and No reject (exec() returns 0).
// Created hidden; fades in over 300 ms from construction; not deleted on close unless
// setDestoryOnClose(true). Style hooks: panels "DialogPanel", buttons "BtnDefault" (Ok,
// Yes) and "BtnDialog" (Cancel, No), icon "Dialog_Icon". GUI thread only.
class MBaseDialog : public QDialog
{
    Q_OBJECT

public:
    explicit MBaseDialog(QWidget *parent = nullptr);
    ~MBaseDialog() override;

    // width / height >= 1 fix the size of all four buttons; spacing > 0 replaces the footer
    // margins and spacing. All three are ignored for DB_None.
    void setBtns(DialogButton type, int width = -1, int height = -1, int spacing = -1);
    // 0 Ok, 1 Cancel, 2 Yes, 3 No; null otherwise.
    QPushButton *getBtn(int index) const;
    QWidget *getCenterPanel() const;
    MPanel *getFooterPanel() const;
    MTitleBar *getTitleBar() const;
    // Adds to the footer's button row, left of the standard buttons.
    void addWidget(QWidget *widget);
    // Refused (logged) when the centre panel already has a layout.
    void setContentLayout(QLayout *layout);
    void setContentWidget(QWidget *widget);
    // The title bar shows the text after two spaces.
    void setTitle(const QString &title);
    void showTitle();
    void hideTitle();
    void setShowDialogTitleBar(bool show);
    void setShowIcon(bool show);
    void setMinEnable(bool enable);
    void setMaxEnable(bool enable);
    void setCloseEnable(bool enable);
    void setAlwaysOnTheTop(bool onTop);
    void setHideInTaskbar(bool hide);
    void setResizable(bool resizable);
    // Allows dragging the dialog by its body; the title bar drags regardless.
    void setCanMoveable(bool moveable);
    void setDestoryOnClose(bool destroy);
    void setFullScreen(bool full, DialogButton type);

signals:
    // For subclasses; the base never emits it.
    void onMinWnd(bool bMin);
    // 0 for Ok / Yes (and any other sender), -1 for Cancel / No.
    void onBtnClick(int result);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void btnClick();

private:
    void applyWindowFlags();

    bool m_alwaysOnTop = true;
    bool m_hideInTaskbar = false;
    MTitleBar *m_titleBar = nullptr;
    QWidget *m_centerPanel = nullptr;
    QVBoxLayout *m_mainLayout = nullptr;
    MPanel *m_footer = nullptr;
    QHBoxLayout *m_buttonRow = nullptr;
    QPushButton *m_btnOk = nullptr;
    QPushButton *m_btnCancel = nullptr;
    QPushButton *m_btnYes = nullptr;
    QPushButton *m_btnNo = nullptr;
    QPoint m_pressPoint;
    QPoint m_dragPoint;
    bool m_dragging = false;
    bool m_canMove = false;
};
