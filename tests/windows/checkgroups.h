#pragma once

#include "checks.h"

namespace zelvan::windowscheck {

// The cases of each unit, one file each.
void registryChecks(Checks &checks);
void systemInfoChecks(Checks &checks);
void processChecks(Checks &checks);
void odbcChecks(Checks &checks);

} // namespace zelvan::windowscheck
