#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QMovie;
class QProcess;

// Borderless, always-on-top please-wait box: a message, optionally beside an animation.
class MLoadingDlg : public QDialog
{
    Q_OBJECT

public:
    // textOnly false adds the animation ":/Skin/loading_inner.gif" (left out when that
    // resource cannot be read).
    MLoadingDlg(const QString &text, bool textOnly, QWidget *parent = nullptr);
    ~MLoadingDlg() override;

    // Parentless and owned by the caller until hideLoading; the caller shows it.
    static MLoadingDlg *createDlg(const QString &text, bool textOnly);
    // Hides the dialog and schedules its deletion; null is ignored.
    static void hideLoading(MLoadingDlg *dlg);
    // Starts this program again with "--splash-inner" and text in process, which must outlive
    // the child or be destroyed (ending it). The child is killed after 20 s at the latest; the
    // caller ends it earlier by killing process.
    static void createLoading(const QString &text, QProcess &process);

    // Set before showing: each show then emits signalBeginEvent 100 ms later, when the box
    // has been painted, so the owner can start its slow work from that signal.
    void setBeginEvent(bool beginEvent) { m_beginEvent = beginEvent; }
    bool getBeginEvent() const { return m_beginEvent; }
    bool isClosed() const { return m_closed; }

signals:
    void signalBeginEvent();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    bool m_beginEvent = false;
    bool m_closed = false;
    QMovie *m_movie = nullptr;
    QLabel *m_label = nullptr;
};
