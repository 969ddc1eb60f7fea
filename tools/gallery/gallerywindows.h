#pragma once

#include <QCoreApplication>

class GalleryFrame;

// The framework's dialogs, message boxes, loading boxes and balloon tip, shown side by side
// to the right of the gallery frame. Each window is a child of the frame and dies with it.
class GalleryWindows
{
    Q_DECLARE_TR_FUNCTIONS(GalleryWindows)

public:
    // Dialogs and boxes at once; the balloon once the frame has its final geometry.
    static void showBeside(GalleryFrame *frame);
};
