#pragma once

#include <QDateTime>
#include <QPoint>
#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

// The edges of the program that reach outside it: clock, settings store, dialogs, balloons,
// browser, analytics, downloads, exit. main() makes one with the real things and hands it to
// the frame, the window, the account session and the connection controller; tests hand in
// fakes. An empty member means "not available": callers skip it (the helpers below do).
struct AppServices
{
    std::function<QDateTime()> now;
    // Persists the settings store.
    std::function<void()> saveSettings;
    // A modal box with one OK button.
    std::function<void(const QString &title, const QString &text, QWidget *parent)> showMessage;
    // A balloon tip pointing at a global position.
    std::function<void(const QString &text, const QPoint &pos)> showBalloon;
    // The tray icon's balloon, titled with the application name.
    std::function<void(const QString &title, const QString &text)> trayMessage;
    std::function<void(const QUrl &url)> openUrl;
    // The account-expired dialog, modal; a result above 0 means "buy now".
    std::function<int(QWidget *parent)> expiredDialog;
    std::function<void(QWidget *parent)> aboutDialog;
    // Runs shortly after the first show of the main window.
    std::function<void()> countryCheck;
    // Analytics: one page view / one event.
    std::function<void(const QString &title, const QString &path)> sendPageView;
    std::function<void(const QString &category, const QString &action, const QString &label,
                       int value)>
        sendEvent;
    // Fetches url into savePath in `parts` ranges behind a dialog owned by owner; calls
    // finished with the file once complete, never on failure.
    std::function<void(QWidget *owner, const QString &title, const QString &url,
                       const QString &savePath, int parts,
                       std::function<void(const QString &file)> finished)>
        download;
    // Leaves the event loop with the code.
    std::function<void(int code)> quit;

    // Clock, settings store and exit of a normal run; nothing else.
    static AppServices defaults();

    QDateTime currentTime() const { return now ? now() : QDateTime::currentDateTime(); }
    void save() const
    {
        if (saveSettings)
            saveSettings();
    }
    void event(const QString &category, const QString &action, const QString &label,
               int value = 1) const
    {
        if (sendEvent)
            sendEvent(category, action, label, value);
    }
    void message(const QString &title, const QString &text, QWidget *parent = nullptr) const
    {
        if (showMessage)
            showMessage(title, text, parent);
    }
};
