#pragma once

namespace zelvan {

class Program;

// Checks the workstation's regional settings before the company is opened.
void CheckRegionalSettings(Program &program);

} // namespace zelvan
