#pragma once

#include "updatepackage.h"

#include <QString>

// Reads the backend's update document: which entry, if any, offers this program a newer
// version it can install. The question and the messages are the window's.
namespace UpdateCheck {

enum class Result {
    Newer, // offer holds the entry
    UpToDate,
    Failed, // nothing came back: the network or the backend failed
    Malformed, // not a document; ends the check without a word
};

Result evaluate(const QString &reply, const QString &appId, const QString &ownVersion,
                UpdateOffer *offer);
// Fetches the document from the backend host (blocking, with a nested event loop).
Result run(const QString &appId, const QString &ownVersion, UpdateOffer *offer);

} // namespace UpdateCheck
