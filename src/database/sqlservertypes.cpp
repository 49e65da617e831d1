#include "database/sqlservertypes.h"

#include "runtime/decimal.h"

#include <QString>

#include <algorithm>

namespace zelvan::database {

namespace {

// The text between a declared type's parentheses; empty without them.
QStringView arguments(QStringView declared, qsizetype paren)
{
    if (paren < 0)
        return {};
    const qsizetype close = declared.indexOf(u')', paren);
    return declared.mid(paren + 1, close < 0 ? -1 : close - paren - 1);
}

} // namespace

SqlServerType SqlServerType::fromDeclared(QStringView declared)
{
    SqlServerType type;
    declared = declared.trimmed();
    if (declared.isEmpty())
        return type;
    const qsizetype paren = declared.indexOf(u'(');
    const QStringView name = (paren < 0 ? declared : declared.left(paren)).trimmed();
    const auto is = [&](QStringView n) { return name.compare(n, Qt::CaseInsensitive) == 0; };

    if (is(u"BIT")) {
        type.kind = Bit;
    } else if (is(u"TINYINT")) {
        type.kind = TinyInt;
    } else if (is(u"SMALLINT")) {
        type.kind = SmallInt;
    } else if (is(u"INT") || is(u"INTEGER")) {
        type.kind = Int;
    } else if (is(u"BIGINT")) {
        type.kind = BigInt;
    } else if (is(u"MONEY") || is(u"SMALLMONEY")) {
        type.kind = Money;
        type.narrow = is(u"SMALLMONEY");
    } else if (is(u"DECIMAL") || is(u"NUMERIC") || is(u"DEC")) {
        type.kind = Decimal;
        type.precision = 18;
        const QStringView args = arguments(declared, paren);
        const qsizetype comma = args.indexOf(u',');
        bool ok = false;
        const int precision = args.left(comma).trimmed().toString().toInt(&ok);
        if (ok && precision >= 1)
            type.precision = std::min(precision, 38);
        if (comma >= 0) {
            const int scale = args.mid(comma + 1).trimmed().toString().toInt(&ok);
            // The Decimal holds 28 places: a wider scale reads as 28, rounded half to even.
            if (ok && scale >= 0)
                type.scale = std::min(scale, runtime::Decimal::MaxScale);
        }
    } else if (is(u"FLOAT") || is(u"REAL") || is(u"DOUBLE")) {
        type.kind = Float;
        type.narrow = is(u"REAL");
    } else if (is(u"DATETIME") || is(u"SMALLDATETIME") || is(u"DATE") || is(u"DATETIME2")) {
        type.kind = DateTime;
        type.narrow = is(u"SMALLDATETIME");
    } else if (is(u"CHAR") || is(u"VARCHAR") || is(u"NCHAR") || is(u"NVARCHAR") || is(u"TEXT") || is(u"NTEXT")
               || is(u"SYSNAME") || is(u"UNIQUEIDENTIFIER")) {
        type.kind = Text;
        type.national = name.startsWith(u'N', Qt::CaseInsensitive) || is(u"SYSNAME");
        bool ok = false;
        const int length = arguments(declared, paren).trimmed().toString().toInt(&ok);
        type.length = ok && length > 0 ? length : is(u"SYSNAME") ? 128 : is(u"UNIQUEIDENTIFIER") ? 36 : 0;
    }
    return type;
}

SqlServerType SqlServerType::aggregated(QStringView function) const
{
    SqlServerType result = *this;
    if (function.compare(u"COUNT", Qt::CaseInsensitive) == 0) {
        result = SqlServerType();
        result.kind = Int;
        return result;
    }
    if (function.compare(u"MIN", Qt::CaseInsensitive) == 0 || function.compare(u"MAX", Qt::CaseInsensitive) == 0)
        return result;
    // SUM and AVG: small whole numbers widen to int; bit can't be summed, int it is.
    // DECIMAL(p,s) widens to DECIMAL(38,s); SMALLMONEY to MONEY, REAL to FLOAT.
    switch (kind) {
    case Bit:
    case TinyInt:
    case SmallInt:
        result.kind = Int;
        break;
    case Decimal:
        result.precision = 38;
        break;
    default:
        break;
    }
    result.narrow = false;
    return result;
}

} // namespace zelvan::database
