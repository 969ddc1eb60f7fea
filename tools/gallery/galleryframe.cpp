#include "galleryframe.h"

#include "appservices.h"
#include "mbasewidget.h"
#include "mgiflable.h"
#include "mimagebutton.h"
#include "mline.h"
#include "mpanel.h"
#include "mslider.h"
#include "mtitlebar.h"
#include "mvaluesliderbar.h"

#include <QBoxLayout>
#include <QLabel>
#include <QMovie>
#include <QPushButton>

namespace {

// Scaffolding of the gallery itself (captions), kept apart from the look under review.
const QString kCaptionSheet = QStringLiteral("color:#8e9ab3;font-size:11px;");
const QString kHeadingSheet = QStringLiteral("color:#00c9e4;font-size:12px;font-weight:bold;");
const QColor kLineColour(0x3a, 0x45, 0x60);

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setStyleSheet(kCaptionSheet);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// A control above its caption; flag as for MPanel::addWidget (centred, or -1 to fill the width).
MPanel *labelled(QWidget *control, const QString &text, QWidget *parent, int flag = 1)
{
    auto *cell = new MPanel(Qt::Vertical, parent);
    control->setParent(cell);
    cell->getLayout()->setSpacing(4);
    cell->addWidget(control, flag);
    cell->addWidget(caption(text, cell), 1);
    return cell;
}

MPanel *row(MPanel *section, int spacing)
{
    auto *line = new MPanel(Qt::Horizontal, section);
    line->getLayout()->setSpacing(spacing);
    section->addWidget(line);
    return line;
}

} // namespace

GalleryFrame::GalleryFrame(QWidget *parent)
    : MBaseFrame(false, parent)
{
    // A look review sends nothing anywhere.
    setServices(AppServices());
    setCenterOnFirstShow(false);
    setAppName(QStringLiteral("Gallery"));
    setWindowTitle(tr("Quellnet \u2014 widget gallery"));

    MTitleBar *bar = createTitleBar(QString(), true, true, true);
    bar->setIcon(QStringLiteral(":/icon/main_icon.png"));
    auto *settings = new QPushButton(bar);
    settings->setObjectName(QStringLiteral("BtnSetting"));
    settings->setFixedWidth(30);
    settings->setToolTip(tr("Settings"));
    bar->addWidget(settings, false);

    auto *page = new MPanel(Qt::Vertical, this);
    page->setObjectName(QStringLiteral("ContentPanel"));
    page->setContentsMargins(20, 12, 20, 16);
    page->getLayout()->setSpacing(6);
    addImageButtons(page);
    addBaseWidgets(page);
    addLines(page);
    addSliders(page);
    addAnimations(page);
    addPanels(page);
    addBalloonAnchor(page);
    page->addStretch(1);
    setContentPanel(page);
}

GalleryFrame::~GalleryFrame() = default;

MPanel *GalleryFrame::section(MPanel *page, const QString &title)
{
    auto *heading = new QLabel(title, page);
    heading->setStyleSheet(kHeadingSheet);
    page->addWidget(heading);
    auto *body = new MPanel(Qt::Vertical, page);
    body->getLayout()->setSpacing(8);
    body->setContentsMargins(0, 2, 0, 6);
    page->addWidget(body);
    return body;
}

void GalleryFrame::addImageButtons(MPanel *page)
{
    MPanel *body = section(page, tr("Image buttons"));
    MPanel *line = row(body, 14);

    const QString home0 = QStringLiteral(":/wnd/btn_home_0.png");
    const QString home1 = QStringLiteral(":/wnd/btn_home_1.png");
    const QString login0 = QStringLiteral(":/wnd/btn_login_0.png");
    const QString login1 = QStringLiteral(":/wnd/btn_login_1.png");
    const QString help0 = QStringLiteral(":/wnd/btn_help_0.png");
    const QString help1 = QStringLiteral(":/wnd/btn_help_1.png");

    struct Sample
    {
        BtnStyle style;
        QString title;
        QString normal;
        QString hover;
        QString caption;
    };
    const Sample samples[] = {
        {BS_ImageText, tr("Home"), home0, home1, tr("image, text")},
        {BS_ImageAbove, tr("Account"), login0, login1, tr("image above")},
        {BS_TextImage, tr("Help"), help0, help1, tr("text, image")},
        {BS_TextOnly, tr("Text only"), QString(), QString(), tr("text only")},
        {BS_Image, QString(), home0, home1, tr("image")},
    };
    for (const Sample &sample : samples) {
        auto *button = new MImageButton(sample.style, line);
        button->setImageSize(25, 25);
        button->setTitleAndImage(sample.title, sample.normal, sample.hover, QString());
        button->setAutoSize();
        line->addWidget(labelled(button, sample.caption, line));
    }

    auto *selected = new MImageButton(BS_ImageText, line);
    selected->setImageSize(25, 25);
    selected->setHasSelectedState(true);
    selected->setTitleAndImageEx(tr("Home"), home0, home1, home1, QString());
    selected->setState(true);
    selected->setAutoSize();
    line->addWidget(labelled(selected, tr("selected"), line));

    auto *disabled = new MImageButton(BS_ImageText, line);
    disabled->setImageSize(25, 25);
    disabled->setTitleAndImage(tr("Help"), help0, help1, help0);
    disabled->setAutoSize();
    disabled->setEnabled(false);
    line->addWidget(labelled(disabled, tr("disabled"), line));
    line->addStretch(1);
}

void GalleryFrame::addBaseWidgets(MPanel *page)
{
    MPanel *body = section(page, tr("Base widgets"));
    MPanel *line = row(body, 12);

    const QColor face(0x2d, 0x36, 0x4c);
    struct Sample
    {
        WidgetState state;
        int width;
        QColor border;
        QColor background;
        Qt::PenStyle pen;
        QString caption;
    };
    const Sample samples[] = {
        {WS_Normal, 1, QColor(0x46, 0x51, 0x6c), face, Qt::SolidLine, tr("normal")},
        {WS_Hover, 1, QColor(0x00, 0xc9, 0xe4), QColor(0x35, 0x40, 0x5a), Qt::SolidLine,
         tr("hover")},
        {WS_Pressed, 1, QColor(0x00, 0xb3, 0xcc), QColor(0x27, 0x30, 0x46), Qt::SolidLine,
         tr("pressed")},
        {WS_Selected, 2, QColor(0x00, 0xc9, 0xe4), QColor(0x1f, 0x3a, 0x4a), Qt::SolidLine,
         tr("selected")},
        {WS_Disabled, 1, QColor(0x32, 0x3a, 0x50), QColor(0x26, 0x2d, 0x3f), Qt::DashLine,
         tr("disabled")},
    };
    for (const Sample &sample : samples) {
        auto *widget = new MBaseWidget(64, 36, line);
        widget->setObjectName(QStringLiteral("GalleryBase%1").arg(int(sample.state)));
        widget->setBorder(sample.width, 6, sample.border, sample.pen, sample.background,
                          sample.state);
        widget->setState(sample.state);
        line->addWidget(labelled(widget, sample.caption, line));
    }

    auto *painted = new MBaseWidget(64, 36, line);
    painted->setBorderInfoForState(
        MBorderInfo(QColor(0x0c, 0xb7, 0x54), 2, 6, false, QColor(0x1f, 0x2f, 0x2f)), WS_Normal);
    painted->setSelfPaint(true);
    painted->setState(WS_Normal);
    line->addWidget(labelled(painted, tr("self-painted"), line));
    line->addStretch(1);
}

void GalleryFrame::addLines(MPanel *page)
{
    MPanel *body = section(page, tr("Lines"));
    MPanel *line = row(body, 12);

    auto *solid = new MLine(1, kLineColour, Qt::Horizontal, 0, line);
    solid->setFixedHeight(30);
    auto *dotted = new MLine(1, QColor(0x8e, 0x9a, 0xb3), Qt::Horizontal, 1, line);
    dotted->setFixedHeight(30);
    auto *accent = new MLine(2, QColor(0x00, 0xc9, 0xe4), Qt::Horizontal, 0, line);
    accent->setFixedHeight(30);
    MPanel *cells[]
        = {labelled(solid, tr("solid"), line, -1), labelled(dotted, tr("dotted"), line, -1),
           labelled(accent, tr("2 px accent"), line, -1)};
    for (MPanel *cell : cells) {
        line->addWidget(cell);
        line->setStrech(line->getLayout()->count() - 1, 1);
    }

    auto *vertical = new MLine(1, kLineColour, Qt::Vertical, 0, line);
    vertical->setFixedSize(9, 30);
    line->addWidget(labelled(vertical, tr("vertical"), line));
}

void GalleryFrame::addSliders(MPanel *page)
{
    MPanel *body = section(page, tr("Sliders"));
    MPanel *line = row(body, 18);

    auto *column = new MPanel(Qt::Vertical, line);
    column->getLayout()->setSpacing(10);

    auto *slider = new MSlider(Qt::Horizontal, column);
    slider->setRange(0, 100);
    slider->setValue(40);
    column->addWidget(labelled(slider, tr("MSlider"), column, -1));

    auto *off = new MSlider(Qt::Horizontal, column);
    off->setRange(0, 100);
    off->setValue(65);
    off->setEnabled(false);
    column->addWidget(labelled(off, tr("MSlider, disabled"), column, -1));

    auto *bar = new MValueSliderBar(column, 10, tr(" s"), 0);
    bar->setRange(0, 100);
    bar->setValue(5.5f, true);
    bar->setSpinBoxWidth(64);
    column->addWidget(labelled(bar, tr("MValueSliderBar, base 10"), column, -1));

    line->addWidget(column);
    line->setStrech(0, 1);

    auto *vertical = new MSlider(Qt::Vertical, line);
    vertical->setRange(0, 100);
    vertical->setValue(70);
    vertical->setFixedHeight(110);
    line->addWidget(labelled(vertical, tr("vertical"), line));
}

void GalleryFrame::addAnimations(MPanel *page)
{
    MPanel *body = section(page, tr("Animated labels"));
    MPanel *line = row(body, 24);

    struct Sample
    {
        QString file;
        int side;
        float opacity;
        QString caption;
    };
    const Sample samples[] = {
        {QStringLiteral(":/wnd/loading.gif"), 72, 1.0f, tr("loading, scaled")},
        {QStringLiteral(":/wnd/loading.gif"), 72, 0.45f, tr("opacity 0.45")},
        {QStringLiteral(":/Skin/loading_inner.gif"), 32, 1.0f, tr("inner, 32 px")},
    };
    for (const Sample &sample : samples) {
        auto *label = new MGifLable(line);
        auto *movie = new QMovie(sample.file, QByteArray(), label);
        label->setMovie(movie);
        label->setScaledContents(true);
        label->setFixedSize(sample.side, sample.side);
        label->setAlignment(Qt::AlignCenter);
        label->setOpacity(sample.opacity);
        movie->start();
        line->addWidget(labelled(label, sample.caption, line));
    }
    line->addStretch(1);
}

void GalleryFrame::addPanels(MPanel *page)
{
    MPanel *body = section(page, tr("Panels"));
    MPanel *line = row(body, 12);

    auto *plain = new MPanel(Qt::Vertical, line);
    plain->setBackgroundColor(QColor(0x2d, 0x36, 0x4c));
    plain->setContentsMargins(10, 8, 10, 8);
    plain->addText(tr("Background colour"), QStringLiteral("#ffffff"), 9, 0,
                   QStringLiteral("title"));
    plain->addText(tr("addText, secondary"), QStringLiteral("#c8cdd8"));
    line->addWidget(plain);
    line->setStrech(0, 1);

    auto *bordered = new MPanel(Qt::Vertical, line);
    bordered->setBorder(1, QColor(0x46, 0x51, 0x6c), 1);
    auto *inside = new MPanel(Qt::Vertical, bordered);
    inside->setContentsMargins(10, 7, 10, 7);
    inside->addText(tr("Dashed border"), QStringLiteral("#ffffff"));
    inside->addLine(1, QStringLiteral("#3a4560"), 0);
    inside->addText(tr("with addLine"), QStringLiteral("#c8cdd8"));
    bordered->addWidget(inside);
    line->addWidget(bordered);
    line->setStrech(1, 1);
}

void GalleryFrame::addBalloonAnchor(MPanel *page)
{
    MPanel *body = section(page, tr("Balloon tip"));
    MPanel *line = row(body, 10);
    auto *help = new MImageButton(BS_ImageText, line);
    help->setImageSize(25, 25);
    help->setTitleAndImage(tr("What does the kill switch do?"),
                           QStringLiteral(":/wnd/btn_help_0.png"),
                           QStringLiteral(":/wnd/btn_help_1.png"), QString());
    help->setAutoSize();
    line->addWidget(help);
    line->addStretch(1);
    m_balloonTarget = help;
}
