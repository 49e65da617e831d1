#include "database/odbcapi/odbcapi.h"

#ifdef _WIN32
// sql.h needs the Windows types; without the min/max macros that clash with
// the standard library.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <utility>

namespace zelvan::database::odbcapi {

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "ODBC's wide characters must be UTF-16 code units");

SQLWCHAR *wide(const std::u16string &text)
{
    // The driver manager takes the input text without const; it doesn't change it.
    return const_cast<SQLWCHAR *>(reinterpret_cast<const SQLWCHAR *>(text.c_str()));
}

std::u16string fromWide(const SQLWCHAR *text, std::ptrdiff_t length)
{
    return std::u16string(reinterpret_cast<const char16_t *>(text), std::size_t(std::max<std::ptrdiff_t>(length, 0)));
}

std::vector<Diagnostic> diagnostics(SQLSMALLINT handleType, SQLHANDLE handle)
{
    std::vector<Diagnostic> records;
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
        Diagnostic record;
        record.state = reinterpret_cast<const char16_t *>(state);
        record.native = std::int32_t(native);
        record.text = fromWide(text.data(), std::min<std::ptrdiff_t>(length, std::ptrdiff_t(text.size()) - 1));
        records.push_back(std::move(record));
    }
    return records;
}

[[noreturn]] void failOnStatement(SQLHSTMT stmt)
{
    throw Error(Error::Stage::Statement, diagnostics(SQL_HANDLE_STMT, stmt));
}

void setConnectAttribute(SQLHDBC dbc, SQLINTEGER attribute, SQLULEN value)
{
    // Hints: a driver that doesn't know one keeps its own default.
    SQLSetConnectAttrW(dbc, attribute, reinterpret_cast<SQLPOINTER>(value), SQL_IS_UINTEGER);
}

bool getFixed(SQLHSTMT stmt, std::uint16_t column, SQLSMALLINT cType, SQLPOINTER value, SQLLEN size)
{
    SQLLEN indicator = 0;
    if (!SQL_SUCCEEDED(SQLGetData(stmt, column, cType, value, size, &indicator)))
        failOnStatement(stmt);
    return indicator != SQL_NULL_DATA;
}

std::vector<Column> describeColumns(SQLHSTMT stmt, SQLSMALLINT count)
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
        SQLRETURN rc = SQLDescribeColW(stmt, i, name.data(), SQLSMALLINT(name.size()), &nameLength, &dataType, &size,
                                       &digits, &nullable);
        if (SQL_SUCCEEDED(rc) && nameLength >= SQLSMALLINT(name.size())) {
            name.resize(std::size_t(nameLength) + 1);
            rc = SQLDescribeColW(stmt, i, name.data(), SQLSMALLINT(name.size()), &nameLength, &dataType, &size,
                                 &digits, &nullable);
        }
        if (!SQL_SUCCEEDED(rc))
            failOnStatement(stmt);
        SQLWCHAR typeName[128] = {};
        SQLSMALLINT typeNameBytes = 0;
        if (!SQL_SUCCEEDED(SQLColAttributeW(stmt, i, SQL_DESC_TYPE_NAME, typeName, SQLSMALLINT(sizeof typeName),
                                            &typeNameBytes, nullptr)))
            typeName[0] = 0;
        typeName[127] = 0;
        Column column;
        column.name = fromWide(name.data(), std::min<std::ptrdiff_t>(nameLength, std::ptrdiff_t(name.size()) - 1));
        column.dataType = dataType;
        column.decimalDigits = digits;
        column.typeName = reinterpret_cast<const char16_t *>(typeName);
        columns.push_back(std::move(column));
    }
    return columns;
}

} // namespace

Error::Error(Stage stage, std::vector<Diagnostic> records)
    : stage(stage)
    , records(std::move(records))
{
}

const char *Error::what() const noexcept
{
    return "ODBC call failed";
}

void detail::FreeHandle::operator()(void *handle) const noexcept
{
    SQLFreeHandle(type, handle);
}

Connection::Connection(const std::u16string &connectionString, unsigned long loginTimeoutSeconds)
{
    SQLHANDLE env = SQL_NULL_HANDLE;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        throw Error(Error::Stage::DriverManager, {});
    m_env = detail::Handle(env, {SQL_HANDLE_ENV});
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQLULEN(SQL_OV_ODBC3)), 0);

    SQLHANDLE dbc = SQL_NULL_HANDLE;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc)))
        throw Error(Error::Stage::Connect, diagnostics(SQL_HANDLE_ENV, env));
    m_dbc = detail::Handle(dbc, {SQL_HANDLE_DBC});
    setConnectAttribute(dbc, SQL_ATTR_LOGIN_TIMEOUT, loginTimeoutSeconds);
    setConnectAttribute(dbc, SQL_ATTR_CONNECTION_TIMEOUT, loginTimeoutSeconds);
    // The program only reads; the read-only login is what really keeps it so.
    setConnectAttribute(dbc, SQL_ATTR_ACCESS_MODE, SQL_MODE_READ_ONLY);

    const SQLRETURN rc =
        SQLDriverConnectW(dbc, nullptr, wide(connectionString), SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc))
        throw Error(Error::Stage::Connect, diagnostics(SQL_HANDLE_DBC, dbc));
    m_connected = true;
}

Connection::~Connection()
{
    if (m_connected)
        SQLDisconnect(m_dbc.get());
}

Statement::Statement(Connection &connection, const std::u16string &sql, unsigned long queryTimeoutSeconds)
{
    SQLHANDLE handle = SQL_NULL_HANDLE;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection.m_dbc.get(), &handle)))
        throw Error(Error::Stage::Statement, diagnostics(SQL_HANDLE_DBC, connection.m_dbc.get()));
    m_stmt = detail::Handle(handle, {SQL_HANDLE_STMT});
    SQLSetStmtAttrW(handle, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(queryTimeoutSeconds)),
                    SQL_IS_UINTEGER);

    SQLRETURN rc = SQLExecDirectW(handle, wide(sql), SQL_NTS);
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA)
        failOnStatement(handle);
    SQLSMALLINT count = 0;
    if (!SQL_SUCCEEDED(SQLNumResultCols(handle, &count)))
        failOnStatement(handle);
    // A batch may report counts of rows before the rows themselves.
    while (count == 0) {
        rc = SQLMoreResults(handle);
        if (rc == SQL_NO_DATA)
            break;
        if (!SQL_SUCCEEDED(rc) || !SQL_SUCCEEDED(SQLNumResultCols(handle, &count)))
            failOnStatement(handle);
    }
    m_columns = describeColumns(handle, count);
}

bool Statement::fetch()
{
    const SQLRETURN rc = SQLFetch(m_stmt.get());
    if (rc == SQL_NO_DATA)
        return false;
    if (!SQL_SUCCEEDED(rc))
        failOnStatement(m_stmt.get());
    return true;
}

// Reads character data piece by piece, however long it is.
template <typename Char>
bool Statement::getPieces(std::uint16_t column, short cType, std::basic_string<Char> &text)
{
    text.clear();
    constexpr SQLLEN unit = sizeof(Char);
    const SQLLEN room = SQLLEN(m_buffer.size()) - unit;  // less the terminator
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(m_stmt.get(), column, cType, m_buffer.data(), SQLLEN(m_buffer.size()), &indicator);
        if (rc == SQL_NO_DATA)
            return true;  // the calls before read it all
        if (!SQL_SUCCEEDED(rc))
            failOnStatement(m_stmt.get());
        if (indicator == SQL_NULL_DATA)
            return false;
        const bool last = indicator != SQL_NO_TOTAL && indicator <= room;
        const SQLLEN bytes = last ? indicator - indicator % unit : room - room % unit;
        text.append(reinterpret_cast<const Char *>(m_buffer.data()), std::size_t(bytes / unit));
        if (last)
            return true;
    }
}

bool Statement::get(std::uint16_t column, std::int32_t &value)
{
    SQLINTEGER read = 0;
    const bool present = getFixed(m_stmt.get(), column, SQL_C_SLONG, &read, sizeof read);
    value = std::int32_t(read);
    return present;
}

bool Statement::get(std::uint16_t column, std::int64_t &value)
{
    SQLBIGINT read = 0;
    const bool present = getFixed(m_stmt.get(), column, SQL_C_SBIGINT, &read, sizeof read);
    value = std::int64_t(read);
    return present;
}

bool Statement::get(std::uint16_t column, double &value)
{
    SQLDOUBLE read = 0;
    const bool present = getFixed(m_stmt.get(), column, SQL_C_DOUBLE, &read, sizeof read);
    value = read;
    return present;
}

bool Statement::get(std::uint16_t column, Timestamp &value)
{
    SQL_TIMESTAMP_STRUCT read = {};
    const bool present = getFixed(m_stmt.get(), column, SQL_C_TYPE_TIMESTAMP, &read, sizeof read);
    value = {read.year, read.month, read.day, read.hour, read.minute, read.second, std::uint32_t(read.fraction)};
    return present;
}

bool Statement::get(std::uint16_t column, std::u16string &text)
{
    return getPieces(column, SQL_C_WCHAR, text);
}

bool Statement::get(std::uint16_t column, std::string &text)
{
    return getPieces(column, SQL_C_CHAR, text);
}

} // namespace zelvan::database::odbcapi
