#include "database/connection.h"

#include "database/connectionstring.h"
#include "database/embedded/embeddedinstance.h"
#include "database/odbc/odbcbackend.h"
#include "runtime/err.h"

#include <QFileInfo>

namespace zelvan::database {

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
        throw runtime::objectClosedError();
    return m_backend->execute(sql);
}

} // namespace zelvan::database
