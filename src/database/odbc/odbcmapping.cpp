#include "database/odbc/odbcmapping.h"

#include <QDate>
#include <QTime>

#include <algorithm>

namespace zelvan::database {

namespace {

// ODBC's data type codes (sql.h, sqlext.h); fixed by the ODBC standard, so
// this file needs no ODBC header.
enum OdbcType : int {
    Numeric = 2, DecimalType = 3, Integer = 4, SmallInt = 5, Float = 6, Real = 7, Double = 8,
    DateOdbc2 = 9, TimestampOdbc2 = 11, TypeDate = 91, TypeTimestamp = 93,
    BigInt = -5, TinyInt = -6, Bit = -7,
};

constexpr qint32 LoginRefused = 18456;
constexpr qint32 CannotOpenDatabase = 4060;

} // namespace

SqlServerType odbcColumnType(int odbcDataType, int decimalDigits, QStringView typeName)
{
    SqlServerType type;
    if (typeName.contains(u"money", Qt::CaseInsensitive)) {
        type.kind = SqlServerType::Money;
        return type;
    }
    switch (odbcDataType) {
    case Bit:
        type.kind = SqlServerType::Bit;
        break;
    case TinyInt:
        type.kind = SqlServerType::TinyInt;
        break;
    case SmallInt:
        type.kind = SqlServerType::SmallInt;
        break;
    case Integer:
        type.kind = SqlServerType::Int;
        break;
    case BigInt:
        type.kind = SqlServerType::BigInt;
        break;
    case Numeric:
    case DecimalType:
        type.kind = SqlServerType::Decimal;
        type.scale = std::clamp(decimalDigits, 0, 28);
        break;
    case Float:
    case Real:
    case Double:
        type.kind = SqlServerType::Float;
        break;
    case DateOdbc2:
    case TimestampOdbc2:
    case TypeDate:
    case TypeTimestamp:
        type.kind = SqlServerType::DateTime;
        break;
    default:
        // Character types, and whatever else a driver may hand out, read as text.
        type.kind = SqlServerType::Text;
        break;
    }
    return type;
}

std::optional<runtime::Variant> exactNumber(QStringView text, const SqlServerType &type)
{
    if (type.kind == SqlServerType::Money) {
        if (const auto value = runtime::Currency::parse(text))
            return runtime::Variant::currency(*value);
        return std::nullopt;
    }
    const auto value = runtime::Decimal::parse(text);
    if (!value)
        return std::nullopt;
    // SQL Server hands a DECIMAL out with its declared scale.
    runtime::Decimal scaled = value->rounded(type.scale);
    if (scaled.scale() < type.scale)
        scaled = scaled + runtime::Decimal::fromParts(false, 0, 0, type.scale);
    return runtime::Variant::decimal(scaled);
}

std::optional<runtime::Variant> odbcDate(int year, int month, int day, int hour, int minute, int second,
                                quint32 fractionNanoseconds)
{
    const QDate date(year, month, day);
    // The runtime's dates keep milliseconds; finer digits are cut, never rounded into the next second.
    const QTime time(hour, minute, second, int(std::min<quint32>(fractionNanoseconds / 1000000, 999)));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return runtime::Variant::date(runtime::oleDateFrom(date, time));
}

QString odbcMessage(const QList<OdbcDiagnostic> &records, const QString &fallback)
{
    QStringList lines;
    for (const OdbcDiagnostic &record : records) {
        const QString text = record.text.trimmed();
        if (!text.isEmpty() && !lines.contains(text))
            lines.append(text);
    }
    // A carriage return is the message boxes' line break.
    return lines.isEmpty() ? fallback : lines.join(u'\r');
}

runtime::Err odbcConnectError(const QList<OdbcDiagnostic> &records)
{
    bool refused = false;
    bool database = false;
    for (const OdbcDiagnostic &record : records) {
        refused = refused || record.state == u"28000" || record.native == LoginRefused;
        database = database || record.native == CannotOpenDatabase;
    }
    // SQL Server follows a database it can't open with a refused login; the
    // program tells that apart as a failed open, not as a wrong password.
    const QString text = odbcMessage(records, QStringLiteral(u"Sunucuya bağlanılamadı."));
    return runtime::Err(refused && !database ? runtime::ErrNo::LoginFailed : runtime::ErrNo::OpenFailed, text);
}

runtime::Err odbcStatementError(const QList<OdbcDiagnostic> &records)
{
    return runtime::Err(runtime::ErrNo::CommandFailed, odbcMessage(records, QStringLiteral(u"Sunucu komutu çalıştıramadı.")));
}

} // namespace zelvan::database
