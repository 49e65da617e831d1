#pragma once

#include "tdssession.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace zelvan::tdsserver {

// A SQL Server as far as this program needs one, on 127.0.0.1: it speaks
// TDS 7.4 as FreeTDS expects it and serves an embedded instance directory
// with SQL Server's wire types and error numbers. Every connection is served
// in a thread of its own, so that a test or a program can block on it.
class TdsServer
{
public:
    explicit TdsServer(const QString &instanceDir, const ServerFaults &faults = {});
    ~TdsServer();
    TdsServer(const TdsServer &) = delete;
    TdsServer &operator=(const TdsServer &) = delete;

    // Listens on 127.0.0.1 (port 0: a free one); false when it can't.
    bool listen(quint16 port = 0);
    quint16 port() const;
    // The server name a client is given: "127.0.0.1,PORT".
    QString serverName() const;
    // Whether statements() keeps them (on by default; a long-running server
    // for benchmarks would only grow).
    void keepStatements(bool keep);
    // Every statement received so far, in order.
    QStringList statements() const;
    // Statements received so far.
    qint64 statementCount() const;
    // Ends every connection and stops listening; waits for their threads.
    void stop();

private:
    class Listener;
    std::shared_ptr<ServerState> m_state;
    std::unique_ptr<Listener> m_listener;
};

} // namespace zelvan::tdsserver
