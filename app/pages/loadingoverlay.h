#pragma once

#include "mpanel.h"

class QMovie;

// The turning "loading" picture over the pages. Up while the server list loads or at least
// one account request runs; the two never take it down for each other.
class LoadingOverlay : public MPanel
{
    Q_OBJECT

public:
    // Covers host and follows its size.
    explicit LoadingOverlay(QWidget *host);

    void setListLoading(bool loading);
    void setAccountBusy(bool busy);
    void stop();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void update();

    QMovie *m_movie;
    bool m_listLoading = false;
    int m_accountBusy = 0;
};
