#pragma once

#include "mbasedialog.h"

class QAbstractButton;
class QDialogButtonBox;
class QLabel;
class QPushButton;

// The program's modal message box. The static operations build a box, run it with exec()
// and delete it later, returning: 1 Ok / Yes, -1 Cancel / No, 2 Yes to All, -2 No to All,
// 0 any other button or a close without a button (title bar, Escape).
// Style hooks: the box "MessageBoxPanel", the text "msgBoxLable", buttons "BtnDialog" with
// the default choice renamed "BtnDefault". GUI thread only.
class MMessageBox : public MBaseDialog
{
    Q_OBJECT

public:
    explicit MMessageBox(QWidget *parent = nullptr);
    ~MMessageBox() override;

    static void ShowMessageBoxError(const QString &title, const QString &text, QWidget *parent);
    static void ShowMessageBoxInfo(const QString &title, const QString &text, QWidget *parent);
    static int ShowMessageBoxOkCancel(const QString &title, const QString &text, QWidget *parent);
    static int ShowMessageBoxQuesion(const QString &title, const QString &text, QWidget *parent);
    static int ShowMessageBoxQuesionAll(const QString &title, const QString &text, QWidget *parent);
    // An empty cancelText shows the Ok button only.
    static int ShowMessageBoxCustomized(const QString &title, const QString &text,
                                        const QString &okText, const QString &cancelText,
                                        QWidget *parent);

    void ShowMessageOK(const QString &title, const QString &text, bool isError);
    void ShowMessageOKCancel(const QString &title, const QString &text);
    // okCancelTexts: the buttons read "OK" / "Cancel" instead of "Yes" / "No".
    void ShowMessageYesNo(const QString &title, const QString &text, bool okCancelTexts);
    void ShowMessageYesNoAll(const QString &title, const QString &text);
    void ShowMessageCustomized(const QString &title, const QString &text, const QString &okText,
                               const QString &cancelText);

    QLabel *getIconLabel() const { return m_iconLabel; }
    QLabel *getMessageLabel() const { return m_messageLabel; }
    QDialogButtonBox *getButtonBox() const { return m_buttonBox; }

private slots:
    void clickSlot(QAbstractButton *btn);

private:
    static void markDefault(QPushButton *button);
    void fill(const QString &iconSheet, const QString &title, const QString &text, int buttons);

    QLabel *m_iconLabel = nullptr;
    QLabel *m_messageLabel = nullptr;
    QDialogButtonBox *m_buttonBox = nullptr;
};
