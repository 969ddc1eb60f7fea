#include "mbasedialog.h"

#include "mpanel.h"
#include "mtitlebar.h"
#include "mutils.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QStyleOption>
#include <QVBoxLayout>

namespace {

int px(double value)
{
    return int(value * Ratio());
}

QPushButton *makeButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    button->setFixedSize(px(100), px(25));
    button->setVisible(false);
    return button;
}

} // namespace

MBaseDialog::MBaseDialog(QWidget *parent)
    : QDialog(parent)
{
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::ClickFocus);
    setSizeGripEnabled(false);
    setAttribute(Qt::WA_MouseTracking, false);
    setModal(false);
    setWindowIcon(QApplication::windowIcon());

    m_mainLayout = new QVBoxLayout(this);
    m_mainLayout->setContentsMargins(px(1), px(1), px(1), px(1));
    m_mainLayout->setSpacing(0);

    m_titleBar = new MTitleBar(this, this);
    m_titleBar->setCanClose(true);
    m_titleBar->setCanMax(false);
    m_titleBar->setCanMin(false);
    m_titleBar->setMargin(px(1));
    m_titleBar->setIconObjectName(QStringLiteral("Dialog_Icon"));

    m_centerPanel = new QWidget(this);
    m_centerPanel->setObjectName(QStringLiteral("DialogPanel"));

    m_footer = new MPanel(Qt::Horizontal, this);
    m_footer->setObjectName(QStringLiteral("DialogPanel"));
    m_buttonRow = new QHBoxLayout;
    m_buttonRow->setContentsMargins(0, 0, 0, 0);

    m_btnOk = makeButton(tr("Ok"), QStringLiteral("BtnDefault"), m_footer);
    m_btnCancel = makeButton(tr("Cancel"), QStringLiteral("BtnDialog"), m_footer);
    m_btnYes = makeButton(tr("Yes"), QStringLiteral("BtnDefault"), m_footer);
    m_btnNo = makeButton(tr("No"), QStringLiteral("BtnDialog"), m_footer);
    for (QPushButton *button : {m_btnOk, m_btnCancel, m_btnYes, m_btnNo})
        connect(button, &QPushButton::clicked, this, &MBaseDialog::btnClick);

    QBoxLayout *footerLayout = m_footer->getLayout();
    footerLayout->addSpacing(px(10));
    footerLayout->addLayout(m_buttonRow);
    footerLayout->addStretch();
    footerLayout->addWidget(m_btnCancel);
    footerLayout->addSpacing(px(10));
    footerLayout->addWidget(m_btnNo);
    footerLayout->addSpacing(px(10));
    footerLayout->addWidget(m_btnOk);
    footerLayout->addSpacing(px(10));
    footerLayout->addWidget(m_btnYes);
    footerLayout->addSpacing(px(10));
    m_footer->setMaximumHeight(px(50));

    m_mainLayout->addWidget(m_titleBar);
    m_mainLayout->addWidget(m_centerPanel);
    m_mainLayout->addWidget(m_footer);

    auto *fade = new QPropertyAnimation(this, "windowOpacity", this);
    fade->setDuration(300);
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    fade->start(QAbstractAnimation::DeleteWhenStopped);

    applyWindowFlags();
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_titleBar->setCanMin(true);
    m_titleBar->setCanClose(true);
    m_titleBar->setCanMax(false);
    m_titleBar->setShowIcon(false);
}

MBaseDialog::~MBaseDialog() = default;

void MBaseDialog::applyWindowFlags()
{
    Qt::WindowFlags flags = Qt::Dialog | Qt::FramelessWindowHint;
    if (m_hideInTaskbar)
        flags |= Qt::Tool;
    if (m_alwaysOnTop)
        flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);
}

void MBaseDialog::setBtns(DialogButton type, int width, int height, int spacing)
{
    for (QPushButton *button : {m_btnOk, m_btnCancel, m_btnYes, m_btnNo})
        button->setVisible(false);
    m_footer->setVisible(type != DB_None);
    if (type == DB_None) {
        m_footer->setContentsMargins(0, 0, 0, 0);
        return;
    }
    m_footer->setContentsMargins(px(10), px(10), px(1), px(20));
    switch (type) {
    case DB_Ok:
        m_btnOk->setText(tr("Ok"));
        m_btnOk->setVisible(true);
        break;
    case DB_Close:
        m_btnOk->setText(tr("Close"));
        m_btnOk->setVisible(true);
        break;
    case DB_OkCancel:
        m_btnOk->setVisible(true);
        m_btnCancel->setVisible(true);
        break;
    case DB_YesNo:
        m_btnYes->setVisible(true);
        m_btnNo->setVisible(true);
        break;
    default:
        break;
    }
    for (QPushButton *button : {m_btnOk, m_btnCancel, m_btnYes, m_btnNo}) {
        if (width >= 1)
            button->setFixedWidth(width);
        if (height >= 1)
            button->setFixedHeight(height);
    }
    if (spacing > 0)
        m_footer->setMarginAndSpaceing(spacing, spacing);
}

QPushButton *MBaseDialog::getBtn(int index) const
{
    switch (index) {
    case 0:
        return m_btnOk;
    case 1:
        return m_btnCancel;
    case 2:
        return m_btnYes;
    case 3:
        return m_btnNo;
    default:
        return nullptr;
    }
}

QWidget *MBaseDialog::getCenterPanel() const
{
    return m_centerPanel;
}

MPanel *MBaseDialog::getFooterPanel() const
{
    return m_footer;
}

MTitleBar *MBaseDialog::getTitleBar() const
{
    return m_titleBar;
}

void MBaseDialog::addWidget(QWidget *widget)
{
    if (widget)
        m_buttonRow->addWidget(widget);
}

void MBaseDialog::setContentLayout(QLayout *layout)
{
    if (m_centerPanel->layout()) {
        qInfo() << "CenterPanel had a layout.";
        return;
    }
    m_centerPanel->setLayout(layout);
}

void MBaseDialog::setContentWidget(QWidget *widget)
{
    if (!m_centerPanel->layout()) {
        auto *layout = new QVBoxLayout(m_centerPanel);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }
    m_centerPanel->layout()->addWidget(widget);
}

void MBaseDialog::setTitle(const QString &title)
{
    m_titleBar->setTitle(QStringLiteral("  ") + title);
    setWindowTitle(title);
}

void MBaseDialog::showTitle()
{
    m_titleBar->setVisible(true);
}

void MBaseDialog::hideTitle()
{
    m_titleBar->setVisible(false);
}

void MBaseDialog::setShowDialogTitleBar(bool show)
{
    m_titleBar->setVisible(show);
}

void MBaseDialog::setShowIcon(bool show)
{
    m_titleBar->setShowIcon(show);
}

void MBaseDialog::setMinEnable(bool enable)
{
    m_titleBar->setCanMin(enable);
}

void MBaseDialog::setMaxEnable(bool enable)
{
    m_titleBar->setCanMax(enable);
}

void MBaseDialog::setCloseEnable(bool enable)
{
    m_titleBar->setCanClose(enable);
}

void MBaseDialog::setAlwaysOnTheTop(bool onTop)
{
    m_alwaysOnTop = onTop;
    applyWindowFlags();
}

void MBaseDialog::setHideInTaskbar(bool hide)
{
    m_hideInTaskbar = hide;
    applyWindowFlags();
}

void MBaseDialog::setResizable(bool resizable)
{
    setSizeGripEnabled(resizable);
}

void MBaseDialog::setCanMoveable(bool moveable)
{
    m_canMove = moveable;
}

void MBaseDialog::setDestoryOnClose(bool destroy)
{
    setAttribute(Qt::WA_DeleteOnClose, destroy);
}

void MBaseDialog::setFullScreen(bool full, DialogButton type)
{
    if (full) {
        m_mainLayout->setContentsMargins(0, 0, 0, 0);
        m_titleBar->setVisible(false);
        for (QPushButton *button : {m_btnOk, m_btnCancel, m_btnYes, m_btnNo})
            button->setVisible(false);
        m_footer->setVisible(false);
        m_footer->setContentsMargins(0, 0, 0, 0);
        return;
    }
    m_titleBar->setVisible(true);
    m_mainLayout->setContentsMargins(px(1), px(1), px(1), px(1));
    setBtns(type, -1, -1, -1);
}

void MBaseDialog::btnClick()
{
    QObject *source = sender();
    // No intermediate done(0) / done(-1): it would report Ok as rejected() to listeners.
    if (source == m_btnOk || source == m_btnYes) {
        emit onBtnClick(0);
        accept();
    } else if (source == m_btnCancel || source == m_btnNo) {
        emit onBtnClick(-1);
        reject();
    } else {
        close();
        emit onBtnClick(0);
    }
}

bool MBaseDialog::eventFilter(QObject *watched, QEvent *event)
{
    return QDialog::eventFilter(watched, event);
}

void MBaseDialog::mousePressEvent(QMouseEvent *event)
{
    if (m_canMove && event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_pressPoint = event->globalPos();
        m_dragPoint = m_pressPoint;
        return;
    }
    QDialog::mousePressEvent(event);
}

void MBaseDialog::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}

void MBaseDialog::mouseMoveEvent(QMouseEvent *event)
{
    if (m_canMove && m_dragging) {
        m_dragPoint = event->globalPos();
        move(pos() - m_pressPoint + m_dragPoint);
        m_pressPoint = m_dragPoint;
    }
    QDialog::mouseMoveEvent(event);
}

void MBaseDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
}

void MBaseDialog::closeEvent(QCloseEvent *event)
{
    QDialog::closeEvent(event);
}
