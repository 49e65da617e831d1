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
    // What a SQL Server client also sees of the type (the TDS test server
    // sends it): a DECIMAL's precision (18 unless declared), a text's
    // declared length in characters (0: none or MAX) and whether it is
    // national (NCHAR, NVARCHAR, NTEXT), and the four-byte forms SMALLMONEY,
    // REAL and SMALLDATETIME.
    int precision = 0;
    int length = 0;
    bool national = false;
    bool narrow = false;

    // Parses a declared type such as "MONEY", "DECIMAL(18, 2)", "nvarchar(50)".
    static SqlServerType fromDeclared(QStringView declared);
    // The type SQL Server gives an aggregate over a column of this type.
    SqlServerType aggregated(QStringView function) const;
};

} // namespace zelvan::database
