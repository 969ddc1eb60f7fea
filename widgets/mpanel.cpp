#include "mpanel.h"

#include "mutils.h"

#include <QDebug>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedLayout>
#include <QStyleOption>

QRect panelImageRect(const QSize &panel, const QSize &image, int marginV, int marginH, int drawType)
{
    if (drawType == 0) {
        return QRect((panel.width() - 2 * marginH - image.width()) / 2,
                     (panel.height() - 2 * marginV - image.height()) / 2,
                     image.width() - 2 * marginH, image.height() - 2 * marginV);
    }
    return QRect(marginH, marginV, panel.width() - 2 * marginH, panel.height() - 2 * marginV);
}

MPanel::MPanel(QWidget *parent)
    : QWidget(parent)
{
    init(Qt::Vertical, false);
}

MPanel::MPanel(Qt::Orientation orientation, QWidget *parent)
    : QWidget(parent)
{
    init(orientation, false);
}

MPanel::MPanel(Qt::Orientation orientation, QWidget *parent, bool noLayout)
    : QWidget(parent)
{
    init(orientation, noLayout);
}

MPanel::~MPanel() = default;

void MPanel::init(Qt::Orientation orientation, bool noLayout)
{
    m_orientation = orientation;
    setAttribute(Qt::WA_TranslucentBackground, true);
    setAcceptDrops(true);
    setAttribute(Qt::WA_MouseTracking, false);
    if (noLayout)
        return;
    if (orientation == Qt::Horizontal)
        m_layout = new QHBoxLayout(this);
    else
        m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
}

void MPanel::record(QWidget *widget)
{
    m_subWidgets.append(widget);
    if (widget->isVisible())
        m_cmdButtonWidth += widget->width();
}

QBoxLayout *MPanel::getLayout()
{
    return m_layout;
}

void MPanel::addWidget(QWidget *widget, int flag)
{
    if (!widget)
        return;
    switch (flag) {
    case 0:
        m_layout->addWidget(widget, 0, Qt::AlignLeft);
        break;
    case 1:
        m_layout->addWidget(widget, 0, Qt::AlignCenter);
        break;
    case 2:
        m_layout->addWidget(widget, 0, Qt::AlignRight);
        break;
    default:
        m_layout->addWidget(widget, 0);
        break;
    }
    record(widget);
}

void MPanel::addSpacing(int space)
{
    m_layout->addSpacing(space);
}

void MPanel::addStretch(int value)
{
    m_layout->addStretch(value);
}

void MPanel::addLayout(QBoxLayout *subLayout)
{
    m_layout->addLayout(subLayout, 0);
}

void MPanel::addLayout(QGridLayout *subLayout)
{
    m_layout->addLayout(subLayout, 0);
}

void MPanel::addLayout(QFormLayout *subLayout)
{
    m_layout->addLayout(subLayout, 0);
}

void MPanel::addStackedLayout(QStackedLayout *subLayout)
{
    m_layout->addLayout(subLayout, 0);
}

void MPanel::addGridLayout(QGridLayout *subLayout)
{
    m_layout->addLayout(subLayout, 0);
}

void MPanel::setContentsMargins(int left, int top, int right, int bottom)
{
    m_layout->setContentsMargins(left, top, right, bottom);
}

void MPanel::setMarginAndSpaceing(int margin, int spaceing)
{
    m_layout->setContentsMargins(margin, margin, margin, margin);
    m_layout->setSpacing(spaceing);
}

void MPanel::addLine(int lineW, const QString &color, int lineStyle, Qt::Orientation orientation)
{
    auto *line = new QWidget(this);
    line->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    const QString style = lineStyle != 0 ? QStringLiteral("dashed") : QStringLiteral("solid");
    const QString sheet = orientation == Qt::Horizontal
        ? QStringLiteral("border-bottom-width: %1px;border-bottom-color: %2;"
                         "border-bottom-style: %3;")
        : QStringLiteral("border-left-width: %1px;border-left-color: %2;"
                         "border-left-style: %3;");
    line->setStyleSheet(sheet.arg(lineW).arg(color, style));
    m_layout->addWidget(line, 0);
    record(line);
}

QLabel *MPanel::addText(const QString &text, const QString &color, int fontSize, int paddingleft,
                        const QString &id)
{
    auto *label = new QLabel(text, this);
    const QString textColor = color.isEmpty() ? QStringLiteral("#2b2b2b") : color;
    const int size = fontSize == 9 ? font().pointSize() : fontSize;
    label->setStyleSheet(QStringLiteral("color:%1;font-size:%2pt;padding-left:%3px")
                             .arg(textColor)
                             .arg(size)
                             .arg(paddingleft));
    label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_layout->addWidget(label, 0);
    record(label);
    if (!id.isEmpty())
        m_labels.insert(id, label);
    return label;
}

QLabel *MPanel::addTextExt(const QString &text, const QString &color, int width,
                           Qt::Alignment alignment)
{
    QLabel *label = addText(text, color, 9, 0, QString());
    label->setFixedWidth(width);
    label->setAlignment(alignment);
    return label;
}

void MPanel::setBackgroundImage(const QString &imageFile, const QString &imageFileHover)
{
    if (!imageFile.isEmpty()) {
        m_image = QPixmap(imageFile);
        if (m_image.isNull())
            qInfo() << "MPanel: no image" << imageFile;
    }
    if (!imageFileHover.isEmpty()) {
        m_imageHover = QPixmap(imageFileHover);
        if (m_imageHover.isNull())
            qInfo() << "MPanel: no image" << imageFileHover;
    }
    update();
}

void MPanel::setBackgroundColor(const QColor &color)
{
    m_backgroundColor = color;
    updateStyle();
}

void MPanel::setBorder(int borderwidth, const QColor &color, int style)
{
    m_borderColor = color;
    m_borderWidth = borderwidth;
    m_borderStyle = style;
    if (m_layout)
        m_layout->setContentsMargins(borderwidth, borderwidth, borderwidth, borderwidth);
    update();
}

QList<QWidget *> *MPanel::getSubWidgetList()
{
    return &m_subWidgets;
}

void MPanel::cleanWidget()
{
    for (QWidget *widget : qAsConst(m_subWidgets)) {
        if (m_layout)
            m_layout->removeWidget(widget);
        widget->deleteLater();
    }
    m_subWidgets.clear();
    // The labels are on their way out; the map must not hand them out any more.
    m_labels.clear();
}

void MPanel::setDrawType(int drawType)
{
    m_drawType = drawType;
    update();
}

void MPanel::setImageMargin(int marginV, int marginH)
{
    m_imageMarginV = marginV;
    m_imageMarginH = marginH;
    update();
}

int MPanel::getCmdButtonWidth()
{
    return m_cmdButtonWidth;
}

void MPanel::setStrech(int index, int factor)
{
    if (!m_layout)
        return;
    m_layout->setStretch(index, factor);
}

QLabel *MPanel::getTextLabel(const QString &id) const
{
    if (id.isEmpty())
        return nullptr;
    return m_labels.value(id).data();
}

void MPanel::updateStyle()
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("XYZ_") + Rand(true));
    if (!m_backgroundColor.isValid())
        return;
    setStyleSheet(QStringLiteral("#%5{background-color:rgba(%1,%2,%3,%4);}")
                      .arg(m_backgroundColor.red())
                      .arg(m_backgroundColor.green())
                      .arg(m_backgroundColor.blue())
                      .arg(m_backgroundColor.alpha() / 255.0)
                      .arg(objectName()));
}

void MPanel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        emit clicked();
        emit signalMouseClick(event->pos().x(), event->pos().y());
    }
    QWidget::mousePressEvent(event);
}

void MPanel::mouseReleaseEvent(QMouseEvent *event)
{
    emit onDragLeave(nullptr);
    QWidget::mouseReleaseEvent(event);
}

void MPanel::mouseMoveEvent(QMouseEvent *event)
{
    emit signalMouseEnter();
    QWidget::mouseMoveEvent(event);
}

void MPanel::enterEvent(QEvent *event)
{
    m_hover = true;
    update();
    QWidget::enterEvent(event);
}

void MPanel::leaveEvent(QEvent *event)
{
    m_hover = false;
    update();
    QWidget::leaveEvent(event);
}

void MPanel::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);

    if (!m_image.isNull()) {
        const QPixmap &image = (m_hover && !m_imageHover.isNull()) ? m_imageHover : m_image;
        painter.drawPixmap(
            panelImageRect(size(), image.size(), m_imageMarginV, m_imageMarginH, m_drawType),
            image);
    }

    if (m_borderColor.isValid() && m_borderWidth >= 1) {
        const QPen previous = painter.pen();
        QPen pen(m_borderColor, m_borderWidth, m_borderStyle == 0 ? Qt::SolidLine : Qt::DashLine);
        painter.setPen(pen);
        const int b = m_borderWidth;
        const int w = width();
        const int h = height();
        painter.drawLine(0, 0, w - b, 0);
        painter.drawLine(w - b, 0, w - b, h - b);
        painter.drawLine(w - b, h - b, b, h - b);
        painter.drawLine(0, h - b, 0, 0);
        painter.setPen(previous);
    }
    painter.end();
    QWidget::paintEvent(event);
}

void MPanel::dragEnterEvent(QDragEnterEvent *event)
{
    emit onDragEnter(event);
}

void MPanel::dragMoveEvent(QDragMoveEvent *event)
{
    emit onDragMove(event);
}

void MPanel::dragLeaveEvent(QDragLeaveEvent *event)
{
    emit onDragLeave(event);
}

void MPanel::dropEvent(QDropEvent *event)
{
    emit onDrop(event);
}
