#pragma once

#include "vpnengine.h"

// The tunnel engine library behind the VpnEngine interface: every call goes to
// vpnclient::instance(). One process-wide object that lives until the process ends.
VpnEngine *defaultVpnEngine();
