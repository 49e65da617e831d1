#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace zelvan::database::odbcapi {

// The ODBC calls of the SQL Server back end in plain C++, without Qt: the
// same code builds against unixODBC and against the ODBC of the Windows SDK,
// and the Windows cross-compile checks it.

struct Diagnostic
{
    std::u16string state;  // SQLSTATE, e.g. u"28000"
    std::int32_t native = 0;
    std::u16string text;
};

// A failed call, with the diagnostic records of the handle it failed on.
class Error : public std::exception
{
public:
    enum class Stage {
        DriverManager,  // no environment handle, hence no records
        Connect,
        Statement,
    };

    Error(Stage stage, std::vector<Diagnostic> records);
    const char *what() const noexcept override;

    Stage stage;
    std::vector<Diagnostic> records;
};

struct Column
{
    std::u16string name;
    int dataType = 0;  // the ODBC data type code
    int decimalDigits = 0;
    std::u16string typeName;  // the driver's own name for the type, e.g. u"money"
};

// A date and time as the driver gives it.
struct Timestamp
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    std::uint32_t fraction = 0;  // nanoseconds
};

namespace detail {
struct FreeHandle
{
    short type = 0;
    void operator()(void *handle) const noexcept;
};
using Handle = std::unique_ptr<void, FreeHandle>;
} // namespace detail

// One connection, opened without prompting and asked to be read-only.
class Connection
{
public:
    // Throws Error (DriverManager or Connect).
    Connection(const std::u16string &connectionString, unsigned long loginTimeoutSeconds);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

private:
    friend class Statement;
    detail::Handle m_env;
    detail::Handle m_dbc;
    bool m_connected = false;
};

// One statement and its rows, read row by row. Destroying it discards unread
// rows, and its connection serves the next statement.
class Statement
{
public:
    // Runs `sql` and moves to its first result that has columns. Throws Error (Statement).
    Statement(Connection &connection, const std::u16string &sql, unsigned long queryTimeoutSeconds);

    // Empty for a statement without rows.
    const std::vector<Column> &columns() const { return m_columns; }

    // The next row; false after the last one. Throws Error (Statement).
    bool fetch();

    // Each reads a column (numbered from 1) of the current row; false for
    // NULL. Throws Error (Statement).
    bool get(std::uint16_t column, std::int32_t &value);
    bool get(std::uint16_t column, std::int64_t &value);
    bool get(std::uint16_t column, double &value);
    bool get(std::uint16_t column, Timestamp &value);
    // Character data of any length, as UTF-16 or as the driver's 8-bit text.
    bool get(std::uint16_t column, std::u16string &text);
    bool get(std::uint16_t column, std::string &text);

private:
    template <typename Char>
    bool getPieces(std::uint16_t column, short cType, std::basic_string<Char> &text);

    detail::Handle m_stmt;
    std::vector<Column> m_columns;
    alignas(8) std::array<char, 8192> m_buffer;
};

} // namespace zelvan::database::odbcapi
