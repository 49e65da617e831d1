#pragma once

#include "tdstypes.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace zelvan::tdsserver {

// The tokens of a reply (MS-TDS 2.2.7), appended to its bytes.

// DONE's status bits.
enum DoneStatus : quint16 {
    DoneFinal = 0x00,
    DoneMore = 0x01,
    DoneError = 0x02,
    DoneCount = 0x10,
    DoneAttention = 0x20,
};

// DONE's current command: a SELECT, or anything else.
constexpr quint16 SelectCommand = 0xC1;

// ENVCHANGE's kinds.
enum EnvChange : quint8 {
    DatabaseChange = 1,
    LanguageChange = 2,
    PacketSizeChange = 4,
    CollationChange = 7,
};

// An ERROR, or an INFO when `severity` is 10 or less, as SQL Server words it.
void writeMessage(QByteArray &out, qint32 number, quint8 state, quint8 severity, const QString &text);
void writeEnvChange(QByteArray &out, EnvChange type, const QString &newValue, const QString &oldValue);
void writeCollationChange(QByteArray &out, const QByteArray &collation);
void writeLoginAck(QByteArray &out);
void writeColumns(QByteArray &out, const std::vector<WireColumn> &columns);
void writeDone(QByteArray &out, quint16 status, quint16 command, quint64 rows);

// The name the server gives itself in messages and in LOGINACK.
QString serverName();

} // namespace zelvan::tdsserver
