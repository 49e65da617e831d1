#pragma once

#include "database/sqlservertypes.h"
#include "runtime/variant.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace zelvan::tdsserver {

// The wire types this server sends, as SQL Server sends them (MS-TDS 2.2.5.4).
enum WireType : quint8 {
    IntN = 0x26,
    BitN = 0x68,
    DecimalN = 0x6A,
    FloatN = 0x6D,
    MoneyN = 0x6E,
    DateTimeN = 0x6F,
    VarChar = 0xA7,      // BIGVARCHRTYPE, code page 1254 by the column's collation
    NVarChar = 0xE7,     // NVARCHARTYPE, UTF-16
};

// A length that marks VARCHAR(MAX) and NVARCHAR(MAX), whose values travel in pieces.
constexpr int MaxLength = 0xFFFF;

// One result column as it goes on the wire.
struct WireColumn
{
    QString name;
    quint8 type = NVarChar;
    int size = MaxLength;  // bytes: a number's width, a text's maximum, or MaxLength
    int precision = 0;     // DecimalN
    int scale = 0;         // DecimalN
};

// The column SQL Server would send for a column of the embedded instance's
// type; a column without a declared type takes one from its first value.
WireColumn wireColumn(const QString &name, const database::SqlServerType &type, const runtime::Variant &sample);

// SQL Server's name of the column's type, as its overflow message gives it.
QString wireTypeName(const WireColumn &column);

// The column's TYPE_INFO in COLMETADATA.
void writeTypeInfo(QByteArray &out, const WireColumn &column);

// One ROW, or NBCROW when a value is NULL. Returns the index of a value that
// its column cannot hold (out left as it was), else -1.
int writeRow(QByteArray &out, const std::vector<WireColumn> &columns, const std::vector<runtime::Variant> &row);

// The collation of every text: Turkish_CI_AS (LCID 041F, code page 1254).
QByteArray turkishCollation();

} // namespace zelvan::tdsserver
