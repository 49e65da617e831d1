#include "database/odbc/odbcbackend.h"

#include "database/odbc/odbcconnectionstring.h"
#include "database/odbc/odbcmapping.h"
#include "database/odbcapi/odbcapi.h"
#include "runtime/err.h"

#include <utility>
#include <vector>

namespace zelvan::database {

namespace {

// A server that accepts the connection and never answers ends the wait here.
constexpr unsigned long LoginTimeoutSeconds = 15;
// The program's queries are sums and short lists, which a healthy server
// answers in seconds; the sums of a large company on a busy server may still
// take minutes, which ADO's 30 seconds would have cut short. Five minutes
// lets them finish and still ends the wait (the window frozen meanwhile) for
// a server that has stopped answering.
constexpr unsigned long QueryTimeoutSeconds = 300;

// ZELVAN_QUERY_TIMEOUT (whole seconds) replaces it: tests of a silent server
// need not wait five minutes.
unsigned long queryTimeoutSeconds()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("ZELVAN_QUERY_TIMEOUT", &ok);
    return ok && seconds > 0 ? static_cast<unsigned long>(seconds) : QueryTimeoutSeconds;
}

runtime::Err programError(const odbcapi::Error &error)
{
    QList<OdbcDiagnostic> records;
    for (const odbcapi::Diagnostic &record : error.records)
        records.append({QString::fromStdU16String(record.state), record.native, QString::fromStdU16String(record.text)});
    switch (error.stage) {
    case odbcapi::Error::Stage::DriverManager:
        break;
    case odbcapi::Error::Stage::Connect:
        return odbcConnectError(records);
    case odbcapi::Error::Stage::Statement:
        return odbcStatementError(records);
    }
    return runtime::Err(runtime::ErrNo::OpenFailed, QStringLiteral(u"ODBC sürücü yöneticisi başlatılamadı."));
}

// One ODBC connection. SQL Server runs one statement per connection at a
// time; `busy` marks a connection whose rows are still being read.
struct OdbcLink
{
    explicit OdbcLink(const QString &connectionString)
        : connection(connectionString.toStdU16String(), LoginTimeoutSeconds)
    {
    }

    odbcapi::Connection connection;
    bool busy = false;
};

std::shared_ptr<OdbcLink> connectLink(const QString &connectionString)
{
    try {
        return std::make_shared<OdbcLink>(connectionString);
    } catch (const odbcapi::Error &error) {
        throw programError(error);
    }
}

struct Column
{
    QString name;
    SqlServerType type;
};

class OdbcCursor : public DbCursor
{
public:
    OdbcCursor(std::shared_ptr<OdbcLink> link, std::unique_ptr<odbcapi::Statement> statement)
        : m_link(std::move(link))
        , m_statement(std::move(statement))
    {
        for (const odbcapi::Column &column : m_statement->columns()) {
            const QString typeName = QString::fromStdU16String(column.typeName);
            m_columns.push_back({QString::fromStdU16String(column.name),
                                 odbcColumnType(column.dataType, column.decimalDigits, typeName)});
        }
        m_link->busy = true;
        if (m_columns.empty())
            finish();  // a statement without rows
    }
    ~OdbcCursor() override
    {
        // Rows left unread (a sum's one row is read, not the end after it): when the end has already
        // arrived, one more fetch finds it, and the driver need not cancel the statement, a round trip.
        if (m_statement) {
            try {
                m_statement->fetch();
            } catch (const odbcapi::Error &) {
            }
        }
        finish();
    }

    int columnCount() const override { return int(m_columns.size()); }
    QString columnName(int column) const override
    {
        return column >= 0 && column < columnCount() ? m_columns[std::size_t(column)].name : QString();
    }
    SqlServerType columnType(int column) const override
    {
        return column >= 0 && column < columnCount() ? m_columns[std::size_t(column)].type : SqlServerType();
    }

    bool fetch(std::vector<runtime::Variant> &row) override
    {
        if (!m_statement)
            return false;
        try {
            if (!m_statement->fetch()) {
                finish();
                return false;
            }
            row.resize(m_columns.size());
            for (std::size_t i = 0; i < m_columns.size(); ++i)
                row[i] = read(std::uint16_t(i + 1), m_columns[i].type);
            return true;
        } catch (const odbcapi::Error &error) {
            // The statement is done with once it fails: its error ends the result.
            finish();
            throw programError(error);
        }
    }

private:
    void finish()
    {
        if (!m_statement)
            return;
        // Unread rows are discarded, and the connection serves the next statement.
        m_statement.reset();
        m_link->busy = false;
    }

    runtime::Variant readText(std::uint16_t column)
    {
        if (!m_statement->get(column, m_wideText))
            return runtime::Variant::null();
        return runtime::Variant::string(QString::fromStdU16String(m_wideText));
    }

    // MONEY and DECIMAL as the driver's text: exact, whatever their size.
    runtime::Variant readExact(std::uint16_t column, const SqlServerType &type)
    {
        if (!m_statement->get(column, m_charText))
            return runtime::Variant::null();
        const QString decoded = QString::fromUtf8(m_charText.data(), qsizetype(m_charText.size()));
        if (const auto value = exactNumber(decoded, type))
            return *value;
        return runtime::Variant::string(decoded);  // a driver that keeps anything in such a column
    }

    runtime::Variant read(std::uint16_t column, const SqlServerType &type)
    {
        switch (type.kind) {
        case SqlServerType::Bit:
        case SqlServerType::TinyInt:
        case SqlServerType::SmallInt:
        case SqlServerType::Int: {
            std::int32_t value = 0;
            if (!m_statement->get(column, value))
                return runtime::Variant::null();
            if (type.kind == SqlServerType::Bit)
                return runtime::Variant::boolean(value != 0);
            if (type.kind == SqlServerType::TinyInt && value >= 0 && value <= 255)
                return runtime::Variant::byte(quint8(value));
            if (type.kind == SqlServerType::SmallInt && value >= -32768 && value <= 32767)
                return runtime::Variant::integer(qint16(value));
            return runtime::Variant::longInt(qint32(value));
        }
        case SqlServerType::BigInt: {
            std::int64_t value = 0;
            if (!m_statement->get(column, value))
                return runtime::Variant::null();
            return runtime::Variant::decimal(runtime::Decimal::fromInt64(value));
        }
        case SqlServerType::Money:
        case SqlServerType::Decimal:
            return readExact(column, type);
        case SqlServerType::Float: {
            double value = 0;
            if (!m_statement->get(column, value))
                return runtime::Variant::null();
            return runtime::Variant::dbl(value);
        }
        case SqlServerType::DateTime: {
            odbcapi::Timestamp value;
            if (!m_statement->get(column, value))
                return runtime::Variant::null();
            if (const auto date = odbcDate(value.year, value.month, value.day, value.hour, value.minute, value.second,
                                           value.fraction))
                return *date;
            // No date the runtime can hold: shown as the driver gave it.
            return runtime::Variant::string(QStringLiteral("%1-%2-%3").arg(value.year).arg(value.month).arg(value.day));
        }
        case SqlServerType::Text:
        case SqlServerType::Unknown:
            break;
        }
        return readText(column);
    }

    std::shared_ptr<OdbcLink> m_link;
    std::unique_ptr<odbcapi::Statement> m_statement;
    std::vector<Column> m_columns;
    std::u16string m_wideText;
    std::string m_charText;
};

class OdbcBackend : public DbBackend
{
public:
    OdbcBackend(QString connectionString, std::shared_ptr<OdbcLink> first)
        : m_connectionString(std::move(connectionString))
        , m_queryTimeout(queryTimeoutSeconds())
    {
        m_links.push_back(std::move(first));
    }

    std::unique_ptr<DbCursor> execute(const QString &sql) override
    {
        const std::shared_ptr<OdbcLink> link = idleLink();
        try {
            return std::make_unique<OdbcCursor>(
                link, std::make_unique<odbcapi::Statement>(link->connection, sql.toStdU16String(), m_queryTimeout));
        } catch (const odbcapi::Error &error) {
            throw programError(error);
        }
    }

private:
    // While the rows of one statement are still being read (the stock list,
    // one item's movements inside it), the next one runs on a connection of
    // its own, opened once and kept for the statements after it.
    std::shared_ptr<OdbcLink> idleLink()
    {
        for (const auto &link : m_links) {
            if (!link->busy)
                return link;
        }
        m_links.push_back(connectLink(m_connectionString));
        return m_links.back();
    }

    QString m_connectionString;
    unsigned long m_queryTimeout;
    std::vector<std::shared_ptr<OdbcLink>> m_links;
};

} // namespace

std::unique_ptr<DbBackend> openOdbcConnection(const QString &odbcConnectionString)
{
    return std::make_unique<OdbcBackend>(odbcConnectionString, connectLink(odbcConnectionString));
}

std::unique_ptr<DbBackend> openOdbcBackend(const ConnectionString &adoStyle)
{
    return openOdbcConnection(odbcConnectionString(adoStyle, odbcSettingsFromEnvironment()));
}

} // namespace zelvan::database
