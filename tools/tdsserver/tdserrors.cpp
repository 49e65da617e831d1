#include "tdserrors.h"

#include "runtime/err.h"

#include <QList>

namespace zelvan::tdsserver {

namespace {

struct KnownError
{
    const char16_t *start;
    qint32 number;
};

// By the start of the text.
constexpr KnownError KnownErrors[] = {
    {u"Invalid object name ", 208},
    {u"Invalid column name ", 207},
    {u"Error converting data type ", 8114},
    {u"Arithmetic overflow error ", 8115},
    {u"Database '", 911},
};

constexpr qint32 UserDefined = 50000;

} // namespace

ServerError statementError(const runtime::Err &error)
{
    ServerError result;
    result.text = error.description();
    result.number = UserDefined;
    for (const KnownError &known : KnownErrors) {
        if (result.text.startsWith(QStringView(known.start)))
            result.number = known.number;
    }
    return result;
}

ServerError valueError(const WireColumn &column)
{
    if (column.type == VarChar || column.type == NVarChar)
        return {8152, 13, 16, QStringLiteral("String or binary data would be truncated.")};
    if (column.type == DateTimeN)
        return {241, 1, 16, QStringLiteral("Conversion failed when converting date and/or time from character string.")};
    return {8115, 2, 16, QStringLiteral("Arithmetic overflow error converting expression to data type %1.").arg(wireTypeName(column))};
}

QList<ServerError> loginErrors(const runtime::Err &error, const QString &user)
{
    QList<ServerError> errors;
    if (error.number() != runtime::ErrNo::LoginFailed)
        errors.append({4060, 1, 11, error.description()});
    errors.append({18456, 1, 14, QStringLiteral("Login failed for user '%1'.").arg(user)});
    return errors;
}

ServerError missingDatabase(const QString &database)
{
    return {911, 1, 16,
            QStringLiteral("Database '%1' does not exist. Make sure that the name is entered correctly.").arg(database)};
}

} // namespace zelvan::tdsserver
