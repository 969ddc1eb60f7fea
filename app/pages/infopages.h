#pragma once

#include "page.h"

class QCheckBox;
class QLabel;

// Three offers; captions come from the price list.
class PurchasePage : public Page
{
    Q_OBJECT

public:
    explicit PurchasePage(QWidget *parent);

    void setOffer(int index, const QString &caption, const QString &buyUrl);
    QPushButton *offerButton(int index) const { return m_offers[index]; }

signals:
    void offerClicked(int index);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QPushButton *m_offers[3] = {};
    QLabel *m_badge = nullptr;
};

class HelpPage : public Page
{
    Q_OBJECT

public:
    explicit HelpPage(QWidget *parent);

    // Sets the box without reporting a toggle.
    void setAutoRun(bool on);

signals:
    void onlineHelpClicked();
    void helpDeskClicked();
    void checkUpdateClicked();
    void autoRunToggled(bool on);

private:
    QCheckBox *m_autoRun;
};
