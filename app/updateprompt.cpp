#include "updateprompt.h"

#include "mconfig.h"
#include "mdeploy.h"
#include "mutils.h"
#include "updatecheck.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace {

class UpdatePrompt
{
    Q_DECLARE_TR_FUNCTIONS(UpdatePrompt)
};

} // namespace

bool askForUpdate(const AppServices &services, QWidget *parent, UpdateOffer *offer)
{
    // Nothing writes the setting on Linux; the build knows which entries are its own.
    const QString appId = MConfig::instance()->appId;
    switch (UpdateCheck::run(appId.isEmpty() ? Deploy::appId() : appId, getVer(), offer)) {
    case UpdateCheck::Result::Malformed:
        return false;
    case UpdateCheck::Result::Failed:
        services.message(
            UpdatePrompt::tr("Update check"),
            UpdatePrompt::tr("The update check failed. Please check your network and try "
                             "again."),
            parent);
        return false;
    case UpdateCheck::Result::UpToDate:
        services.message(UpdatePrompt::tr("Update check"),
                         UpdatePrompt::tr("Your software is up to date!"), parent);
        return false;
    case UpdateCheck::Result::Newer:
        break;
    }
    return QMessageBox::question(
               parent, UpdatePrompt::tr("Update to new version"),
               UpdatePrompt::tr("New version <b> %1</b> is available, would you like to "
                                "update to it?")
                   .arg(offer->version.toHtmlEscaped()),
               QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::No;
}
