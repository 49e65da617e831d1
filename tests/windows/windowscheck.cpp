// Runs the plain-C++ Windows units against the system they call, under Wine
// (tools/mingw/check.sh): the ODBC cases reach Linux's drivers. One line per case, then the totals;
// the exit code is 1 when a case failed.

#include "checkgroups.h"
#include "childprocess.h"

using namespace zelvan::windowscheck;

int main()
{
    if (isChild())
        return runAsChild();
    Checks checks;
    registryChecks(checks);
    systemInfoChecks(checks);
    processChecks(checks);
    odbcChecks(checks);
    return checks.finish();
}
