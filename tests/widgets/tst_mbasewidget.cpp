#include "mbasewidget.h"
#include "mimagebutton.h"
#include "mline.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDragLeaveEvent>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(QDragLeaveEvent *)

namespace {

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &pos, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void press(QWidget *widget, const QPoint &pos)
{
    sendMouse(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
}

void dragTo(QWidget *widget, const QPoint &pos)
{
    sendMouse(widget, QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton);
}

void release(QWidget *widget, const QPoint &pos)
{
    sendMouse(widget, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}

void sendPlain(QWidget *widget, QEvent::Type type)
{
    QEvent event(type);
    QApplication::sendEvent(widget, &event);
}

QImage renderWidget(QWidget *widget)
{
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

// Labels of an image button in creation order: image first, caption second.
QLabel *imageLabel(MImageButton *button)
{
    return button->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly).value(0);
}

QLabel *captionLabel(MImageButton *button)
{
    return button->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly).value(1);
}

QString captionSheet(const QString &color)
{
    return QStringLiteral("QLabel{ color:%1;font-size:9pt;font-style:normal;font-weight:normal; }")
        .arg(color);
}

QString imageSheet(const QString &path)
{
    return QStringLiteral("background-image: url(%1);").arg(path);
}

int countPixels(const QImage &image, const QRect &area, QRgb colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) == colour)
                ++count;
        }
    }
    return count;
}

} // namespace

class TestMBaseWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<QDragLeaveEvent *>(); }

    // --- MBaseWidget: styles per state -------------------------------------------------

    void styleStringsNameTheObjectWhenItHasOne()
    {
        MBaseWidget widget;
        QCOMPARE(
            widget.getStyleStr(1, 3, QColor(1, 2, 3), Qt::SolidLine, QColor(10, 11, 12)),
            QStringLiteral("border:1px solid #010203;background-color:#0a0b0c;border-radius:3px;"));
        QCOMPARE(widget.getStyleStr(4, 5, QColor(0, 128, 0)),
                 QStringLiteral("border:4px solid #008000;border-radius:5px;"));

        // Scoped to the widget's id, so that children do not inherit the border.
        widget.setObjectName(QStringLiteral("box"));
        QCOMPARE(
            widget.getStyleStr(2, 0, QColor(255, 0, 0), Qt::DotLine, QColor(0, 0, 255)),
            QStringLiteral(
                "#box {border:2px dashed #ff0000;background-color:#0000ff;border-radius:0px;}"));
    }

    void setStateAppliesStateSheetOrFallsBackToNormal()
    {
        MBaseWidget widget;
        widget.setObjectName(QStringLiteral("box"));
        widget.setStyleSheet(QStringLiteral("color:red;"));

        // Nothing is described yet: the widget's own sheet stays.
        widget.setState(WS_Pressed);
        QCOMPARE(widget.styleSheet(), QStringLiteral("color:red;"));
        QCOMPARE(widget.getState(), WS_Pressed);

        widget.setBorder(2, 4, Qt::red, Qt::DashLine, Qt::green, WS_Pressed);
        widget.setBorder(1, 0, Qt::blue, WS_Normal);
        // Storing a border applies nothing by itself.
        QCOMPARE(widget.styleSheet(), QStringLiteral("color:red;"));

        widget.setState(WS_Pressed);
        QCOMPARE(
            widget.styleSheet(),
            QStringLiteral(
                "#box {border:2px dashed #ff0000;background-color:#00ff00;border-radius:4px;}"));

        widget.setState(WS_Selected);
        QCOMPARE(widget.styleSheet(),
                 QStringLiteral("#box {border:1px solid #0000ff;border-radius:0px;}"));
        QCOMPARE(widget.getState(), WS_Selected);

        widget.setStyleSheetForState(QStringLiteral("color:white;"), WS_Disabled);
        widget.setState(WS_Disabled);
        QCOMPARE(widget.styleSheet(), QStringLiteral("color:white;"));

        // Out-of-range states are refused rather than indexing past the tables.
        widget.setState(static_cast<WidgetState>(7));
        QCOMPARE(widget.getState(), WS_Disabled);
    }

    void enterAndLeaveSwitchHoverButKeepOwnerStates()
    {
        MBaseWidget widget;
        widget.setStyleSheetForState(QStringLiteral("color:#000001;"), WS_Normal);
        widget.setStyleSheetForState(QStringLiteral("color:#000002;"), WS_Hover);

        sendPlain(&widget, QEvent::Enter);
        QCOMPARE(widget.getState(), WS_Hover);
        QCOMPARE(widget.styleSheet(), QStringLiteral("color:#000002;"));
        sendPlain(&widget, QEvent::Leave);
        QCOMPARE(widget.getState(), WS_Normal);
        QCOMPARE(widget.styleSheet(), QStringLiteral("color:#000001;"));

        for (WidgetState owned : {WS_Pressed, WS_Selected, WS_Disabled}) {
            widget.setState(owned);
            sendPlain(&widget, QEvent::Enter);
            QCOMPARE(widget.getState(), owned);
            sendPlain(&widget, QEvent::Leave);
            QCOMPARE(widget.getState(), owned);
        }
    }

    void selfPaintDrawsTheStateBorderOrTheNormalOne()
    {
        MBaseWidget widget;
        widget.resize(40, 30);
        widget.setSelfPaint(true);

        // No border described at all: nothing is drawn.
        QImage image = renderWidget(&widget);
        QCOMPARE(countPixels(image, image.rect(), qRgb(255, 0, 0)), 0);

        widget.setBorderInfoForState(MBorderInfo(Qt::red, 2, 0, false, Qt::green), WS_Normal);
        widget.setState(WS_Hover); // hover has no border: the normal one is painted
        image = renderWidget(&widget);
        QCOMPARE(image.pixel(0, 15), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(39, 15), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(20, 15), qRgb(0, 255, 0));

        widget.setBorderInfoForState(MBorderInfo(Qt::blue, 1, 0, false, QColor()), WS_Hover);
        widget.setState(WS_Hover);
        image = renderWidget(&widget);
        QCOMPARE(image.pixel(0, 15), qRgb(0, 0, 255));
        // No background colour: the inside is left untouched.
        QCOMPARE(qAlpha(image.pixel(20, 15)), 0);

        // Self-painting widgets do not take style sheets on a state change.
        widget.setStyleSheetForState(QStringLiteral("color:red;"), WS_Hover);
        widget.setState(WS_Hover);
        QVERIFY(widget.styleSheet().isEmpty());
    }

    // --- MBaseWidget: movable-item mode --------------------------------------------------

    void dragReportsTargetClampedToMinimumWithoutMovingTheWidget()
    {
        QWidget parent;
        parent.resize(400, 300);
        auto *item = new MBaseWidget(60, 30, &parent);
        item->move(50, 40);
        item->setCanMove(true);
        item->setMinPos(10, 0);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));

        QSignalSpy clicked(item, &MBaseWidget::clicked);
        QSignalSpy mouseClick(item, &MBaseWidget::signalMouseClick);
        QSignalSpy started(item, &MBaseWidget::signalMoveStart);
        QSignalSpy moved(item, &MBaseWidget::signalMove);
        QSignalSpy ended(item, &MBaseWidget::signalMoveEnd);
        QSignalSpy dragLeave(item, &MBaseWidget::onDragLeave);

        press(item, QPoint(5, 5));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(mouseClick.count(), 1);
        QCOMPARE(mouseClick.at(0).at(0).toInt(), 5);
        QCOMPARE(item->getOrgPos(), QPoint(50, 40));
        QCOMPARE(item->getStartPos(), QPoint(5, 5));

        dragTo(item, QPoint(-25, 15)); // 40 to the left of the grab point, 10 down
        QCOMPARE(started.count(), 1);
        QCOMPARE(started.at(0).at(0).toDouble(), 50.0);
        QCOMPARE(started.at(0).at(1).toDouble(), 40.0);
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.last().at(0).toDouble(), 20.0);
        QCOMPARE(moved.last().at(1).toDouble(), 50.0);
        QVERIFY(item->isMoving());

        dragTo(item, QPoint(-200, 5)); // far beyond the minimum x
        QCOMPARE(started.count(), 1);
        QCOMPARE(moved.count(), 2);
        QCOMPARE(moved.last().at(0).toDouble(), 10.0);
        QCOMPARE(moved.last().at(1).toDouble(), 40.0);
        QCOMPARE(item->getMoveX(), 10);

        dragTo(item, QPoint(5, -100)); // above the minimum y
        QCOMPARE(moved.last().at(1).toDouble(), 0.0);

        release(item, QPoint(5, -100));
        QCOMPARE(dragLeave.count(), 1);
        QCOMPARE(dragLeave.at(0).at(0).value<QDragLeaveEvent *>(), nullptr);
        QCOMPARE(ended.count(), 1);
        QVERIFY(!item->isMoving());
        QCOMPARE(item->getCurPos(), QPoint(50, 40));
        // Only the owner moves the widget.
        QCOMPARE(item->pos(), QPoint(50, 40));
        QCOMPARE(item->calMoveX(QPoint(-100, 0), 0), 10);
        QCOMPARE(item->calMoveX(QPoint(45, 0), 5), 85);
        QCOMPARE(item->calMoveY(QPoint(0, 45), 0), 80);
    }

    void dragWithinTwiceStartDragDistanceReportsNoMove()
    {
        QWidget parent;
        parent.resize(400, 300);
        auto *item = new MBaseWidget(60, 30, &parent);
        item->move(100, 100);
        item->setCanMove(true);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));

        QSignalSpy started(item, &MBaseWidget::signalMoveStart);
        QSignalSpy moved(item, &MBaseWidget::signalMove);
        QSignalSpy ended(item, &MBaseWidget::signalMoveEnd);
        const int limit = 2 * QApplication::startDragDistance();

        press(item, QPoint(10, 10));
        dragTo(item, QPoint(10 + limit / 2, 10 + limit - limit / 2)); // Manhattan == limit
        dragTo(item, QPoint(10 - limit, 10));
        release(item, QPoint(10 - limit, 10));
        QCOMPARE(started.count(), 0);
        QCOMPARE(moved.count(), 0);
        QCOMPARE(ended.count(), 0);

        // One pixel more starts the move.
        press(item, QPoint(10, 10));
        dragTo(item, QPoint(10 + limit + 1, 10));
        QCOMPARE(started.count(), 1);
        QCOMPARE(moved.count(), 1);
        release(item, QPoint(10 + limit + 1, 10));
        QCOMPARE(ended.count(), 1);
    }

    void withoutCanMoveAPressReportsNothing()
    {
        MBaseWidget widget(50, 50);
        QSignalSpy clicked(&widget, &MBaseWidget::clicked);
        QSignalSpy moved(&widget, &MBaseWidget::signalMove);
        QSignalSpy dragLeave(&widget, &MBaseWidget::onDragLeave);
        press(&widget, QPoint(5, 5));
        dragTo(&widget, QPoint(45, 45));
        release(&widget, QPoint(45, 45));
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(moved.count(), 0);
        QCOMPARE(dragLeave.count(), 1);
    }

    // --- MBaseWidget: life cycle ---------------------------------------------------------

    void firstShowAppliesNormalStateAndReportsSizeOnce()
    {
        MBaseWidget widget(70, 20);
        widget.setStyleSheetForState(QStringLiteral("color:#123456;"), WS_Normal);
        QSignalSpy shown(&widget, &MBaseWidget::onShow);
        QSignalSpy resized(&widget, &MBaseWidget::onResize);

        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.at(0).at(0).toInt(), 70);
        QCOMPARE(shown.at(0).at(1).toInt(), 20);
        QCOMPARE(widget.styleSheet(), QStringLiteral("color:#123456;"));
        QVERIFY(resized.count() >= 1);
        QCOMPARE(resized.last().at(0).toInt(), 70);

        widget.hide();
        QVERIFY(!widget.isVisible());
        widget.show();
        QVERIFY(widget.isVisible());
        QCOMPARE(shown.count(), 1);
    }

    void visibleFlagFollowsShowAndHide()
    {
        MBaseWidget widget;
        // The flag records the request, not the on-screen state.
        QVERIFY(widget.isVisible());
        QVERIFY(!widget.QWidget::isVisible());
        widget.setVisible(false);
        QVERIFY(!widget.isVisible());
        widget.show();
        QVERIFY(widget.isVisible());
        QVERIFY(widget.QWidget::isVisible());
    }

    void deleteAndHideDropsConnectionsAndDeletesOnRequest()
    {
        int received = 0;
        auto *kept = new MBaseWidget;
        kept->show();
        connect(kept, &MBaseWidget::clicked, this, [&received] { ++received; });
        kept->deleteAndHide(false, true);
        QVERIFY(!kept->isVisible());
        emit kept->clicked();
        QCOMPARE(received, 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        QPointer<MBaseWidget> guard(kept);
        QVERIFY(guard);
        guard->deleteAndHide(true, false);
        emit guard->clicked();
        QCOMPARE(received, 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(guard.isNull());
    }

    void elapsedTimerReportsZeroUnlessStarted()
    {
        MBaseWidget widget;
        QCOMPARE(widget.endElpsTimer(), 0);
        widget.startElpsTimer();
        QElapsedTimer reference;
        reference.start();
        QTRY_VERIFY_WITH_TIMEOUT(reference.elapsed() >= 20, 1000);
        const qint64 elapsed = widget.endElpsTimer();
        QVERIFY(elapsed >= 20);
        QCOMPARE(widget.endElpsTimer(), 0);
    }

    void layoutIsCreatedOnceOnDemand()
    {
        MBaseWidget widget;
        QBoxLayout *vertical = widget.getLayout(Qt::Vertical);
        QCOMPARE(vertical->direction(), QBoxLayout::TopToBottom);
        QCOMPARE(widget.getLayout(Qt::Horizontal), vertical);
        auto *child = new QLabel(QStringLiteral("x"));
        widget.addWidget(child);
        widget.addWidget(nullptr);
        QCOMPARE(vertical->count(), 1);
        QCOMPARE(child->parentWidget(), &widget);

        // addWidget first creates a horizontal layout, which a later request keeps.
        MBaseWidget other;
        other.addWidget(new QLabel(QStringLiteral("y")));
        QCOMPARE(other.getLayout(Qt::Vertical)->direction(), QBoxLayout::LeftToRight);
    }

    // --- MLine ----------------------------------------------------------------------------

    void horizontalLineRunsThroughTheMiddle()
    {
        MLine line(2, QColor(255, 0, 0), Qt::Horizontal, 0);
        line.resize(40, 10);
        const QImage image = renderWidget(&line);
        const QRgb red = qRgb(255, 0, 0);
        // Pen of width 2 on y = (10 - 2) / 2 = 4.
        QCOMPARE(countPixels(image, QRect(0, 4, 40, 1), red), 40);
        QCOMPARE(countPixels(image, QRect(0, 0, 40, 2), red), 0);
        QCOMPARE(countPixels(image, QRect(0, 7, 40, 3), red), 0);
    }

    void verticalDottedLineHasGapsAndDefaultsToLightGrey()
    {
        MLine line(1, QColor(225, 225, 225), Qt::Vertical, 1);
        line.resize(11, 60);
        const QImage image = renderWidget(&line);
        const QRgb grey = qRgb(225, 225, 225);
        const int column = (11 - 1) / 2;
        const int drawn = countPixels(image, QRect(column, 0, 1, 60), grey);
        QVERIFY2(drawn > 10 && drawn < 50, qPrintable(QString::number(drawn)));
        QCOMPARE(countPixels(image, QRect(0, 0, column - 1, 60), grey), 0);

        MLine fallback;
        fallback.resize(20, 3);
        const QImage plain = renderWidget(&fallback);
        QCOMPARE(countPixels(plain, QRect(0, 1, 20, 1), grey), 20);
    }

    // --- MImageButton ---------------------------------------------------------------------

    void arrangementsPlaceImageAndCaption()
    {
        MImageButton horizontal(BS_ImageText, 7, 3);
        // Clicks on the labels must reach the button.
        QVERIFY(imageLabel(&horizontal)->testAttribute(Qt::WA_TransparentForMouseEvents));
        QVERIFY(captionLabel(&horizontal)->testAttribute(Qt::WA_TransparentForMouseEvents));
        auto *box = qobject_cast<QBoxLayout *>(horizontal.layout());
        QVERIFY(box);
        QCOMPARE(box->direction(), QBoxLayout::LeftToRight);
        QCOMPARE(box->itemAt(1)->widget(), imageLabel(&horizontal));
        QCOMPARE(box->itemAt(2)->spacerItem()->sizeHint().width(), 7);
        QCOMPARE(box->itemAt(3)->widget(), captionLabel(&horizontal));

        MImageButton vertical(BS_ImageAbove, 7, 3);
        box = qobject_cast<QBoxLayout *>(vertical.layout());
        QCOMPARE(box->direction(), QBoxLayout::TopToBottom);
        QCOMPARE(box->itemAt(2)->spacerItem()->sizeHint().height(), 3);

        MImageButton captionFirst(BS_TextImage, 6, 0);
        box = qobject_cast<QBoxLayout *>(captionFirst.layout());
        QCOMPARE(box->itemAt(1)->widget(), captionLabel(&captionFirst));
        QCOMPARE(box->itemAt(3)->widget(), imageLabel(&captionFirst));

        MImageButton textOnly(BS_TextOnly);
        textOnly.show();
        QVERIFY(!imageLabel(&textOnly)->isVisible());
        QVERIFY(captionLabel(&textOnly)->isVisible());

        MImageButton whole(BS_Image);
        QVERIFY(!whole.layout());
        whole.setTitleAndImage(QStringLiteral("t"), QStringLiteral(":/n.png"),
                               QStringLiteral(":/h.png"), QString());
        QCOMPARE(whole.styleSheet(),
                 QStringLiteral("border-image: url(:/n.png);padding:2px 2px 2px 2px;"));
        sendPlain(&whole, QEvent::Enter);
        QCOMPARE(whole.styleSheet(),
                 QStringLiteral("border-image: url(:/h.png);padding:2px 2px 2px 2px;"));
    }

    void captionStyleFollowsFontSettings()
    {
        MImageButton button(BS_ImageText);
        button.setTitle(QStringLiteral("Connect"));
        QCOMPARE(button.getTitle(), QStringLiteral("Connect"));
        QCOMPARE(captionLabel(&button)->styleSheet(), captionSheet(QStringLiteral("#fefefe")));

        button.setTitleFont(12, true, true, QStringLiteral("Sans"));
        QCOMPARE(captionLabel(&button)->styleSheet(),
                 QStringLiteral("QLabel{ color:#fefefe;font-size:12pt;font-style:italic;"
                                "font-weight:bold;font-family:Sans }"));

        QFont font(QStringLiteral("Serif"), 10);
        button.setTitleFont(font);
        QCOMPARE(captionLabel(&button)->styleSheet(),
                 QStringLiteral("QLabel{ color:#fefefe;font-size:10pt;font-style:normal;"
                                "font-weight:normal;font-family:Serif }"));
    }

    void hoverSwapsImageAndColourAndLeaveRestores()
    {
        MImageButton button(BS_ImageText);
        button.setTitleAndImage(QStringLiteral("Go"), QStringLiteral(":/go_0.png"),
                                QStringLiteral(":/go_1.png"), QString());
        QCOMPARE(imageLabel(&button)->styleSheet(), imageSheet(QStringLiteral(":/go_0.png")));

        sendPlain(&button, QEvent::Enter);
        QCOMPARE(imageLabel(&button)->styleSheet(), imageSheet(QStringLiteral(":/go_1.png")));
        QCOMPARE(captionLabel(&button)->styleSheet(), captionSheet(QStringLiteral("#92b6ff")));

        sendPlain(&button, QEvent::Leave);
        QCOMPARE(imageLabel(&button)->styleSheet(), imageSheet(QStringLiteral(":/go_0.png")));
        QCOMPARE(captionLabel(&button)->styleSheet(), captionSheet(QStringLiteral("#fefefe")));

        // Colours given empty keep their previous value.
        button.setColor(QStringLiteral("#111111"), QString(), QStringLiteral("#333333"));
        QCOMPARE(captionLabel(&button)->styleSheet(), captionSheet(QStringLiteral("#111111")));
        sendPlain(&button, QEvent::Enter);
        QCOMPARE(captionLabel(&button)->styleSheet(), captionSheet(QStringLiteral("#92b6ff")));

        // No hover image: the normal one stays.
        MImageButton plain(BS_ImageText);
        plain.setTitleAndImage(QString(), QStringLiteral(":/p.png"), QString(), QString());
        sendPlain(&plain, QEvent::Enter);
        QCOMPARE(imageLabel(&plain)->styleSheet(), imageSheet(QStringLiteral(":/p.png")));

        // No image at all: the image label is left alone.
        MImageButton empty(BS_ImageText);
        sendPlain(&empty, QEvent::Enter);
        QVERIFY(imageLabel(&empty)->styleSheet().isEmpty());
    }

    void hoverOnSelectedButtonChangesNothing()
    {
        MImageButton button(BS_ImageText);
        button.setTitleAndImageEx(QStringLiteral("Tab"), QStringLiteral(":/t_0.png"),
                                  QStringLiteral(":/t_1.png"), QStringLiteral(":/t_2.png"),
                                  QStringLiteral(":/t_3.png"));
        button.setColorEx(QString(), QString(), QStringLiteral("#00ff00"), QString());

        // Without a selected state the request is ignored.
        button.setState(true);
        QVERIFY(!button.isSelected());
        QCOMPARE(imageLabel(&button)->styleSheet(), imageSheet(QStringLiteral(":/t_0.png")));

        button.setHasSelectedState(true);
        button.setState(true);
        QVERIFY(button.isSelected());
        const QString image = imageLabel(&button)->styleSheet();
        const QString caption = captionLabel(&button)->styleSheet();
        QCOMPARE(image, imageSheet(QStringLiteral(":/t_2.png")));
        QCOMPARE(caption, captionSheet(QStringLiteral("#00ff00")));

        sendPlain(&button, QEvent::Enter);
        QCOMPARE(imageLabel(&button)->styleSheet(), image);
        QCOMPARE(captionLabel(&button)->styleSheet(), caption);
        sendPlain(&button, QEvent::Leave);
        QCOMPARE(imageLabel(&button)->styleSheet(), image);
        QCOMPARE(captionLabel(&button)->styleSheet(), caption);

        button.setState(false);
        QCOMPARE(imageLabel(&button)->styleSheet(), imageSheet(QStringLiteral(":/t_0.png")));
    }

    void disablingShowsDisabledLookAndEnablingReturnsToSelection()
    {
        MImageButton button(BS_ImageText);
        button.setTitleAndImageEx(QStringLiteral("Tab"), QStringLiteral(":/t_0.png"),
                                  QStringLiteral(":/t_1.png"), QStringLiteral(":/t_2.png"),
                                  QStringLiteral(":/t_3.png"));
        button.setHasSelectedState(true);
        button.setState(true);

        button.setEnabled(false);
        QCOMPARE(imageLabel(&button)->styleSheet(), imageSheet(QStringLiteral(":/t_3.png")));
        QCOMPARE(captionLabel(&button)->styleSheet(), captionSheet(QStringLiteral("#50535d")));
        sendPlain(&button, QEvent::Enter);
        QCOMPARE(imageLabel(&button)->styleSheet(), imageSheet(QStringLiteral(":/t_3.png")));
        sendPlain(&button, QEvent::Leave);
        // A disabled button refuses selection changes.
        button.setState(false);
        QVERIFY(button.isSelected());

        button.setEnabled(true);
        QCOMPARE(imageLabel(&button)->styleSheet(), imageSheet(QStringLiteral(":/t_2.png")));

        // Disabling the parent disables the look too.
        QWidget parent;
        auto *child = new MImageButton(BS_ImageText, &parent);
        child->setTitleAndImage(QString(), QStringLiteral(":/c_0.png"), QString(),
                                QStringLiteral(":/c_3.png"));
        parent.setEnabled(false);
        QCOMPARE(imageLabel(child)->styleSheet(), imageSheet(QStringLiteral(":/c_3.png")));
    }

    void leftPressOnEnabledButtonEmitsClickedOnce()
    {
        MImageButton button(BS_ImageText);
        button.resize(80, 40);
        QSignalSpy clicked(&button, &MImageButton::clicked);
        press(&button, QPoint(10, 10));
        release(&button, QPoint(10, 10));
        QCOMPARE(clicked.count(), 1);
        sendMouse(&button, QEvent::MouseButtonPress, QPoint(10, 10), Qt::RightButton,
                  Qt::RightButton);
        QCOMPARE(clicked.count(), 1);

        // A movable button reports the press once, not twice.
        button.setCanMove(true);
        press(&button, QPoint(10, 10));
        release(&button, QPoint(10, 10));
        QCOMPARE(clicked.count(), 2);
    }

    void imageMarginGrowsImageAndAutoSizeFitsCaption()
    {
        MImageButton button(BS_ImageText, 4, 0);
        button.setImageSize(20, 16);
        button.setImageMargin(3);
        QCOMPARE(imageLabel(&button)->size(), QSize(26, 22));
        button.setTitle(QStringLiteral("A rather long caption"));
        button.setAutoSize();
        QCOMPARE(button.size(), button.layout()->sizeHint());
        QVERIFY(button.width() > 26 + 4);
    }

    void selfPaintShowsImageAsPixmap()
    {
        QImage source(64, 64, QImage::Format_ARGB32);
        source.fill(Qt::red);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("red.png"));
        QVERIFY(source.save(path));

        MImageButton button(BS_ImageText);
        button.setSelfPaint(true);
        button.setTitleAndImage(QString(), path, QString(), QString());
        QVERIFY(imageLabel(&button)->styleSheet().isEmpty());
        const QPixmap shown = imageLabel(&button)->pixmap(Qt::ReturnByValue);
        QCOMPARE(shown.size(), QSize(32, 32));
        QCOMPARE(shown.toImage().pixel(16, 16), qRgb(255, 0, 0));
    }

    void buttonsAreCollectedIntoAList()
    {
        MImageButton a(BS_TextOnly), b(BS_TextOnly), c(BS_TextOnly);
        QList<MImageButton *> list;
        MImageButton::setButtonsToList(list, &a, &b, nullptr, &c);
        QCOMPARE(list, (QList<MImageButton *>{&a, &b, &c}));
        MImageButton::setButtonsToList(list, &a);
        QCOMPARE(list.size(), 4);
    }
};

QTEST_MAIN(TestMBaseWidget)
#include "tst_mbasewidget.moc"
