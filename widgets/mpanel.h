#pragma once

#include <QBoxLayout>
#include <QColor>
#include <QList>
#include <QMap>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

class QDragEnterEvent;
class QDragLeaveEvent;
class QDragMoveEvent;
class QDropEvent;
class QFormLayout;
class QGridLayout;
class QLabel;
class QStackedLayout;

// Where paintEvent draws the background image: drawType 0 centres it (offsets may be
// negative when the image is larger than the panel), any other value stretches it inside
// the margins. Integer division throughout.
QRect panelImageRect(const QSize &panel, const QSize &image, int marginV, int marginH,
                     int drawType);

// The framework's general container: a widget owning one box layout plus one-call fill
// operations, its own background image (with a hover variant), background colour and
// border. GUI thread only. Widgets added through the panel are its children and die with it.
class MPanel : public QWidget
{
    Q_OBJECT

public:
    explicit MPanel(QWidget *parent = nullptr); // vertical
    MPanel(Qt::Orientation orientation, QWidget *parent);
    // noLayout true: no layout is made, and the layout operations must not be used.
    MPanel(Qt::Orientation orientation, QWidget *parent, bool noLayout);
    ~MPanel() override;

    Q_INVOKABLE QBoxLayout *getLayout();
    // flag: 0 left, 1 centre, 2 right, anything else no alignment. Null is ignored.
    Q_INVOKABLE void addWidget(QWidget *widget, int flag = -1);
    Q_INVOKABLE void addSpacing(int space);
    Q_INVOKABLE void addStretch(int value);
    Q_INVOKABLE void addLayout(QBoxLayout *subLayout);
    Q_INVOKABLE void addLayout(QGridLayout *subLayout);
    Q_INVOKABLE void addLayout(QFormLayout *subLayout);
    Q_INVOKABLE void addStackedLayout(QStackedLayout *subLayout);
    Q_INVOKABLE void addGridLayout(QGridLayout *subLayout);
    Q_INVOKABLE void setContentsMargins(int left, int top, int right, int bottom);
    Q_INVOKABLE void setMarginAndSpaceing(int margin, int spaceing);
    // lineStyle 0 solid, otherwise dashed.
    Q_INVOKABLE void addLine(int lineW, const QString &color, int lineStyle,
                             Qt::Orientation orientation = Qt::Horizontal);
    // Empty colour means "#2b2b2b"; fontSize 9 means the panel's own point size.
    Q_INVOKABLE QLabel *addText(const QString &text, const QString &color, int fontSize = 9,
                                int paddingleft = 0, const QString &id = QString());
    Q_INVOKABLE QLabel *addTextExt(const QString &text, const QString &color, int width,
                                   Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
    Q_INVOKABLE void setBackgroundImage(const QString &imageFile,
                                        const QString &imageFileHover = QString());
    Q_INVOKABLE void setBackgroundColor(const QColor &color);
    // style 0 solid, otherwise dashed; the layout margins all become the border width.
    Q_INVOKABLE void setBorder(int borderwidth, const QColor &color, int style = 0);
    Q_INVOKABLE QList<QWidget *> *getSubWidgetList();
    // Removes and deletes (later) every widget added through the panel.
    Q_INVOKABLE void cleanWidget();
    Q_INVOKABLE void setDrawType(int drawType);
    Q_INVOKABLE void setImageMargin(int marginV, int marginH);
    // Sum of the widths of the widgets that were visible when they were added.
    Q_INVOKABLE int getCmdButtonWidth();
    Q_INVOKABLE void setStrech(int index, int factor);

    // Null for an empty id, an unknown one, or a label removed by cleanWidget.
    QLabel *getTextLabel(const QString &id) const;

    bool isHovered() const { return m_hover; }
    int drawType() const { return m_drawType; }

signals:
    void enterPanel();
    void leavePanel();
    void clicked();
    void signalMouseEnter();
    void signalMouseClick(int posX, int posY);
    // Drag-and-drop events are passed on untouched; the receiver decides whether to accept.
    void onDragEnter(QDragEnterEvent *event);
    void onDragMove(QDragMoveEvent *event);
    void onDrop(QDropEvent *event);
    void onDragLeave(QDragLeaveEvent *event);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

    void updateStyle();

private:
    void init(Qt::Orientation orientation, bool noLayout);
    void record(QWidget *widget);

    int m_orientation = Qt::Vertical;
    QBoxLayout *m_layout = nullptr;
    QList<QWidget *> m_subWidgets;
    bool m_hover = false;
    QPixmap m_image;
    QPixmap m_imageHover;
    int m_imageMarginV = 0;
    int m_imageMarginH = 0;
    int m_drawType = 0;
    int m_cmdButtonWidth = 0;
    QMap<QString, QPointer<QLabel>> m_labels;
    QColor m_borderColor;
    QColor m_backgroundColor;
    int m_borderWidth = 0;
    int m_borderStyle = 0;
};
