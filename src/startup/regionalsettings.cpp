#include "startup/regionalsettings.h"

namespace zelvan {

void CheckRegionalSettings(Program &)
{
}

} // namespace zelvan
