#include "tdssession.h"

#include "tdserrors.h"
#include "tdslogin.h"
#include "tdstokens.h"

#include "database/embedded/embeddedinstance.h"
#include "runtime/err.h"

#include <QTcpSocket>
#include <QThread>
#include <QtEndian>

#include <optional>

namespace zelvan::tdsserver {

namespace {

constexpr int PollMs = 100;
// Rows leave in packets once this much is waiting; the socket takes more
// only when the client has read.
constexpr qsizetype PayloadChunk = 64 * 1024;
constexpr qint64 SocketHighWater = 256 * 1024;

QString utf16Text(QByteArrayView bytes)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.data()), bytes.size() / 2);
}

// A batch's text: after ALL_HEADERS (TDS 7.2 and later), UTF-16.
QString batchText(const QByteArray &body)
{
    qsizetype start = 0;
    if (body.size() >= 4) {
        const quint32 headers = qFromLittleEndian<quint32>(body.constData());
        if (headers >= 4 && headers <= quint32(body.size()))
            start = headers;
    }
    return utf16Text(QByteArrayView(body.constData() + start, body.size() - start));
}

bool isControlStatement(const QString &line)
{
    return line.startsWith(u"SET ", Qt::CaseInsensitive) || line.startsWith(u"USE ", Qt::CaseInsensitive);
}

// A name without the brackets or quotes that delimit it.
QString undelimited(QString name)
{
    name = name.trimmed();
    if (name.size() >= 2 && ((name.front() == u'[' && name.back() == u']') || (name.front() == u'"' && name.back() == u'"')))
        name = name.mid(1, name.size() - 2).replace(QStringLiteral("]]"), QStringLiteral("]"));
    return name;
}

} // namespace

Session::Session(qintptr socketDescriptor, std::shared_ptr<ServerState> state, quint16 spid)
    : m_socket(std::make_unique<QTcpSocket>())
    , m_state(std::move(state))
    , m_spid(spid)
    , m_reply(DefaultPacketSize, spid)
{
    m_socket->setSocketDescriptor(socketDescriptor);
    // As SQL Server does: a reply's last packet leaves at once, not after the client's delayed acknowledgement.
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
}

Session::~Session() = default;

void Session::run()
{
    m_silent = m_state->faults.silentAtLogin;
    Message message;
    bool going = true;
    while (going && readMessage(message)) {
        if (m_silent)
            continue;
        if (m_state->faults.delayMs > 0)
            QThread::msleep(ulong(m_state->faults.delayMs));
        switch (message.type) {
        case PreLoginPacket:
            preLogin();
            break;
        case Login7Packet:
            going = login(message.body);
            break;
        case SqlBatchPacket:
            going = m_backend && batch(message.body);
            break;
        case AttentionPacket:
            writeDone(m_reply.payload(), DoneAttention, 0, 0);
            going = sendReply();
            break;
        default:
            writeError({50000, 1, 16, QStringLiteral("This test server runs SQL batches only.")});
            writeDone(m_reply.payload(), DoneError, 0, 0);
            going = sendReply();
            break;
        }
    }
    m_socket->abort();
}

bool Session::readMessage(Message &message)
{
    for (;;) {
        if (std::optional<Message> next = m_reader.next()) {
            message = std::move(*next);
            return true;
        }
        if (m_reader.broken() || m_state->stopping)
            return false;
        if (m_socket->bytesAvailable() > 0) {
            m_reader.append(m_socket->readAll());
            continue;
        }
        if (m_socket->state() != QAbstractSocket::ConnectedState)
            return false;
        m_socket->waitForReadyRead(PollMs);
    }
}

bool Session::send(const QByteArray &bytes)
{
    for (qsizetype at = 0; m_slow && at < bytes.size();) {
        const qsizetype length = qFromBigEndian<quint16>(bytes.constData() + at + 2);
        QThread::msleep(ulong(m_state->faults.slowPacketMs));
        m_socket->write(bytes.constData() + at, length);
        m_socket->flush();
        at += length;
    }
    if (!m_slow)
        m_socket->write(bytes);
    while (m_socket->bytesToWrite() > SocketHighWater) {
        if (m_state->stopping || m_socket->state() != QAbstractSocket::ConnectedState)
            return false;
        m_socket->waitForBytesWritten(PollMs);
    }
    m_socket->flush();
    return m_socket->state() == QAbstractSocket::ConnectedState;
}

bool Session::sendReply()
{
    return send(m_reply.finish());
}

// Bytes the client sent while rows were going out: a cancel stops them.
bool Session::attentionArrived()
{
    if (m_socket->bytesAvailable() > 0)
        m_reader.append(m_socket->readAll());
    // A client sends nothing else while a reply is under way.
    if (std::optional<Message> next = m_reader.next())
        m_attention = next->type == AttentionPacket;
    return m_attention;
}

void Session::preLogin()
{
    m_reply.payload() = preLoginReply();
    sendReply();
}

bool Session::login(const QByteArray &body)
{
    const std::optional<Login7> record = parseLogin7(body);
    if (!record)
        return false;
    const int packetSize = record->packetSize >= 512 && record->packetSize <= MaxPacketSize ? record->packetSize
                                                                                            : DefaultPacketSize;
    QByteArray &out = m_reply.payload();
    try {
        m_backend = database::openEmbeddedInstance(m_state->instanceDir, record->database, record->userName, record->password);
    } catch (const runtime::Err &error) {
        for (const ServerError &refusal : loginErrors(error, record->userName))
            writeError(refusal);
        writeDone(out, DoneError, 0, 0);
        // The server ends the conversation once the client has the refusal.
        if (sendReply()) {
            while (m_socket->bytesToWrite() > 0 && m_socket->waitForBytesWritten(PollMs * 10)) {
            }
        }
        m_socket->disconnectFromHost();
        return false;
    }
    m_user = record->userName;
    m_password = record->password;
    m_database = record->database.isEmpty() ? QStringLiteral("master") : record->database;
    writeEnvChange(out, DatabaseChange, m_database, QStringLiteral("master"));
    writeMessage(out, 5701, 2, 0, QStringLiteral("Changed database context to '%1'.").arg(m_database));
    writeCollationChange(out, turkishCollation());
    writeEnvChange(out, LanguageChange, QStringLiteral("us_english"), QString());
    writeMessage(out, 5703, 1, 0, QStringLiteral("Changed language setting to us_english."));
    writeLoginAck(out);
    writeEnvChange(out, PacketSizeChange, QString::number(packetSize), QString::number(DefaultPacketSize));
    writeDone(out, DoneFinal, 0, 0);
    const bool sent = sendReply();
    m_reply.setPacketSize(packetSize);
    return sent;
}

bool Session::batch(const QByteArray &body)
{
    ++m_state->batches;
    const QString sql = batchText(body);
    if (m_state->keepLog) {
        const std::lock_guard lock(m_state->logMutex);
        m_state->log.append(sql);
    }
    const ServerFaults &faults = m_state->faults;
    if (faults.countOnly.isEmpty() || sql.contains(faults.countOnly)) {
        const int number = ++m_state->statements;
        if (number == faults.closeAtStatement) {
            m_socket->disconnectFromHost();
            return false;
        }
        if (number == faults.silentAtStatement) {
            m_silent = true;
            return true;
        }
        // From then on this connection's answers come late.
        m_slow = m_slow || (faults.slowAtStatement > 0 && number >= faults.slowAtStatement);
    }
    QStringList lines = sql.split(u'\n', Qt::SkipEmptyParts);
    for (QString &line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    const bool control = !lines.isEmpty() && std::all_of(lines.begin(), lines.end(), isControlStatement);
    m_attention = false;
    if (control) {
        for (qsizetype i = 0; i < lines.size(); ++i)
            controlStatement(lines[i], i + 1 == lines.size());
    } else {
        query(sql);
    }
    return sendReply();
}

// SET and USE, which FreeTDS and programs send on their own.
void Session::controlStatement(const QString &statement, bool last)
{
    const quint16 more = last ? DoneFinal : DoneMore;
    if (statement.startsWith(u"USE ", Qt::CaseInsensitive)) {
        QString name = statement.mid(4).trimmed();
        if (name.endsWith(u';'))
            name.chop(1);
        useDatabase(undelimited(name));
        writeDone(m_reply.payload(), more, 0, 0);
        return;
    }
    writeDone(m_reply.payload(), more, 0, 0);
}

void Session::useDatabase(const QString &name)
{
    try {
        m_backend = database::openEmbeddedInstance(m_state->instanceDir, name, m_user, m_password);
    } catch (const runtime::Err &) {
        writeError(missingDatabase(name));
        return;
    }
    writeEnvChange(m_reply.payload(), DatabaseChange, name, m_database);
    writeMessage(m_reply.payload(), 5701, 1, 0, QStringLiteral("Changed database context to '%1'.").arg(name));
    m_database = name;
}

void Session::query(const QString &sql)
{
    QByteArray &out = m_reply.payload();
    try {
        const std::unique_ptr<database::DbCursor> cursor = m_backend->execute(sql);
        if (cursor->columnCount() == 0) {
            writeDone(out, DoneFinal, 0, 0);
            return;
        }
        std::vector<runtime::Variant> row;
        const bool any = cursor->fetch(row);
        std::vector<WireColumn> columns;
        for (int i = 0; i < cursor->columnCount(); ++i)
            columns.push_back(wireColumn(cursor->columnName(i), cursor->columnType(i), any ? row[size_t(i)] : runtime::Variant::null()));
        writeColumns(out, columns);
        quint64 rows = 0;
        for (bool more = any; more; more = cursor->fetch(row)) {
            if (const int bad = writeRow(out, columns, row); bad >= 0) {
                writeError(valueError(columns[size_t(bad)]));
                writeDone(out, DoneError | DoneCount, SelectCommand, rows);
                return;
            }
            ++rows;
            if (out.size() >= PayloadChunk) {
                if (!send(m_reply.takeFullPackets()))
                    return;
                if (attentionArrived()) {
                    writeDone(out, DoneAttention, SelectCommand, rows);
                    return;
                }
            }
        }
        writeDone(out, DoneCount, SelectCommand, rows);
    } catch (const runtime::Err &error) {
        writeError(statementError(error));
        writeDone(out, DoneError, SelectCommand, 0);
    }
}

void Session::writeError(const ServerError &error)
{
    writeMessage(m_reply.payload(), error.number, error.state, error.severity, error.text);
}

} // namespace zelvan::tdsserver
