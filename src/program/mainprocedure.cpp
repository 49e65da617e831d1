#include "program/mainprocedure.h"

#include "program/connectandshowreport.h"
#include "program/launchparams.h"
#include "program/program.h"

namespace zelvan::program {

void Main(Program &program)
{
    ParseLaunchParams(program);
    if (program.vars.LaunchParams.value(1) == u"-1") {
        program.showLoginDialog(program);
        return;
    }
    ConnectAndShowReport(program);
}

} // namespace zelvan::program
