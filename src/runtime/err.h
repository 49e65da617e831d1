#pragma once

#include <QString>

#include <exception>
#include <string>

namespace zelvan::runtime {

// A run-time error: a number and a description, like the old runtime's Err
// object. Error traps tell errors apart only by their number.
class Err : public std::exception
{
public:
    Err(qint32 number, QString description);

    qint32 number() const { return m_number; }
    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return m_what.c_str(); }

private:
    qint32 m_number;
    QString m_description;
    std::string m_what;
};

// Error numbers the program tells apart or reports.
namespace ErrNo {
inline constexpr qint32 Overflow = 6;
inline constexpr qint32 TypeMismatch = 13;
inline constexpr qint32 InvalidUseOfNull = 94;
inline constexpr qint32 NoCurrentRecord = 3021;          // BOF or EOF, no current row
inline constexpr qint32 ItemNotFound = 3265;             // no column of that name
inline constexpr qint32 ObjectClosed = 3704;             // recordset or connection closed
inline constexpr qint32 LoginFailed = qint32(0x80040E4D);
inline constexpr qint32 OpenFailed = qint32(0x80004005);  // server or database unreachable
inline constexpr qint32 CommandFailed = qint32(0x80040E14); // the server rejected the SQL
} // namespace ErrNo

// The standard errors with the runtime's Turkish descriptions.
Err overflowError();
Err typeMismatchError();
Err invalidUseOfNullError();
Err noCurrentRecordError();
Err itemNotFoundError();
Err objectClosedError();

} // namespace zelvan::runtime
