#include "platform/connection.h"

#include "platform/connectionstring.h"
#include "platform/embeddedinstance.h"
#include "platform/err.h"
#include "platform/odbcbackend.h"

#include <QFileInfo>

namespace zelvan::platform {

Connection::Connection() = default;
Connection::~Connection() = default;

void Connection::open(const QString &connectionString)
{
    const ConnectionString parsed = ConnectionString::parse(connectionString);
    const QString dataSource = parsed.dataSource();
    std::unique_ptr<DbBackend> backend;
    if (!dataSource.isEmpty() && QFileInfo(dataSource).isDir()) {
        backend = openEmbeddedInstance(dataSource, parsed.initialCatalog(), parsed.userId(), parsed.password());
    } else {
        backend = openOdbcBackend(parsed);
    }
    m_backend = std::move(backend);
}

std::unique_ptr<DbCursor> Connection::execute(const QString &sql)
{
    if (!m_backend)
        throw objectClosedError();
    return m_backend->execute(sql);
}

} // namespace zelvan::platform
