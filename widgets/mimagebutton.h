#pragma once

#include "mbasewidget.h"

#include <QList>
#include <QSize>
#include <QString>
#include <initializer_list>

class QFont;
class QLabel;

// Arrangement of image and caption inside an MImageButton.
enum BtnStyle {
    BS_ImageText = 0, // horizontal: image, caption
    BS_ImageAbove = 1, // vertical: image over caption
    BS_Image = 2, // no layout: the image is the button's border image
    BS_ImageEx = 3, // as BS_Image
    BS_TextImage = 4, // horizontal: caption, image
    BS_TextOnly = 5 // caption only
};

// Image plus caption whose picture and caption colour follow hover, selection and
// disabling. Image paths left empty fall back to the normal image; while the normal image is
// empty too, the image is left as it is.
class MImageButton : public MBaseWidget
{
    Q_OBJECT

public:
    // hSpace separates image and caption in the horizontal arrangements, vSpace in the
    // vertical one.
    MImageButton(BtnStyle style, int hSpace, int vSpace, QWidget *parent = nullptr);
    explicit MImageButton(BtnStyle style = BS_ImageText, QWidget *parent = nullptr);
    ~MImageButton() override;

    using MBaseWidget::setState;

    void setTitle(const QString &title);
    void setTitleAndImage(const QString &title, const QString &normal, const QString &hover,
                          const QString &disabled);
    void setTitleAndImageEx(const QString &title, const QString &normal, const QString &hover,
                            const QString &selected, const QString &disabled);
    // Each non-empty colour replaces that caption colour.
    void setColor(const QString &normal, const QString &hover, const QString &disabled);
    void setColorEx(const QString &normal, const QString &hover, const QString &selected,
                    const QString &disabled);
    void setTitleFont(const QFont &font);
    void setTitleFont(int size, bool bold, bool italic, const QString &family);
    void setImageSize(int width, int height);
    // Room kept around the image inside its label.
    void setImageMargin(int margin);
    // Fixes the button at the size its content asks for.
    void setAutoSize();
    void setUIAligment(Qt::Alignment image, Qt::Alignment caption);
    void setShowIcon(bool show);
    // Image drawn as a pixmap and borders painted instead of style sheets.
    void setSelfPaint(bool selfPaint);
    void setHasSelectedState(bool hasSelectedState);
    // Only on an enabled button that has a selected state.
    void setState(bool selected);
    void setEnabled(bool enabled);

    bool isSelected() const { return m_selected; }
    QString getTitle() const;

    // Appends the given buttons (null ones skipped) to list.
    template<typename... Buttons>
    static void setButtonsToList(QList<MImageButton *> &list, MImageButton *first, Buttons... rest)
    {
        for (MImageButton *button : {first, static_cast<MImageButton *>(rest)...}) {
            if (button)
                list.append(button);
        }
    }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    enum Look { LookNormal = 0, LookHover = 1, LookSelected = 3, LookDisabled = 4 };

    void build(int hSpace, int vSpace);
    Look currentLook() const;
    void applyLook(Look look);
    void applyImageSize();
    QString imageFor(Look look) const;
    QString colorFor(Look look) const;

    BtnStyle m_style;
    QSize m_imageSize;
    int m_imageMargin = 0;
    QLabel *m_imageLabel = nullptr;
    QLabel *m_titleLabel = nullptr;
    QString m_imageNormal;
    QString m_imageSelected;
    QString m_imageHover;
    QString m_imageDisabled;
    bool m_hasSelectedState = false;
    bool m_selected = false;
    bool m_selfPaint = false;
    QString m_colorNormal = QStringLiteral("#fefefe");
    QString m_colorHover = QStringLiteral("#92b6ff");
    QString m_colorSelected = QStringLiteral("#92b6ff");
    QString m_colorDisabled = QStringLiteral("#50535d");
    int m_fontSize = 9;
    bool m_bold = false;
    bool m_italic = false;
    QString m_family;
};
