#pragma once

#include "mpanel.h"

class QLabel;
class QLineEdit;
class QPushButton;

// Sizes of the window's design, scaled for the screen.
int scaled(int value);
QPushButton *makeButton(const QString &objectName, const QString &toolTip, QWidget *parent);
QLineEdit *makeField(const QString &objectName, const QString &placeholder, QWidget *parent,
                     bool password = false);
// A label showing one link; text is plain text (escaped here), href a fixed target.
QLabel *makeLink(const QString &objectName, const QString &text, const QString &href,
                 QWidget *parent);
// The rich text of such a link, for labels whose link changes.
QString linkText(const QString &text, const QString &href);

// One page of the main window's stack: a panel named "ContentPanel" with, on every page but
// home, a header of a home button and the page title.
class Page : public MPanel
{
    Q_OBJECT

public:
    // An empty title: no header (the home page).
    Page(const QString &title, QWidget *parent);

signals:
    void homeRequested();
};
