#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace zelvan::tdsserver {

// The packet types of a TDS conversation that the server reads or writes.
enum PacketType : quint8 {
    SqlBatchPacket = 0x01,
    RpcPacket = 0x03,
    ReplyPacket = 0x04,
    AttentionPacket = 0x06,
    Login7Packet = 0x10,
    PreLoginPacket = 0x12,
};

constexpr int PacketHeaderSize = 8;
// What a packet may be at most, and what a login may ask for.
constexpr int MaxPacketSize = 32767;
constexpr int DefaultPacketSize = 4096;

// One message of the client, put together from its packets.
struct Message
{
    quint8 type = 0;
    QByteArray body;
};

// Cuts the bytes a client sends into messages: packets are joined until one
// carries the end-of-message status.
class MessageReader
{
public:
    void append(QByteArrayView bytes) { m_buffer.append(bytes); }
    // The next whole message; nullopt until it has arrived, or once the
    // stream is broken (a packet length no client sends).
    std::optional<Message> next();
    bool broken() const { return m_broken; }

private:
    QByteArray m_buffer;
    qsizetype m_read = 0;  // bytes of m_buffer already taken
    Message m_partial;
    bool m_broken = false;
};

// Writes one reply as packets of the session's size. A reply of many rows
// leaves in full packets while it is being written, the way a server
// streams a result; the last packet carries the end-of-message status.
class ReplyWriter
{
public:
    ReplyWriter(int packetSize, quint16 spid);

    void setPacketSize(int packetSize) { m_packetSize = packetSize; }
    QByteArray &payload() { return m_payload; }
    // The full packets the payload holds so far; the rest stays.
    QByteArray takeFullPackets();
    // Every packet that is left, the last one ending the reply.
    QByteArray finish();

private:
    QByteArray packet(QByteArrayView body, bool last);

    int m_packetSize;
    quint16 m_spid;
    quint8 m_packetId = 1;
    QByteArray m_payload;
};

} // namespace zelvan::tdsserver
