#pragma once

#include <QString>

#include <functional>

class QWidget;

// What MBaseFrame needs from services that live in other parts: the analytics tracker and
// the segmented-download dialog, plus the process exit that ends the new-version flow.
// defaults() is the one place where the real services are connected; any hook left empty
// means "service not available": the frame logs and carries on without it.
struct MFrameServices
{
    // Analytics: one page-view hit (MUATracker::sendPageTrackerRequest(title, path, 0)).
    std::function<void(const QString &title, const QString &path)> sendPageView;
    // Analytics: one event hit (MUATracker::sendEventTracker(category, action, label, value)).
    std::function<void(const QString &category, const QString &action, const QString &label,
                       int value)>
        sendEvent;
    // Download dialog: shows a dialog titled title (owned by owner, on the taskbar, with a
    // minimise button) that fetches url into savePath in `parts` ranges; calls finished with
    // the saved file once the download is complete, and never on failure.
    std::function<void(QWidget *owner, const QString &title, const QString &url,
                       const QString &savePath, int parts,
                       std::function<void(const QString &file)> finished)>
        download;
    // Ends the program once the installer runs.
    std::function<void(int code)> exitProcess;

    // The services of a normal run.
    static MFrameServices defaults();
};
