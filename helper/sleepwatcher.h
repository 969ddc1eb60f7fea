#pragma once

#include <QObject>
#include <QString>

namespace helper {

// Suspend and resume as logind announces them (PrepareForSleep on its Manager interface),
// on the system bus or the bus at the address given (tests bring their own). Main thread.
class SleepWatcher : public QObject
{
    Q_OBJECT
public:
    explicit SleepWatcher(QObject *parent = nullptr);
    ~SleepWatcher() override;
    // False with the reason when there is no such bus; nothing is watched then.
    bool start(const QString &busAddress, QString *error);

signals:
    void resumed();

private slots:
    void onPrepareForSleep(bool sleeping);

private:
    QString m_connectionName;
};

} // namespace helper
