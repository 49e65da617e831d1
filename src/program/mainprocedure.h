#pragma once

namespace zelvan::program {

class Program;

// The start-up procedure: reads the launch parameters, then either opens the
// login dialog (first field "-1" or no parameters) or goes straight to the
// connection and the report.
void Main(Program &program);

} // namespace zelvan::program
