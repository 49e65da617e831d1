#pragma once

#include "tdserrors.h"
#include "tdspacket.h"
#include "tdstypes.h"

#include "database/backend.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <mutex>

class QTcpSocket;

namespace zelvan::tdsserver {

// Switches for tests and the benchmark: what a slow or failing SQL Server does.
struct ServerFaults
{
    int delayMs = 0;            // before every answer: one round trip over a slower network
    int closeAtStatement = 0;   // the connection that gets this statement (counted from 1) is closed; 0: never
    int silentAtStatement = 0;  // this statement is read and never answered, nor anything after it; 0: never
    int slowAtStatement = 0;    // from this statement on, every packet of an answer waits slowPacketMs; 0: never
    int slowPacketMs = 0;
    QString countOnly;          // only statements containing this text count; empty: all
    bool silentAtLogin = false; // no answer at all, not even to the pre-login
};

// What the sessions of one server share.
struct ServerState
{
    QString instanceDir;
    ServerFaults faults;
    std::atomic<bool> stopping = false;
    std::atomic<int> statements = 0;  // those that count for the faults
    std::atomic<qint64> batches = 0;  // every statement
    std::atomic<bool> keepLog = true;
    std::mutex logMutex;
    QStringList log;  // every statement received, in order
};

// One client's connection, served until the client leaves, the server
// stops or a fault ends it. Runs in a thread of its own and blocks there.
class Session
{
public:
    Session(qintptr socketDescriptor, std::shared_ptr<ServerState> state, quint16 spid);
    ~Session();
    void run();

private:
    bool readMessage(Message &message);
    bool send(const QByteArray &bytes);
    bool sendReply();
    bool attentionArrived();

    void preLogin();
    bool login(const QByteArray &body);
    bool batch(const QByteArray &body);
    void controlStatement(const QString &statement, bool last);
    void query(const QString &sql);
    void useDatabase(const QString &name);
    void writeError(const ServerError &error);

    std::unique_ptr<QTcpSocket> m_socket;
    std::shared_ptr<ServerState> m_state;
    quint16 m_spid;
    MessageReader m_reader;
    ReplyWriter m_reply;
    std::unique_ptr<database::DbBackend> m_backend;
    QString m_user;
    QString m_password;
    QString m_database;
    bool m_silent = false;
    bool m_slow = false;
    bool m_attention = false;  // a cancel came while rows were being sent
};

} // namespace zelvan::tdsserver
