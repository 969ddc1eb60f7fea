#pragma once

class QWidget;

// Moves widget so that its centre is the centre of the primary screen (whole pixels).
void ShowInCenter(QWidget *widget);
// Centres widget on parent's width and height; without a parent, ShowInCenter.
void ShowInCenterEx(QWidget *widget, QWidget *parent);
