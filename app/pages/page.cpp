#include "page.h"

#include "mutils.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

int scaled(int value)
{
    return int(value * Ratio());
}

QPushButton *makeButton(const QString &objectName, const QString &toolTip, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(objectName);
    button->setToolTip(toolTip);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QLineEdit *makeField(const QString &objectName, const QString &placeholder, QWidget *parent,
                     bool password)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(objectName);
    field->setPlaceholderText(placeholder);
    if (password)
        field->setEchoMode(QLineEdit::Password);
    return field;
}

QString linkText(const QString &text, const QString &href)
{
    return QStringLiteral("<a href='%1' style='color:#efefef;'>%2</a>")
        .arg(href, text.toHtmlEscaped());
}

QLabel *makeLink(const QString &objectName, const QString &text, const QString &href,
                 QWidget *parent)
{
    auto *label = new QLabel(linkText(text, href), parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

Page::Page(const QString &title, QWidget *parent)
    : MPanel(Qt::Vertical, parent)
{
    setObjectName(QStringLiteral("ContentPanel"));
    if (title.isEmpty())
        return;
    setMarginAndSpaceing(scaled(10), scaled(8));
    setContentsMargins(scaled(16), scaled(10), scaled(16), scaled(14));
    auto *header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, scaled(6));
    header->setSpacing(scaled(10));
    QPushButton *home = makeButton(QStringLiteral("BtnHome"), tr("Home"), this);
    home->setFixedSize(scaled(25), scaled(25));
    connect(home, &QPushButton::clicked, this, &Page::homeRequested);
    auto *caption = new QLabel(title, this);
    caption->setObjectName(QStringLiteral("LbPageTitle"));
    QFont font = caption->font();
    font.setBold(true);
    font.setPixelSize(scaled(15));
    caption->setFont(font);
    header->addWidget(home);
    header->addWidget(caption, 1);
    addLayout(header);
}
