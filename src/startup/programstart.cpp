#include "startup/programstart.h"

#include "startup/connectandshowreport.h"
#include "startup/launchparams.h"
#include "startup/program.h"

namespace zelvan {

void Main(Program &program)
{
    ParseLaunchParams(program);
    if (program.vars.LaunchParams.value(1) == u"-1") {
        program.showLoginDialog(program);
        return;
    }
    ConnectAndShowReport(program);
}

} // namespace zelvan
