#include "tdstokens.h"

#include "tdslogin.h"

#include <QtEndian>

namespace zelvan::tdsserver {

namespace {

enum Token : quint8 {
    ColumnsToken = 0x81,
    ErrorToken = 0xAA,
    InfoToken = 0xAB,
    LoginAckToken = 0xAD,
    EnvChangeToken = 0xE3,
    DoneToken = 0xFD,
};

template <typename T>
void put(QByteArray &out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian<T>(value, bytes);
    out.append(bytes, sizeof(T));
}

QByteArray utf16(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (const QChar ch : text)
        put<quint16>(bytes, ch.unicode());
    return bytes;
}

// A text with its length in characters in one byte (B_VARCHAR) or two (US_VARCHAR).
void putShortText(QByteArray &out, const QString &text)
{
    const QString cut = text.left(255);
    out.append(char(cut.size()));
    out.append(utf16(cut));
}

void putText(QByteArray &out, const QString &text)
{
    put<quint16>(out, quint16(text.size()));
    out.append(utf16(text));
}

// A token whose length follows its type in two bytes.
void putWithLength(QByteArray &out, Token token, const QByteArray &body)
{
    out.append(char(token));
    put<quint16>(out, quint16(body.size()));
    out.append(body);
}

} // namespace

QString serverName()
{
    return QStringLiteral("ZELVANTDS");
}

void writeMessage(QByteArray &out, qint32 number, quint8 state, quint8 severity, const QString &text)
{
    QByteArray body;
    put<qint32>(body, number);
    body.append(char(state));
    body.append(char(severity));
    putText(body, text);
    putShortText(body, serverName());
    putShortText(body, QString());  // no procedure
    put<qint32>(body, 1);           // line
    putWithLength(out, severity > 10 ? ErrorToken : InfoToken, body);
}

void writeEnvChange(QByteArray &out, EnvChange type, const QString &newValue, const QString &oldValue)
{
    QByteArray body(1, char(type));
    putShortText(body, newValue);
    putShortText(body, oldValue);
    putWithLength(out, EnvChangeToken, body);
}

void writeCollationChange(QByteArray &out, const QByteArray &collation)
{
    QByteArray body(1, char(CollationChange));
    body.append(char(collation.size()));
    body.append(collation);
    body.append('\0');
    putWithLength(out, EnvChangeToken, body);
}

void writeLoginAck(QByteArray &out)
{
    QByteArray body(1, '\x01');  // SQL_TSQL
    QByteArray version(4, '\0');
    qToBigEndian<quint32>(Tds74, version.data());
    body.append(version);
    putShortText(body, QStringLiteral("Microsoft SQL Server"));
    body.append(QByteArray::fromHex("10000fa0"));  // 16.0.4000
    putWithLength(out, LoginAckToken, body);
}

void writeColumns(QByteArray &out, const std::vector<WireColumn> &columns)
{
    out.append(char(ColumnsToken));
    put<quint16>(out, quint16(columns.size()));
    for (const WireColumn &column : columns) {
        put<quint32>(out, 0);       // user type
        put<quint16>(out, 0x0001);  // nullable
        writeTypeInfo(out, column);
        putShortText(out, column.name);
    }
}

void writeDone(QByteArray &out, quint16 status, quint16 command, quint64 rows)
{
    out.append(char(DoneToken));
    put<quint16>(out, status);
    put<quint16>(out, command);
    put<quint64>(out, rows);
}

} // namespace zelvan::tdsserver
