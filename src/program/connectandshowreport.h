#pragma once

#include <QString>

namespace zelvan::program {

struct Degiskenler;
class Program;

// "Provider=SQLOLEDB.1;...;Data Source=<ServerName>", the values inserted as they are.
QString connectionStringFor(const Degiskenler &vars);

// Opens the company database, runs the start-up checks and the report right,
// then shows the report or refuses it. A failure to connect (or any error on
// the way) is shown with its details and ends the program.
void ConnectAndShowReport(Program &program);

} // namespace zelvan::program
