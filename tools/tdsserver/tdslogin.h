#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace zelvan::tdsserver {

// TDS 7.4, the version this server speaks and acknowledges.
constexpr quint32 Tds74 = 0x74000004;

// What a client's LOGIN7 record says.
struct Login7
{
    quint32 tdsVersion = 0;
    int packetSize = 0;  // 0: the server's choice
    QString hostName;
    QString userName;
    QString password;
    QString appName;
    QString serverName;
    QString language;
    QString database;
};

// The record's fields; nullopt when it is too short or a text lies outside it.
std::optional<Login7> parseLogin7(const QByteArray &body);

// The answer to PRELOGIN: a version, no encryption (so the login arrives in
// clear), no MARS. A client that hears of no MARS option at all falls back to
// TDS 7.1, so the option is there, switched off.
QByteArray preLoginReply();

} // namespace zelvan::tdsserver
