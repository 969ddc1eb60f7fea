#pragma once

#include "mbasedialog.h"

class QLabel;
class QPushButton;

// Tells that the account has expired and offers to buy. Run with exec(): 1 for "Buy Now",
// -1 for "Later", 0 when closed otherwise (title bar, Escape). The buy button is named
// "BtnBuyNow" for the style sheet. GUI thread only.
class MTrailDlg : public MBaseDialog
{
    Q_OBJECT

public:
    enum Result { BuyNow = 1, Later = -1 };

    explicit MTrailDlg(QWidget *parent = nullptr);
    ~MTrailDlg() override;

    QPushButton *buyNowButton() const { return m_buyNow; }
    QPushButton *laterButton() const { return m_later; }
    QLabel *messageLabel() const { return m_message; }
    QLabel *hintLabel() const { return m_hint; }

private:
    QLabel *m_message = nullptr;
    QLabel *m_hint = nullptr;
    QPushButton *m_buyNow = nullptr;
    QPushButton *m_later = nullptr;
};
