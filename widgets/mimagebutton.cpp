#include "mimagebutton.h"

#include "mutils.h"

#include <QBoxLayout>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QPixmap>

MImageButton::MImageButton(BtnStyle style, int hSpace, int vSpace, QWidget *parent)
    : MBaseWidget(parent)
    , m_style(style)
{
    build(hSpace, vSpace);
}

MImageButton::MImageButton(BtnStyle style, QWidget *parent)
    : MBaseWidget(parent)
    , m_style(style)
{
    build(static_cast<int>(5 * Ratio()), static_cast<int>(5 * Ratio()));
}

MImageButton::~MImageButton() = default;

void MImageButton::build(int hSpace, int vSpace)
{
    const int side = static_cast<int>(32 * Ratio());
    m_imageSize = QSize(side, side);
    m_imageLabel = new QLabel(this);
    m_titleLabel = new QLabel(this);
    m_imageLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_titleLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    applyImageSize();

    switch (m_style) {
    case BS_ImageText: {
        QBoxLayout *box = getLayout(Qt::Horizontal);
        box->setSpacing(0);
        box->addStretch();
        box->addWidget(m_imageLabel, 0, Qt::AlignCenter);
        box->addSpacing(hSpace);
        box->addWidget(m_titleLabel);
        box->addStretch();
        m_titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        break;
    }
    case BS_ImageAbove: {
        QBoxLayout *box = getLayout(Qt::Vertical);
        box->setSpacing(0);
        box->addStretch();
        box->addWidget(m_imageLabel, 0, Qt::AlignCenter);
        box->addSpacing(vSpace);
        box->addWidget(m_titleLabel);
        box->addStretch();
        m_titleLabel->setAlignment(Qt::AlignCenter);
        break;
    }
    case BS_TextImage: {
        QBoxLayout *box = getLayout(Qt::Horizontal);
        box->setSpacing(0);
        box->addStretch();
        box->addWidget(m_titleLabel);
        box->addSpacing(hSpace);
        box->addWidget(m_imageLabel, 0, Qt::AlignCenter);
        box->addSpacing(hSpace);
        box->addStretch();
        m_titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        break;
    }
    case BS_TextOnly: {
        QBoxLayout *box = getLayout(Qt::Horizontal);
        box->setSpacing(0);
        box->addStretch();
        box->addWidget(m_titleLabel);
        box->addStretch();
        m_titleLabel->setAlignment(Qt::AlignCenter);
        m_imageLabel->hide();
        break;
    }
    default:
        // The border image covers the whole button; labels would only paint over it.
        m_imageLabel->hide();
        m_titleLabel->hide();
        break;
    }

    setStyleSheet(QStringLiteral(
        "MImageButton>QLabel{ background-repeat:no-repeat; background-position:center center;}"));
    applyLook(LookNormal);
}

void MImageButton::setTitle(const QString &title)
{
    m_titleLabel->setText(title);
}

QString MImageButton::getTitle() const
{
    return m_titleLabel->text();
}

void MImageButton::setTitleAndImage(const QString &title, const QString &normal,
                                    const QString &hover, const QString &disabled)
{
    setTitle(title);
    m_imageNormal = normal;
    m_imageHover = hover;
    m_imageDisabled = disabled;
    applyLook(currentLook());
}

void MImageButton::setTitleAndImageEx(const QString &title, const QString &normal,
                                      const QString &hover, const QString &selected,
                                      const QString &disabled)
{
    m_imageSelected = selected;
    setTitleAndImage(title, normal, hover, disabled);
}

void MImageButton::setColor(const QString &normal, const QString &hover, const QString &disabled)
{
    if (!normal.isEmpty())
        m_colorNormal = normal;
    if (!hover.isEmpty())
        m_colorHover = hover;
    if (!disabled.isEmpty())
        m_colorDisabled = disabled;
    applyLook(currentLook());
}

void MImageButton::setColorEx(const QString &normal, const QString &hover, const QString &selected,
                              const QString &disabled)
{
    if (!selected.isEmpty())
        m_colorSelected = selected;
    setColor(normal, hover, disabled);
}

void MImageButton::setTitleFont(const QFont &font)
{
    setTitleFont(font.pointSize(), font.bold(), font.italic(), font.family());
}

void MImageButton::setTitleFont(int size, bool bold, bool italic, const QString &family)
{
    m_fontSize = size;
    m_bold = bold;
    m_italic = italic;
    m_family = family;
    applyLook(currentLook());
}

void MImageButton::setImageSize(int width, int height)
{
    m_imageSize = QSize(width, height);
    applyImageSize();
    if (m_selfPaint)
        applyLook(currentLook());
}

void MImageButton::setImageMargin(int margin)
{
    m_imageMargin = margin;
    applyImageSize();
}

void MImageButton::applyImageSize()
{
    m_imageLabel->setFixedSize(m_imageSize.width() + 2 * m_imageMargin,
                               m_imageSize.height() + 2 * m_imageMargin);
}

void MImageButton::setAutoSize()
{
    if (layout())
        setFixedSize(layout()->sizeHint());
    else
        setFixedSize(m_imageSize);
}

void MImageButton::setUIAligment(Qt::Alignment image, Qt::Alignment caption)
{
    if (layout())
        layout()->setAlignment(m_imageLabel, image);
    m_titleLabel->setAlignment(caption);
}

void MImageButton::setShowIcon(bool show)
{
    if (m_style == BS_Image || m_style == BS_ImageEx || m_style == BS_TextOnly)
        return;
    m_imageLabel->setVisible(show);
}

void MImageButton::setSelfPaint(bool selfPaint)
{
    m_selfPaint = selfPaint;
    MBaseWidget::setSelfPaint(selfPaint);
    if (!selfPaint)
        m_imageLabel->setPixmap(QPixmap());
    applyLook(currentLook());
}

void MImageButton::setHasSelectedState(bool hasSelectedState)
{
    m_hasSelectedState = hasSelectedState;
}

void MImageButton::setState(bool selected)
{
    if (!isEnabled() || !m_hasSelectedState)
        return;
    m_selected = selected;
    applyLook(currentLook());
}

void MImageButton::setEnabled(bool enabled)
{
    // The look follows in changeEvent, which also sees a parent being disabled.
    QWidget::setEnabled(enabled);
}

void MImageButton::mousePressEvent(QMouseEvent *event)
{
    // A movable button already reports the press from the base class.
    if (event->button() == Qt::LeftButton && isEnabled() && !getCanMove())
        emit clicked();
    MBaseWidget::mousePressEvent(event);
}

void MImageButton::enterEvent(QEvent *event)
{
    MBaseWidget::enterEvent(event);
    if (isEnabled() && !m_selected)
        applyLook(LookHover);
}

void MImageButton::leaveEvent(QEvent *event)
{
    MBaseWidget::leaveEvent(event);
    applyLook(currentLook());
}

void MImageButton::changeEvent(QEvent *event)
{
    MBaseWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        applyLook(currentLook());
}

MImageButton::Look MImageButton::currentLook() const
{
    if (!isEnabled())
        return LookDisabled;
    if (m_selected)
        return LookSelected;
    if (isHovered())
        return LookHover;
    return LookNormal;
}

QString MImageButton::imageFor(Look look) const
{
    const QString *path = &m_imageNormal;
    switch (look) {
    case LookHover:
        path = &m_imageHover;
        break;
    case LookSelected:
        path = &m_imageSelected;
        break;
    case LookDisabled:
        path = &m_imageDisabled;
        break;
    case LookNormal:
        break;
    }
    return path->isEmpty() ? m_imageNormal : *path;
}

QString MImageButton::colorFor(Look look) const
{
    switch (look) {
    case LookHover:
        return m_colorHover;
    case LookSelected:
        return m_colorSelected;
    case LookDisabled:
        return m_colorDisabled;
    case LookNormal:
        break;
    }
    return m_colorNormal;
}

void MImageButton::applyLook(Look look)
{
    const QString family
        = m_family.isEmpty() ? QString() : QStringLiteral("font-family:") + m_family;
    m_titleLabel->setStyleSheet(
        QStringLiteral("QLabel{ color:%1;font-size:%2pt;font-style:%3;font-weight:%4;%5 }")
            .arg(colorFor(look))
            .arg(m_fontSize)
            .arg(m_italic ? QStringLiteral("italic") : QStringLiteral("normal"),
                 m_bold ? QStringLiteral("bold") : QStringLiteral("normal"), family));

    const QString image = imageFor(look);
    if (image.isEmpty())
        return;
    if (m_style == BS_Image || m_style == BS_ImageEx) {
        setStyleSheet(QStringLiteral("border-image: url(%1);padding:2px 2px 2px 2px;").arg(image));
    } else if (m_selfPaint) {
        m_imageLabel->setStyleSheet(QString());
        m_imageLabel->setPixmap(
            QPixmap(image).scaled(m_imageSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    } else {
        m_imageLabel->setStyleSheet(QStringLiteral("background-image: url(%1);").arg(image));
    }
}
