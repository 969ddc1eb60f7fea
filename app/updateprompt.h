#pragma once

#include "appservices.h"
#include "updatepackage.h"

class QWidget;

// The help page's update check: asks the backend, tells the user the outcome, and asks
// whether to fetch a newer version. True when the user wants offer.
bool askForUpdate(const AppServices &services, QWidget *parent, UpdateOffer *offer);
