#pragma once

#include "tdstypes.h"

#include <QString>

namespace zelvan::runtime {
class Err;
}

namespace zelvan::tdsserver {

// An error as SQL Server sends it.
struct ServerError
{
    qint32 number = 0;
    quint8 state = 1;
    quint8 severity = 16;
    QString text;
};

// The embedded back end words its errors as SQL Server does; their numbers
// are SQL Server's (208, 207, 8114, 8115 ...). Errors SQL Server has no
// word for keep their text under the number of a user-defined error, 50000.
ServerError statementError(const runtime::Err &error);

// A value that its column cannot hold.
ServerError valueError(const WireColumn &column);

// The refusal of a login: what SQL Server sends, in order (a database it
// can't open comes first, then the refused login).
QList<ServerError> loginErrors(const runtime::Err &error, const QString &user);

// USE of a database the instance does not have.
ServerError missingDatabase(const QString &database);

} // namespace zelvan::tdsserver
