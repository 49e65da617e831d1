#include "tdsserver.h"

#include <QSemaphore>
#include <QTcpServer>
#include <QThread>

#include <list>

namespace zelvan::tdsserver {

namespace {

constexpr int PollMs = 100;
constexpr quint16 FirstSpid = 51;  // SQL Server's first user session

// Hands each new connection's descriptor over instead of making a socket of it here.
class Acceptor : public QTcpServer
{
public:
    QList<qintptr> accepted;

protected:
    void incomingConnection(qintptr socketDescriptor) override { accepted.append(socketDescriptor); }
};

class SessionThread : public QThread
{
public:
    SessionThread(qintptr descriptor, std::shared_ptr<ServerState> state, quint16 spid)
        : m_descriptor(descriptor)
        , m_state(std::move(state))
        , m_spid(spid)
    {
    }

protected:
    void run() override
    {
        Session session(m_descriptor, m_state, m_spid);
        session.run();
    }

private:
    qintptr m_descriptor;
    std::shared_ptr<ServerState> m_state;
    quint16 m_spid;
};

} // namespace

class TdsServer::Listener : public QThread
{
public:
    Listener(std::shared_ptr<ServerState> state, quint16 port)
        : m_state(std::move(state))
        , m_requested(port)
    {
    }

    ~Listener() override
    {
        wait();
        for (const auto &session : m_sessions)
            session->wait();
    }

    quint16 port = 0;
    QSemaphore ready;

protected:
    void run() override
    {
        Acceptor acceptor;
        if (acceptor.listen(QHostAddress::LocalHost, m_requested))
            port = acceptor.serverPort();
        ready.release();
        if (port == 0)
            return;
        quint16 spid = FirstSpid;
        while (!m_state->stopping) {
            acceptor.waitForNewConnection(PollMs);
            m_sessions.remove_if([](const std::unique_ptr<SessionThread> &session) { return session->isFinished(); });
            for (const qintptr descriptor : std::as_const(acceptor.accepted)) {
                m_sessions.push_back(std::make_unique<SessionThread>(descriptor, m_state, spid++));
                m_sessions.back()->start();
            }
            acceptor.accepted.clear();
        }
    }

private:
    std::shared_ptr<ServerState> m_state;
    quint16 m_requested;
    std::list<std::unique_ptr<SessionThread>> m_sessions;
};

TdsServer::TdsServer(const QString &instanceDir, const ServerFaults &faults)
    : m_state(std::make_shared<ServerState>())
{
    m_state->instanceDir = instanceDir;
    m_state->faults = faults;
}

TdsServer::~TdsServer()
{
    stop();
}

bool TdsServer::listen(quint16 port)
{
    m_listener = std::make_unique<Listener>(m_state, port);
    m_listener->start();
    m_listener->ready.acquire();
    return m_listener->port != 0;
}

quint16 TdsServer::port() const
{
    return m_listener ? m_listener->port : 0;
}

QString TdsServer::serverName() const
{
    return QStringLiteral("127.0.0.1,%1").arg(port());
}

void TdsServer::keepStatements(bool keep)
{
    m_state->keepLog = keep;
}

QStringList TdsServer::statements() const
{
    const std::lock_guard lock(m_state->logMutex);
    return m_state->log;
}

qint64 TdsServer::statementCount() const
{
    return m_state->batches;
}

void TdsServer::stop()
{
    m_state->stopping = true;
    m_listener.reset();
}

} // namespace zelvan::tdsserver
