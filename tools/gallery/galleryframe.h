#pragma once

#include "mbaseframe.h"

class MPanel;
class QWidget;

// The gallery's main window: the framework frame and title bar around one page that holds
// every framework control, grouped in labelled sections.
class GalleryFrame : public MBaseFrame
{
    Q_OBJECT

public:
    explicit GalleryFrame(QWidget *parent = nullptr);
    ~GalleryFrame() override;

    // The control the balloon tip points at.
    QWidget *balloonTarget() const { return m_balloonTarget; }

private:
    MPanel *section(MPanel *page, const QString &title);
    void addImageButtons(MPanel *page);
    void addBaseWidgets(MPanel *page);
    void addLines(MPanel *page);
    void addSliders(MPanel *page);
    void addAnimations(MPanel *page);
    void addPanels(MPanel *page);
    void addBalloonAnchor(MPanel *page);

    QWidget *m_balloonTarget = nullptr;
};
