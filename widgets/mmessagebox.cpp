#include "mmessagebox.h"

#include "mpanel.h"
#include "mutils.h"
#include "mwidgetutils.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace {

int px(double value)
{
    return int(value * Ratio());
}

const QString &errorIcon()
{
    static const QString sheet = QStringLiteral("border-image:url(:/MsgBox/error.png);");
    return sheet;
}

const QString &infoIcon()
{
    static const QString sheet = QStringLiteral("border-image:url(:/MsgBox/info.png);");
    return sheet;
}

const QString &questionIcon()
{
    static const QString sheet = QStringLiteral("border-image:url(:/MsgBox/question.png);");
    return sheet;
}

// Builds, runs and disposes of one box; fillBox fills it.
template<typename Fill>
int runBox(QWidget *parent, Fill fillBox)
{
    auto *box = new MMessageBox(parent);
    if (parent)
        ShowInCenterEx(box, parent);
    box->setDestoryOnClose(false);
    fillBox(box);
    const int result = box->exec();
    box->deleteLater();
    return result;
}

} // namespace

MMessageBox::MMessageBox(QWidget *parent)
    : MBaseDialog(parent)
{
    setMinEnable(false);
    setMaxEnable(false);
    setShowIcon(false);
    // Tall enough for the title bar, four lines of text beside the 48 px icon and the
    // buttons; the classic 156 px clipped everything after the second line.
    setFixedSize(px(300), px(200));
    setHideInTaskbar(true);
    setAlwaysOnTheTop(true);
    setObjectName(QStringLiteral("MessageBoxPanel"));

    auto *body = new MPanel(Qt::Vertical, this);
    body->setContentsMargins(px(20), px(10), px(20), px(20));

    auto *contentRow = new MPanel(Qt::Horizontal, body);
    contentRow->setMarginAndSpaceing(px(20), px(20));
    contentRow->setContentsMargins(px(5), px(20), px(5), px(5));

    m_iconLabel = new QLabel(contentRow);
    m_iconLabel->setFixedSize(px(48), px(48));
    contentRow->addWidget(m_iconLabel, 1);

    m_messageLabel = new QLabel(contentRow);
    m_messageLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_messageLabel->setObjectName(QStringLiteral("msgBoxLable"));
    m_messageLabel->setMaximumWidth(width() - px(120));
    m_messageLabel->setMinimumHeight(px(64));
    m_messageLabel->setOpenExternalLinks(true);
    m_messageLabel->setWordWrap(true);
    contentRow->addWidget(m_messageLabel);
    // The centred icon would otherwise take half of the row and squeeze the text.
    contentRow->getLayout()->setStretchFactor(m_messageLabel, 1);

    auto *buttonRow = new MPanel(Qt::Horizontal, body);
    buttonRow->setFixedHeight(px(35));
    m_buttonBox = new QDialogButtonBox(buttonRow);
    m_buttonBox->setFixedHeight(px(25));
    buttonRow->addStretch(0);
    buttonRow->addWidget(m_buttonBox);
    buttonRow->setMarginAndSpaceing(px(1), px(20));

    body->addWidget(contentRow);
    body->addStretch(1);
    body->addWidget(buttonRow);
    setContentWidget(body);

    connect(m_buttonBox, &QDialogButtonBox::clicked, this, &MMessageBox::clickSlot);
}

MMessageBox::~MMessageBox() = default;

void MMessageBox::ShowMessageBoxError(const QString &title, const QString &text, QWidget *parent)
{
    runBox(parent, [&](MMessageBox *box) { box->ShowMessageOK(title, text, true); });
}

void MMessageBox::ShowMessageBoxInfo(const QString &title, const QString &text, QWidget *parent)
{
    runBox(parent, [&](MMessageBox *box) { box->ShowMessageOK(title, text, false); });
}

int MMessageBox::ShowMessageBoxOkCancel(const QString &title, const QString &text, QWidget *parent)
{
    return runBox(parent, [&](MMessageBox *box) { box->ShowMessageOKCancel(title, text); });
}

int MMessageBox::ShowMessageBoxQuesion(const QString &title, const QString &text, QWidget *parent)
{
    return runBox(parent, [&](MMessageBox *box) { box->ShowMessageYesNo(title, text, false); });
}

int MMessageBox::ShowMessageBoxQuesionAll(const QString &title, const QString &text,
                                          QWidget *parent)
{
    return runBox(parent, [&](MMessageBox *box) { box->ShowMessageYesNoAll(title, text); });
}

int MMessageBox::ShowMessageBoxCustomized(const QString &title, const QString &text,
                                          const QString &okText, const QString &cancelText,
                                          QWidget *parent)
{
    return runBox(parent, [&](MMessageBox *box) {
        box->ShowMessageCustomized(title, text, okText, cancelText);
    });
}

void MMessageBox::fill(const QString &iconSheet, const QString &title, const QString &text,
                       int buttons)
{
    m_iconLabel->setStyleSheet(iconSheet);
    m_messageLabel->setText(text);
    setTitle(title);
    m_messageLabel->adjustSize();
    m_buttonBox->setStandardButtons(QDialogButtonBox::StandardButtons(buttons));
    for (QAbstractButton *button : m_buttonBox->buttons()) {
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->setFixedSize(px(100), px(25));
        button->setObjectName(QStringLiteral("BtnDialog"));
    }
}

void MMessageBox::markDefault(QPushButton *button)
{
    button->setObjectName(QStringLiteral("BtnDefault"));
    button->setDefault(true);
    // The button was polished under its old name when the box created it.
    button->style()->unpolish(button);
    button->style()->polish(button);
}

void MMessageBox::ShowMessageOK(const QString &title, const QString &text, bool isError)
{
    fill(isError ? errorIcon() : infoIcon(), title, text, QDialogButtonBox::Ok);
    QPushButton *ok = m_buttonBox->button(QDialogButtonBox::Ok);
    ok->setText(tr("Ok"));
    markDefault(ok);
}

void MMessageBox::ShowMessageOKCancel(const QString &title, const QString &text)
{
    ShowMessageCustomized(title, text, tr("OK"), tr("Cancel"));
}

void MMessageBox::ShowMessageYesNo(const QString &title, const QString &text, bool okCancelTexts)
{
    fill(questionIcon(), title, text, QDialogButtonBox::Yes | QDialogButtonBox::No);
    QPushButton *yes = m_buttonBox->button(QDialogButtonBox::Yes);
    QPushButton *no = m_buttonBox->button(QDialogButtonBox::No);
    yes->setText(okCancelTexts ? tr("OK") : tr("Yes"));
    no->setText(okCancelTexts ? tr("Cancel") : tr("No"));
    markDefault(yes);
}

void MMessageBox::ShowMessageYesNoAll(const QString &title, const QString &text)
{
    fill(questionIcon(), title, text,
         QDialogButtonBox::Yes | QDialogButtonBox::YesToAll | QDialogButtonBox::No
             | QDialogButtonBox::NoToAll);
    m_buttonBox->button(QDialogButtonBox::Yes)->setText(tr("Yes"));
    m_buttonBox->button(QDialogButtonBox::YesToAll)->setText(tr("Yes to All"));
    m_buttonBox->button(QDialogButtonBox::No)->setText(tr("No"));
    m_buttonBox->button(QDialogButtonBox::NoToAll)->setText(tr("No to All"));
    // Four 100 px buttons do not fit the standard width: widen this kind of box.
    setFixedWidth(px(480));
    m_messageLabel->setMaximumWidth(width() - px(120));
}

void MMessageBox::ShowMessageCustomized(const QString &title, const QString &text,
                                        const QString &okText, const QString &cancelText)
{
    fill(infoIcon(), title, text, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton *ok = m_buttonBox->button(QDialogButtonBox::Ok);
    QPushButton *cancel = m_buttonBox->button(QDialogButtonBox::Cancel);
    ok->setText(okText);
    cancel->setText(cancelText);
    cancel->setVisible(!cancelText.isEmpty());
    markDefault(ok);
}

void MMessageBox::clickSlot(QAbstractButton *btn)
{
    int code = 0;
    switch (m_buttonBox->standardButton(btn)) {
    case QDialogButtonBox::Ok:
    case QDialogButtonBox::Yes:
        code = 1;
        break;
    case QDialogButtonBox::Cancel:
    case QDialogButtonBox::No:
        code = -1;
        break;
    case QDialogButtonBox::YesToAll:
        code = 2;
        break;
    case QDialogButtonBox::NoToAll:
        code = -2;
        break;
    default:
        break;
    }
    done(code);
}
