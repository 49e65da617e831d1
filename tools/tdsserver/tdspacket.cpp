#include "tdspacket.h"

#include <QtEndian>

namespace zelvan::tdsserver {

namespace {

constexpr quint8 EndOfMessage = 0x01;

} // namespace

std::optional<Message> MessageReader::next()
{
    while (!m_broken && m_buffer.size() - m_read >= PacketHeaderSize) {
        const char *header = m_buffer.constData() + m_read;
        const int length = qFromBigEndian<quint16>(header + 2);
        if (length < PacketHeaderSize || length > MaxPacketSize) {
            m_broken = true;
            break;
        }
        if (m_buffer.size() - m_read < length)
            break;
        m_partial.type = quint8(header[0]);
        m_partial.body.append(header + PacketHeaderSize, length - PacketHeaderSize);
        const bool last = quint8(header[1]) & EndOfMessage;
        m_read += length;
        if (m_read > 65536 || m_read == m_buffer.size()) {
            m_buffer.remove(0, m_read);
            m_read = 0;
        }
        if (last) {
            Message message = std::move(m_partial);
            m_partial = Message();
            return message;
        }
    }
    return std::nullopt;
}

ReplyWriter::ReplyWriter(int packetSize, quint16 spid)
    : m_packetSize(packetSize)
    , m_spid(spid)
{
}

QByteArray ReplyWriter::packet(QByteArrayView body, bool last)
{
    QByteArray bytes(PacketHeaderSize, '\0');
    bytes[0] = char(ReplyPacket);
    bytes[1] = char(last ? EndOfMessage : 0);
    qToBigEndian<quint16>(quint16(body.size() + PacketHeaderSize), bytes.data() + 2);
    qToBigEndian<quint16>(m_spid, bytes.data() + 4);
    bytes[6] = char(m_packetId++);
    bytes.append(body);
    return bytes;
}

QByteArray ReplyWriter::takeFullPackets()
{
    const qsizetype bodySize = m_packetSize - PacketHeaderSize;
    QByteArray out;
    qsizetype at = 0;
    // A full packet is sent only when more follows: the last one must carry the end.
    while (m_payload.size() - at > bodySize) {
        out += packet(QByteArrayView(m_payload.constData() + at, bodySize), false);
        at += bodySize;
    }
    m_payload.remove(0, at);
    return out;
}

QByteArray ReplyWriter::finish()
{
    QByteArray out = takeFullPackets();
    out += packet(m_payload, true);
    m_payload.clear();
    return out;
}

} // namespace zelvan::tdsserver
