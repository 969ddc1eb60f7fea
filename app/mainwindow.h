#pragma once

#include <QWidget>

// The program's only top-level window. Exists once per process; never deleted by the
// entry point.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    static MainWindow *instance(QWidget *parent = nullptr);

private:
    explicit MainWindow(QWidget *parent);
};
