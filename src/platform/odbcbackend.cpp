#include "platform/odbcbackend.h"

#include "platform/err.h"
#include "platform/odbcconnectionstring.h"
#include "platform/odbcmapping.h"

#ifdef _WIN32
#include "platform/win32api.h"  // sql.h needs the Windows types
#endif
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace zelvan::platform {

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "ODBC's wide characters must be UTF-16 code units");

// A server that accepts the connection and never answers ends the wait here.
constexpr SQLULEN LoginTimeoutSeconds = 15;
// The program's queries are sums and short lists, which a healthy server
// answers in seconds; the sums of a large company on a busy server may still
// take minutes, which ADO's 30 seconds would have cut short. Five minutes
// lets them finish and still ends the wait (the window frozen meanwhile) for
// a server that has stopped answering.
constexpr SQLULEN QueryTimeoutSeconds = 300;

const SQLWCHAR *wide(const QString &text)
{
    return reinterpret_cast<const SQLWCHAR *>(text.utf16());
}

QString fromWide(const SQLWCHAR *text, qsizetype length)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(text), length);
}

QList<OdbcDiagnostic> diagnostics(SQLSMALLINT handleType, SQLHANDLE handle)
{
    QList<OdbcDiagnostic> records;
    for (SQLSMALLINT number = 1; handle && number <= 32; ++number) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        std::vector<SQLWCHAR> text(512);
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRecW(handleType, handle, number, state, &native, text.data(),
                                      SQLSMALLINT(text.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && length >= SQLSMALLINT(text.size())) {
            text.resize(std::size_t(length) + 1);
            rc = SQLGetDiagRecW(handleType, handle, number, state, &native, text.data(), SQLSMALLINT(text.size()),
                                &length);
        }
        if (!SQL_SUCCEEDED(rc))
            break;
        OdbcDiagnostic record;
        record.state = QString::fromUtf16(reinterpret_cast<const char16_t *>(state));
        record.native = native;
        record.text = fromWide(text.data(), std::clamp<qsizetype>(length, 0, qsizetype(text.size()) - 1));
        records.append(record);
    }
    return records;
}

// One ODBC connection. SQL Server runs one statement per connection at a
// time; `busy` marks a connection whose rows are still being read.
struct OdbcLink
{
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    bool connected = false;
    bool busy = false;

    OdbcLink() = default;
    OdbcLink(const OdbcLink &) = delete;
    OdbcLink &operator=(const OdbcLink &) = delete;
    ~OdbcLink()
    {
        if (connected)
            SQLDisconnect(dbc);
        if (dbc != SQL_NULL_HDBC)
            SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        if (env != SQL_NULL_HENV)
            SQLFreeHandle(SQL_HANDLE_ENV, env);
    }

    void setAttribute(SQLINTEGER attribute, SQLULEN value) const
    {
        // Hints: a driver that doesn't know one keeps its own default.
        SQLSetConnectAttrW(dbc, attribute, reinterpret_cast<SQLPOINTER>(value), SQL_IS_UINTEGER);
    }
};

std::shared_ptr<OdbcLink> connectLink(const QString &connectionString)
{
    auto link = std::make_shared<OdbcLink>();
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &link->env))) {
        link->env = SQL_NULL_HENV;
        throw Err(ErrNo::OpenFailed, QStringLiteral(u"ODBC sürücü yöneticisi başlatılamadı."));
    }
    SQLSetEnvAttr(link->env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQLULEN(SQL_OV_ODBC3)), 0);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, link->env, &link->dbc))) {
        link->dbc = SQL_NULL_HDBC;
        throw odbcConnectError(diagnostics(SQL_HANDLE_ENV, link->env));
    }
    link->setAttribute(SQL_ATTR_LOGIN_TIMEOUT, LoginTimeoutSeconds);
    link->setAttribute(SQL_ATTR_CONNECTION_TIMEOUT, LoginTimeoutSeconds);
    // The program only reads; the read-only login is what really keeps it so.
    link->setAttribute(SQL_ATTR_ACCESS_MODE, SQL_MODE_READ_ONLY);

    const SQLRETURN rc = SQLDriverConnectW(link->dbc, nullptr, const_cast<SQLWCHAR *>(wide(connectionString)), SQL_NTS,
                                           nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc))
        throw odbcConnectError(diagnostics(SQL_HANDLE_DBC, link->dbc));
    link->connected = true;
    return link;
}

// A statement handle freed on every path out of execute() but the successful one.
class StatementHandle
{
public:
    explicit StatementHandle(SQLHSTMT stmt)
        : m_stmt(stmt)
    {
    }
    ~StatementHandle()
    {
        if (m_stmt != SQL_NULL_HSTMT)
            SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
    }
    StatementHandle(const StatementHandle &) = delete;
    StatementHandle &operator=(const StatementHandle &) = delete;

    SQLHSTMT get() const { return m_stmt; }
    SQLHSTMT release() { return std::exchange(m_stmt, SQLHSTMT(SQL_NULL_HSTMT)); }
    [[noreturn]] void fail() const { throw odbcStatementError(diagnostics(SQL_HANDLE_STMT, m_stmt)); }

private:
    SQLHSTMT m_stmt;
};

struct Column
{
    QString name;
    SqlServerType type;
};

class OdbcCursor : public DbCursor
{
public:
    OdbcCursor(std::shared_ptr<OdbcLink> link, SQLHSTMT stmt, std::vector<Column> columns)
        : m_link(std::move(link))
        , m_stmt(stmt)
        , m_columns(std::move(columns))
    {
        m_link->busy = true;
        if (m_columns.empty())
            finish();  // a statement without rows
    }
    ~OdbcCursor() override { finish(); }

    int columnCount() const override { return int(m_columns.size()); }
    QString columnName(int column) const override
    {
        return column >= 0 && column < columnCount() ? m_columns[std::size_t(column)].name : QString();
    }

    bool fetch(std::vector<Variant> &row) override
    {
        if (m_stmt == SQL_NULL_HSTMT)
            return false;
        const SQLRETURN rc = SQLFetch(m_stmt);
        if (rc == SQL_NO_DATA) {
            finish();
            return false;
        }
        if (!SQL_SUCCEEDED(rc))
            fail();
        row.resize(m_columns.size());
        for (std::size_t i = 0; i < m_columns.size(); ++i)
            row[i] = read(SQLUSMALLINT(i + 1), m_columns[i].type);
        return true;
    }

private:
    // The statement is done with once it fails: its error ends the result.
    [[noreturn]] void fail()
    {
        const Err error = odbcStatementError(diagnostics(SQL_HANDLE_STMT, m_stmt));
        finish();
        throw error;
    }

    void finish()
    {
        if (m_stmt == SQL_NULL_HSTMT)
            return;
        // Unread rows are discarded, and the connection serves the next statement.
        SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
        m_stmt = SQL_NULL_HSTMT;
        m_link->busy = false;
    }

    // Reads a fixed-size value; false for NULL.
    bool readFixed(SQLUSMALLINT column, SQLSMALLINT cType, void *value, SQLLEN size)
    {
        SQLLEN indicator = 0;
        if (!SQL_SUCCEEDED(SQLGetData(m_stmt, column, cType, value, size, &indicator)))
            fail();
        return indicator != SQL_NULL_DATA;
    }

    // Reads a character value piece by piece, however long it is; false for
    // NULL. `append` receives each piece's bytes without the terminator.
    bool readPieces(SQLUSMALLINT column, SQLSMALLINT cType, SQLLEN unit,
                    const std::function<void(const char *, SQLLEN)> &append)
    {
        const SQLLEN room = SQLLEN(sizeof m_buffer) - unit;  // less the terminator
        for (;;) {
            SQLLEN indicator = 0;
            const SQLRETURN rc = SQLGetData(m_stmt, column, cType, m_buffer, SQLLEN(sizeof m_buffer), &indicator);
            if (rc == SQL_NO_DATA)
                return true;  // the calls before read it all
            if (!SQL_SUCCEEDED(rc))
                fail();
            if (indicator == SQL_NULL_DATA)
                return false;
            const bool last = indicator != SQL_NO_TOTAL && indicator <= room;
            append(m_buffer, last ? indicator - indicator % unit : room - room % unit);
            if (last)
                return true;
        }
    }

    Variant readText(SQLUSMALLINT column)
    {
        QString text;
        const bool present = readPieces(column, SQL_C_WCHAR, SQLLEN(sizeof(SQLWCHAR)), [&](const char *bytes, SQLLEN size) {
            text.append(reinterpret_cast<const QChar *>(bytes), qsizetype(size / SQLLEN(sizeof(SQLWCHAR))));
        });
        return present ? Variant::string(text) : Variant::null();
    }

    // MONEY and DECIMAL as the driver's text: exact, whatever their size.
    Variant readExact(SQLUSMALLINT column, const SqlServerType &type)
    {
        QByteArray text;
        const bool present = readPieces(column, SQL_C_CHAR, 1, [&](const char *bytes, SQLLEN size) {
            text.append(bytes, qsizetype(size));
        });
        if (!present)
            return Variant::null();
        const QString decoded = QString::fromUtf8(text);
        if (const auto value = exactNumber(decoded, type))
            return *value;
        return Variant::string(decoded);  // a driver that keeps anything in such a column
    }

    Variant read(SQLUSMALLINT column, const SqlServerType &type)
    {
        switch (type.kind) {
        case SqlServerType::Bit:
        case SqlServerType::TinyInt:
        case SqlServerType::SmallInt:
        case SqlServerType::Int: {
            SQLINTEGER value = 0;
            if (!readFixed(column, SQL_C_SLONG, &value, sizeof value))
                return Variant::null();
            if (type.kind == SqlServerType::Bit)
                return Variant::boolean(value != 0);
            if (type.kind == SqlServerType::TinyInt && value >= 0 && value <= 255)
                return Variant::byte(quint8(value));
            if (type.kind == SqlServerType::SmallInt && value >= -32768 && value <= 32767)
                return Variant::integer(qint16(value));
            return Variant::longInt(qint32(value));
        }
        case SqlServerType::BigInt: {
            SQLBIGINT value = 0;
            if (!readFixed(column, SQL_C_SBIGINT, &value, sizeof value))
                return Variant::null();
            return Variant::decimal(Decimal::fromInt64(value));
        }
        case SqlServerType::Money:
        case SqlServerType::Decimal:
            return readExact(column, type);
        case SqlServerType::Float: {
            SQLDOUBLE value = 0;
            if (!readFixed(column, SQL_C_DOUBLE, &value, sizeof value))
                return Variant::null();
            return Variant::dbl(value);
        }
        case SqlServerType::DateTime: {
            SQL_TIMESTAMP_STRUCT value = {};
            if (!readFixed(column, SQL_C_TYPE_TIMESTAMP, &value, sizeof value))
                return Variant::null();
            if (const auto date = odbcDate(value.year, value.month, value.day, value.hour, value.minute, value.second,
                                           value.fraction))
                return *date;
            // No date the runtime can hold: shown as the driver gave it.
            return Variant::string(QStringLiteral("%1-%2-%3").arg(value.year).arg(value.month).arg(value.day));
        }
        case SqlServerType::Text:
        case SqlServerType::Unknown:
            break;
        }
        return readText(column);
    }

    std::shared_ptr<OdbcLink> m_link;
    SQLHSTMT m_stmt;
    std::vector<Column> m_columns;
    char m_buffer[8192];
};

std::vector<Column> describeColumns(const StatementHandle &stmt, SQLSMALLINT count)
{
    std::vector<Column> columns;
    columns.reserve(std::size_t(count));
    for (SQLUSMALLINT i = 1; i <= SQLUSMALLINT(count); ++i) {
        std::vector<SQLWCHAR> name(256);
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT dataType = 0;
        SQLULEN size = 0;
        SQLSMALLINT digits = 0;
        SQLSMALLINT nullable = 0;
        SQLRETURN rc = SQLDescribeColW(stmt.get(), i, name.data(), SQLSMALLINT(name.size()), &nameLength, &dataType,
                                       &size, &digits, &nullable);
        if (SQL_SUCCEEDED(rc) && nameLength >= SQLSMALLINT(name.size())) {
            name.resize(std::size_t(nameLength) + 1);
            rc = SQLDescribeColW(stmt.get(), i, name.data(), SQLSMALLINT(name.size()), &nameLength, &dataType, &size,
                                 &digits, &nullable);
        }
        if (!SQL_SUCCEEDED(rc))
            stmt.fail();
        SQLWCHAR typeName[128] = {};
        SQLSMALLINT typeNameBytes = 0;
        if (!SQL_SUCCEEDED(SQLColAttributeW(stmt.get(), i, SQL_DESC_TYPE_NAME, typeName, SQLSMALLINT(sizeof typeName),
                                            &typeNameBytes, nullptr)))
            typeName[0] = 0;
        typeName[127] = 0;
        columns.push_back({fromWide(name.data(), std::clamp<qsizetype>(nameLength, 0, qsizetype(name.size()) - 1)),
                           odbcColumnType(dataType, digits, QString::fromUtf16(reinterpret_cast<const char16_t *>(typeName)))});
    }
    return columns;
}

class OdbcBackend : public DbBackend
{
public:
    OdbcBackend(QString connectionString, std::shared_ptr<OdbcLink> first)
        : m_connectionString(std::move(connectionString))
    {
        m_links.push_back(std::move(first));
    }

    std::unique_ptr<DbCursor> execute(const QString &sql) override
    {
        const std::shared_ptr<OdbcLink> link = idleLink();
        SQLHSTMT handle = SQL_NULL_HSTMT;
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, link->dbc, &handle)))
            throw odbcStatementError(diagnostics(SQL_HANDLE_DBC, link->dbc));
        StatementHandle stmt(handle);
        SQLSetStmtAttrW(handle, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(QueryTimeoutSeconds),
                        SQL_IS_UINTEGER);

        SQLRETURN rc = SQLExecDirectW(handle, const_cast<SQLWCHAR *>(wide(sql)), SQL_NTS);
        if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA)
            stmt.fail();
        SQLSMALLINT count = 0;
        if (!SQL_SUCCEEDED(SQLNumResultCols(handle, &count)))
            stmt.fail();
        // A batch may report counts of rows before the rows themselves.
        while (count == 0) {
            rc = SQLMoreResults(handle);
            if (rc == SQL_NO_DATA)
                break;
            if (!SQL_SUCCEEDED(rc) || !SQL_SUCCEEDED(SQLNumResultCols(handle, &count)))
                stmt.fail();
        }
        std::vector<Column> columns = describeColumns(stmt, count);
        return std::make_unique<OdbcCursor>(link, stmt.release(), std::move(columns));
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

} // namespace zelvan::platform
