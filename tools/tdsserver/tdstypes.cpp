#include "tdstypes.h"

#include "runtime/codepage1254.h"
#include "runtime/decimal.h"
#include "runtime/err.h"

#include <QtEndian>

#include <cmath>
#include <optional>

namespace zelvan::tdsserver {

using database::SqlServerType;
using runtime::Decimal;
using runtime::Variant;

namespace {

constexpr int MaxNVarCharBytes = 8000;
constexpr qint64 MsPerDay = 86400000;
constexpr qint64 TicksPerDay = 25920000;  // DATETIME counts three hundredths of a second
constexpr qint64 OleDaysTo1900 = 2;       // day 0 of DATETIME, 1 January 1900

template <typename T>
void put(QByteArray &out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian<T>(value, bytes);
    out.append(bytes, sizeof(T));
}

// A DECIMAL's width on the wire, by its precision.
int decimalSize(int precision)
{
    return precision <= 9 ? 5 : precision <= 19 ? 9 : precision <= 28 ? 13 : 17;
}

WireColumn fixed(quint8 type, int size)
{
    WireColumn column;
    column.type = type;
    column.size = size;
    return column;
}

WireColumn decimalColumn(int precision, int scale)
{
    WireColumn column = fixed(DecimalN, decimalSize(precision));
    column.precision = precision;
    column.scale = scale;
    return column;
}

WireColumn textColumn(const SqlServerType &type)
{
    const int bytes = type.national ? type.length * 2 : type.length;
    WireColumn column = fixed(type.national ? NVarChar : VarChar, MaxLength);
    if (type.length > 0 && bytes <= MaxNVarCharBytes)
        column.size = bytes;
    return column;
}

// A column without a declared type: its first value's type.
WireColumn sampledColumn(const Variant &sample)
{
    switch (sample.type()) {
    case Variant::Type::Boolean:
        return fixed(BitN, 1);
    case Variant::Type::Byte:
        return fixed(IntN, 1);
    case Variant::Type::Integer:
        return fixed(IntN, 2);
    case Variant::Type::Long:
        return fixed(IntN, 4);
    case Variant::Type::Currency:
        return fixed(MoneyN, 8);
    case Variant::Type::Decimal:
        return decimalColumn(38, sample.decimalValue().scale());
    case Variant::Type::Double:
        return fixed(FloatN, 8);
    case Variant::Type::Date:
        return fixed(DateTimeN, 8);
    default:
        return fixed(NVarChar, MaxLength);
    }
}

} // namespace

WireColumn wireColumn(const QString &name, const SqlServerType &type, const Variant &sample)
{
    WireColumn column;
    switch (type.kind) {
    case SqlServerType::Bit:
        column = fixed(BitN, 1);
        break;
    case SqlServerType::TinyInt:
        column = fixed(IntN, 1);
        break;
    case SqlServerType::SmallInt:
        column = fixed(IntN, 2);
        break;
    case SqlServerType::Int:
        column = fixed(IntN, 4);
        break;
    case SqlServerType::BigInt:
        column = fixed(IntN, 8);
        break;
    case SqlServerType::Money:
        column = fixed(MoneyN, type.narrow ? 4 : 8);
        break;
    case SqlServerType::Decimal:
        column = decimalColumn(type.precision > 0 ? type.precision : 18, type.scale);
        break;
    case SqlServerType::Float:
        column = fixed(FloatN, type.narrow ? 4 : 8);
        break;
    case SqlServerType::DateTime:
        column = fixed(DateTimeN, type.narrow ? 4 : 8);
        break;
    case SqlServerType::Text:
        column = textColumn(type);
        break;
    case SqlServerType::Unknown:
        column = sampledColumn(sample);
        break;
    }
    column.name = name;
    return column;
}

QString wireTypeName(const WireColumn &column)
{
    switch (column.type) {
    case IntN:
        return column.size == 1 ? QStringLiteral("tinyint") : column.size == 2 ? QStringLiteral("smallint")
               : column.size == 4                           ? QStringLiteral("int")
                                                            : QStringLiteral("bigint");
    case BitN:
        return QStringLiteral("bit");
    case MoneyN:
        return column.size == 4 ? QStringLiteral("smallmoney") : QStringLiteral("money");
    case DecimalN:
        return QStringLiteral("numeric");
    case FloatN:
        return column.size == 4 ? QStringLiteral("real") : QStringLiteral("float");
    case DateTimeN:
        return column.size == 4 ? QStringLiteral("smalldatetime") : QStringLiteral("datetime");
    case VarChar:
        return QStringLiteral("varchar");
    default:
        return QStringLiteral("nvarchar");
    }
}

QByteArray turkishCollation()
{
    // LCID 0x41F; flags: ignore case, kana and width (CI_AS); sort id 0.
    return QByteArray::fromHex("1f04d00000");
}

void writeTypeInfo(QByteArray &out, const WireColumn &column)
{
    out.append(char(column.type));
    if (column.type == VarChar || column.type == NVarChar) {
        put<quint16>(out, quint16(column.size));
        out.append(turkishCollation());
        return;
    }
    out.append(char(column.size));
    if (column.type == DecimalN) {
        out.append(char(column.precision));
        out.append(char(column.scale));
    }
}

namespace {

// Any number as an exact decimal; nullopt for what is no number.
std::optional<Decimal> exactValue(const Variant &value)
{
    try {
        switch (value.type()) {
        case Variant::Type::Boolean:
            return Decimal::fromInt64(value.boolValue() ? 1 : 0);
        case Variant::Type::Byte:
        case Variant::Type::Integer:
        case Variant::Type::Long:
            return Decimal::fromInt64(value.intValue());
        case Variant::Type::Currency:
            return Decimal::fromCurrency(value.currencyValue());
        case Variant::Type::Decimal:
            return value.decimalValue();
        case Variant::Type::Double:
            return Decimal::fromDouble(value.doubleValue());
        case Variant::Type::String:
            return Decimal::parse(value.stringValue());
        default:
            return std::nullopt;
        }
    } catch (const runtime::Err &) {
        return std::nullopt;
    }
}

bool writeInt(QByteArray &out, int size, const Variant &value)
{
    qint64 v = 0;
    if (value.type() == Variant::Type::Long || value.type() == Variant::Type::Integer || value.type() == Variant::Type::Byte) {
        v = value.intValue();
    } else {
        const std::optional<Decimal> exact = exactValue(value);
        if (!exact)
            return false;
        try {
            v = exact->toInt64();
        } catch (const runtime::Err &) {
            return false;
        }
    }
    const int bits = size * 8;
    if (size < 8 && (size == 1 ? (v < 0 || v > 255) : (v < -(qint64(1) << (bits - 1)) || v >= (qint64(1) << (bits - 1)))))
        return false;
    out.append(char(size));
    if (size == 1)
        out.append(char(quint8(v)));
    else if (size == 2)
        put<qint16>(out, qint16(v));
    else if (size == 4)
        put<qint32>(out, qint32(v));
    else
        put<qint64>(out, v);
    return true;
}

// MONEY: the count of ten-thousandths, its high half first.
bool writeMoney(QByteArray &out, int size, const Variant &value)
{
    qint64 raw = 0;
    if (value.type() == Variant::Type::Currency) {
        raw = value.currencyValue().raw();
    } else {
        const std::optional<Decimal> exact = exactValue(value);
        if (!exact)
            return false;
        try {
            raw = exact->toCurrency().raw();
        } catch (const runtime::Err &) {
            return false;
        }
    }
    if (size == 4) {
        if (raw < INT32_MIN || raw > INT32_MAX)
            return false;
        out.append(char(4));
        put<qint32>(out, qint32(raw));
        return true;
    }
    out.append(char(8));
    put<quint32>(out, quint32(quint64(raw) >> 32));
    put<quint32>(out, quint32(quint64(raw)));
    return true;
}

// DECIMAL: a sign byte (1 positive) and the unsigned integer of the value at the column's scale.
bool writeDecimal(QByteArray &out, const WireColumn &column, const Variant &value)
{
    const std::optional<Decimal> exact = exactValue(value);
    if (!exact)
        return false;
    Decimal scaled;
    try {
        scaled = exact->rounded(column.scale);
        if (scaled.scale() < column.scale)
            scaled = scaled + Decimal::fromParts(false, 0, 0, column.scale);
        // At most `precision` digits: below 10^(precision - scale).
        const int whole = column.precision - column.scale;
        if (whole < 29 && scaled.abs() >= *Decimal::parse(QStringLiteral("1") + QString(whole, u'0')))
            return false;
    } catch (const runtime::Err &) {
        return false;
    }
    out.append(char(column.size));
    out.append(char(scaled.isNegative() ? 0 : 1));
    const int bytes = column.size - 1;
    QByteArray magnitude;
    put<quint64>(magnitude, scaled.lo());
    put<quint32>(magnitude, scaled.hi());
    magnitude.resize(16, '\0');
    for (int i = bytes; i < 16; ++i) {
        if (magnitude[i] != 0)
            return false;
    }
    out.append(magnitude.constData(), bytes);
    return true;
}

bool writeFloat(QByteArray &out, int size, const Variant &value)
{
    double v = 0;
    if (value.type() == Variant::Type::Double) {
        v = value.doubleValue();
    } else {
        const std::optional<Decimal> exact = exactValue(value);
        if (!exact)
            return false;
        v = exact->toDouble();
    }
    out.append(char(size));
    if (size == 4)
        put<float>(out, float(v));
    else
        put<double>(out, v);
    return true;
}

// The runtime's date number as days since 1900 and the time of day in milliseconds.
bool writeDateTime(QByteArray &out, int size, const Variant &value)
{
    if (value.type() != Variant::Type::Date)
        return false;
    const double date = value.doubleValue();
    // A negative date number counts its fraction forward from the day too.
    double whole = std::trunc(date);
    qint64 days = qint64(whole);
    qint64 ms = std::llround(std::fabs(date - whole) * double(MsPerDay));
    if (ms >= MsPerDay) {
        ++days;
        ms -= MsPerDay;
    }
    days -= OleDaysTo1900;
    if (size == 4) {
        const qint64 minutes = (ms + 30000) / 60000;
        if (days < 0 || days > 65535)
            return false;
        out.append(char(4));
        put<quint16>(out, quint16(days + minutes / 1440));
        put<quint16>(out, quint16(minutes % 1440));
        return true;
    }
    qint64 ticks = (ms * 3 + 5) / 10;
    if (ticks >= TicksPerDay) {
        ++days;
        ticks -= TicksPerDay;
    }
    out.append(char(8));
    put<qint32>(out, qint32(days));
    put<quint32>(out, quint32(ticks));
    return true;
}

QString textOf(const Variant &value)
{
    return value.type() == Variant::Type::String ? value.stringValue() : value.toString();
}

// VARCHAR in code page 1254, NVARCHAR in UTF-16; MAX columns in pieces (PLP).
bool writeText(QByteArray &out, const WireColumn &column, const Variant &value)
{
    const QString text = textOf(value);
    QByteArray bytes;
    if (column.type == VarChar) {
        bytes = runtime::toCp1254(text);
    } else {
        bytes.reserve(text.size() * 2);
        for (const QChar ch : text)
            put<quint16>(bytes, ch.unicode());
    }
    if (column.size != MaxLength) {
        if (bytes.size() > column.size)
            return false;
        put<quint16>(out, quint16(bytes.size()));
        out.append(bytes);
        return true;
    }
    put<quint64>(out, quint64(bytes.size()));
    if (!bytes.isEmpty()) {
        put<quint32>(out, quint32(bytes.size()));
        out.append(bytes);
    }
    put<quint32>(out, 0);
    return true;
}

bool writeValue(QByteArray &out, const WireColumn &column, const Variant &value)
{
    switch (column.type) {
    case IntN:
        return writeInt(out, column.size, value);
    case BitN:
        if (value.type() != Variant::Type::Boolean && !exactValue(value))
            return false;
        out.append(char(1));
        out.append(char(value.type() == Variant::Type::Boolean ? value.boolValue() : !exactValue(value)->isZero()));
        return true;
    case MoneyN:
        return writeMoney(out, column.size, value);
    case DecimalN:
        return writeDecimal(out, column, value);
    case FloatN:
        return writeFloat(out, column.size, value);
    case DateTimeN:
        return writeDateTime(out, column.size, value);
    default:
        return writeText(out, column, value);
    }
}

constexpr char RowToken = char(0xD1);
constexpr char NullBitmapRowToken = char(0xD2);

} // namespace

int writeRow(QByteArray &out, const std::vector<WireColumn> &columns, const std::vector<Variant> &row)
{
    const qsizetype start = out.size();
    bool anyNull = false;
    for (const Variant &value : row)
        anyNull = anyNull || value.isNull() || value.isEmpty();
    out.append(anyNull ? NullBitmapRowToken : RowToken);
    if (anyNull) {
        QByteArray bitmap((qsizetype(columns.size()) + 7) / 8, '\0');
        for (size_t i = 0; i < columns.size(); ++i) {
            if (row[i].isNull() || row[i].isEmpty())
                bitmap[qsizetype(i / 8)] = char(bitmap[qsizetype(i / 8)] | (1 << (i % 8)));
        }
        out.append(bitmap);
    }
    for (size_t i = 0; i < columns.size(); ++i) {
        if (row[i].isNull() || row[i].isEmpty())
            continue;
        if (!writeValue(out, columns[i], row[i])) {
            out.truncate(start);
            return int(i);
        }
    }
    return -1;
}

} // namespace zelvan::tdsserver
