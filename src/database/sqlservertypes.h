#pragma once

#include <QStringView>

namespace zelvan::database {

// The SQL Server column types an embedded instance declares, and so the
// Variant type a value of that column reads back as.
struct SqlServerType
{
    enum Kind {
        Unknown,    // no declared type: the stored value decides
        Bit,        // Boolean
        TinyInt,    // Byte
        SmallInt,   // Integer
        Int,        // Long
        BigInt,     // Decimal
        Money,      // Currency (MONEY, SMALLMONEY)
        Decimal,    // Decimal with the declared scale (DECIMAL, NUMERIC)
        Float,      // Double (FLOAT, REAL)
        DateTime,   // Date (DATETIME, SMALLDATETIME, DATE, DATETIME2)
        Text,       // String (CHAR, VARCHAR, NCHAR, NVARCHAR, TEXT, NTEXT ...)
    };

    Kind kind = Unknown;
    int scale = 0;  // Decimal only

    // Parses a declared type such as "MONEY", "DECIMAL(18, 2)", "nvarchar(50)".
    static SqlServerType fromDeclared(QStringView declared);
    // The type SQL Server gives an aggregate over a column of this type.
    SqlServerType aggregated(QStringView function) const;
};

} // namespace zelvan::database
