#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

class MGAThread;

// Usage analytics over the measurement protocol (version 1). Callers only queue a hit and
// return; one worker thread sends the hits one by one, in order, and never reports back.
// Nothing is queued when DO_NOT_TRACK is set (to anything but "0") or the collector URL is
// empty. Texts that carry the signed-in e-mail, the saved password or anything shaped like
// an e-mail address go out with that part replaced by "-".
class MUATracker : public QObject
{
    Q_OBJECT

public:
    struct Settings
    {
        QString collectUrl; // hits go to collectUrl + "?" + query
        QString trackingId; // "tid"
        QString userId; // "uid"; its MD5 is the "cid"
    };

    // Hits waiting beyond this push out the oldest.
    static constexpr int kMaxQueued = 256;

    explicit MUATracker(const Settings &settings, QObject *parent = nullptr);
    // Stops the worker like stop().
    ~MUATracker() override;

    // The process-wide tracker: collector from the deployment values, tracking and user id
    // from the settings store. Lives to the end of the process; not started.
    static MUATracker *instance();

    bool isEnabled() const { return m_enabled; }

    // Starts (or restarts) the worker; hits queued before are sent then. Call after
    // MNetwork::globalInit().
    void start();
    // Ends the worker, waiting 800 ms at most (a hit in flight is abandoned); hits still
    // queued are dropped. Call before MNetwork::globalClean().
    void stop();

    // True when the hit was queued. value < 0: no "ev".
    bool sendEvent(const QString &category, const QString &action, const QString &label,
                   int value = 1);
    // queueTime <= 0: no "qt".
    bool sendPageView(const QString &title, const QString &path, int queueTime = 0);

private:
    bool enqueue(const QList<QPair<QString, QString>> &hit);

    bool m_enabled = false;
    QString m_collectUrl;
    QString m_commonQuery;
    MGAThread *m_thread = nullptr;
};
