#pragma once

#include "database/sqlservertypes.h"
#include "runtime/err.h"
#include "runtime/variant.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace zelvan::database {

// What the ODBC back end decides without talking to a driver: the Variant
// type of a column, exact numbers from their text, and errors from the
// driver's diagnostic records.

// One diagnostic record of a failed ODBC call.
struct OdbcDiagnostic
{
    QString state;       // SQLSTATE, e.g. "28000"
    qint32 native = 0;   // the server's error number, e.g. 18456
    QString text;
};

// The type a column reads back as, from the ODBC data type code, the column's
// decimal digits and the driver's name for the type. MONEY has no ODBC type
// of its own (SQL Server reports it as DECIMAL(19,4)); its name tells it apart.
SqlServerType odbcColumnType(int odbcDataType, int decimalDigits, QStringView typeName);

// MONEY as Currency, DECIMAL as Decimal with the type's scale, read from the
// driver's text (".5", "-12.3400"), never through a double. nullopt when the
// text is no number; throws overflow when it can't be held.
std::optional<runtime::Variant> exactNumber(QStringView text, const SqlServerType &type);

// A date and time as the runtime's date; nullopt for an impossible one.
std::optional<runtime::Variant> odbcDate(int year, int month, int day, int hour, int minute, int second,
                                quint32 fractionNanoseconds);

// The driver's texts of all records, one line each; a fallback when there are none.
QString odbcMessage(const QList<OdbcDiagnostic> &records, const QString &fallback);

// A failed connection: a refused login (SQLSTATE 28000, error 18456) is
// 80040E4D; anything else, including a database the login may not open, is
// 80004005.
runtime::Err odbcConnectError(const QList<OdbcDiagnostic> &records);

// A statement the server rejected, or a failure while reading its rows.
runtime::Err odbcStatementError(const QList<OdbcDiagnostic> &records);

} // namespace zelvan::database
