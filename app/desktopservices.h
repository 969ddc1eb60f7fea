#pragma once

#include "appservices.h"

// The services of a normal desktop run: the defaults plus message box, balloon tip,
// browser and the modal dialogs.
AppServices desktopServices();
