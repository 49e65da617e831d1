#include "tdslogin.h"

#include <QtEndian>

namespace zelvan::tdsserver {

namespace {

// Offsets of the record's fixed part (MS-TDS 2.2.6.4).
constexpr int FixedPartSize = 94;
constexpr int VersionAt = 4;
constexpr int PacketSizeAt = 8;
constexpr int HostNameAt = 36;
constexpr int UserNameAt = 40;
constexpr int PasswordAt = 44;
constexpr int AppNameAt = 48;
constexpr int ServerNameAt = 52;
constexpr int LanguageAt = 64;
constexpr int DatabaseAt = 68;

// A text of the record, by the offset and length in characters found at `at`.
std::optional<QByteArray> field(const QByteArray &body, int at)
{
    const int offset = qFromLittleEndian<quint16>(body.constData() + at);
    const int bytes = qFromLittleEndian<quint16>(body.constData() + at + 2) * 2;
    if (offset + bytes > body.size())
        return std::nullopt;
    return body.mid(offset, bytes);
}

QString utf16(const QByteArray &bytes)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()), bytes.size() / 2);
}

// The client swaps each byte's halves, then XORs it with A5.
QString decodePassword(QByteArray bytes)
{
    for (char &byte : bytes) {
        const quint8 b = quint8(byte) ^ 0xA5;
        byte = char(quint8(b << 4 | b >> 4));
    }
    return utf16(bytes);
}

} // namespace

std::optional<Login7> parseLogin7(const QByteArray &body)
{
    if (body.size() < FixedPartSize)
        return std::nullopt;
    Login7 login;
    login.tdsVersion = qFromLittleEndian<quint32>(body.constData() + VersionAt);
    login.packetSize = int(qFromLittleEndian<quint32>(body.constData() + PacketSizeAt));
    QString *const texts[] = {&login.hostName, &login.userName, &login.password, &login.appName, &login.serverName,
                              &login.language, &login.database};
    const int offsets[] = {HostNameAt, UserNameAt, PasswordAt, AppNameAt, ServerNameAt, LanguageAt, DatabaseAt};
    for (int i = 0; i < 7; ++i) {
        const std::optional<QByteArray> bytes = field(body, offsets[i]);
        if (!bytes)
            return std::nullopt;
        *texts[i] = offsets[i] == PasswordAt ? decodePassword(*bytes) : utf16(*bytes);
    }
    return login;
}

QByteArray preLoginReply()
{
    // Options: type, offset and length (big-endian), then 0xFF and the data:
    // VERSION 16.0.4000.0, ENCRYPTION 2 (not supported), MARS 0.
    return QByteArray::fromHex("00" "0010" "0006"
                               "01" "0016" "0001"
                               "04" "0017" "0001"
                               "ff"
                               "10000fa00000"
                               "02"
                               "00");
}

} // namespace zelvan::tdsserver
