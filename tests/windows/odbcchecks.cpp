// The ODBC calls through the system's ODBC to the SQLite ODBC driver and to
// FreeTDS: under Wine, Wine's odbc32 hands them to the host's unixODBC, which
// finds the driver by its name in odbcinst.ini.

#include "checkgroups.h"
#include "childprocess.h"

#include "database/odbcapi/odbcapi.h"
#include "platform/win32/win32api.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace zelvan::windowscheck {

namespace {

using namespace database::odbcapi;

// The database file as the driver, a host program under Wine, names it.
std::u16string databasePath()
{
    const std::wstring path = programFolder() + L"\\odbc.sqlite";
    using UnixName = char *(CDECL *)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName)
        return std::u16string(path.begin(), path.end());
    char *name = unixName(path.c_str());
    const std::string bytes = name ? name : "";
    ::HeapFree(::GetProcessHeap(), 0, name);
    return std::u16string(bytes.begin(), bytes.end());  // the scratch folder's path is ASCII
}

const std::u16string setup[] = {
    u"CREATE TABLE t (id INT, b BIT, ti TINYINT, si SMALLINT, i INT, bi BIGINT, m MONEY, n NUMERIC(10,4), "
    u"f FLOAT, dt DATETIME, nv NVARCHAR(40))",
    u"INSERT INTO t VALUES (1, 1, 200, -32000, 70000, 9000000000, 1234.5678, 3.1416, 1.5, "
    u"'2026-03-01 12:34:56.789', 'Türkçe ŞĞÜ İıĞ çöş'), (2, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL)",
    // The SQLite driver has no wide entry points: unixODBC converts the statement
    // to the locale's character set and breaks surrogate pairs, so the emoji
    // comes from char().
    u"INSERT INTO t (id, nv) VALUES (3, replace(hex(zeroblob(2000)), '00', 'ğüşİıöçxy' || char(128512)))",
};

std::string describeError(const Error &error)
{
    std::string text = "ODBC error at stage " + std::to_string(int(error.stage));
    for (const Diagnostic &record : error.records)
        text += ", " + toUtf8(record.state) + " " + std::to_string(record.native) + " " + toUtf8(record.text);
    return text;
}

// Reads a column with the getter the back end uses for a type.
enum class Read { Int32, Int64, Double, Timestamp, Text8, Text16 };

std::optional<std::string> read(Statement &statement, std::uint16_t column, Read as)
{
    std::int32_t int32 = 0;
    std::int64_t int64 = 0;
    double number = 0;
    Timestamp time;
    std::string text;
    std::u16string wide;
    char formatted[64] = {};
    switch (as) {
    case Read::Int32:
        return statement.get(column, int32) ? std::optional(std::to_string(int32)) : std::nullopt;
    case Read::Int64:
        return statement.get(column, int64) ? std::optional(std::to_string(int64)) : std::nullopt;
    case Read::Double:
        if (!statement.get(column, number))
            return std::nullopt;
        std::snprintf(formatted, sizeof formatted, "%.15g", number);
        return formatted;
    case Read::Timestamp:
        if (!statement.get(column, time))
            return std::nullopt;
        std::snprintf(formatted, sizeof formatted, "%04d-%02d-%02d %02d:%02d:%02d.%09u", time.year, time.month,
                      time.day, time.hour, time.minute, time.second, unsigned(time.fraction));
        return formatted;
    case Read::Text8:
        return statement.get(column, text) ? std::optional(text) : std::nullopt;
    case Read::Text16:
        return statement.get(column, wide) ? std::optional(toUtf8(wide)) : std::nullopt;
    }
    return std::nullopt;
}

// What the driver reports for each of SQL Server's type names that the type
// mapping tells apart, the value of the first row and the NULL of the second.
// This driver knows no DECIMAL type: it reports DECIMAL as text and NUMERIC
// as a double.
struct TypeRow
{
    const char *name;
    const char16_t *column;
    int dataType;
    std::u16string typeName;
    Read read;
    std::string value;
};

const TypeRow typeRows[] = {
    {"BIT", u"b", -7, u"BIT", Read::Int32, "1"},
    {"TINYINT", u"ti", -6, u"TINYINT", Read::Int32, "200"},
    {"SMALLINT", u"si", 5, u"SMALLINT", Read::Int32, "-32000"},
    {"INT", u"i", 4, u"INT", Read::Int32, "70000"},
    {"BIGINT", u"bi", -5, u"BIGINT", Read::Int64, "9000000000"},
    {"MONEY", u"m", 12, u"MONEY", Read::Text8, "1234.5678"},
    {"NUMERIC", u"n", 8, u"NUMERIC", Read::Double, "3.1416"},
    {"FLOAT", u"f", 8, u"FLOAT", Read::Double, "1.5"},
    {"DATETIME", u"dt", 93, u"DATETIME", Read::Timestamp, "2026-03-01 12:34:56.789000000"},
    {"NVARCHAR, Turkish text", u"nv", 12, u"NVARCHAR", Read::Text16, "Türkçe ŞĞÜ İıĞ çöş"},
};

void typeCase(Case &check, Connection &connection, const TypeRow &row)
{
    Statement statement(connection, u"SELECT " + std::u16string(row.column) + u" FROM t WHERE id < 3 ORDER BY id", 5);
    check.equal("columns", statement.columns().size(), std::size_t(1));
    if (statement.columns().size() != 1)
        return;
    check.equal("data type", statement.columns()[0].dataType, row.dataType);
    check.equal("type name", statement.columns()[0].typeName, row.typeName);
    check.that("first row", statement.fetch());
    check.equal("value", read(statement, 1, row.read), std::optional(row.value));
    check.that("second row", statement.fetch());
    check.equal("NULL", read(statement, 1, row.read), std::optional<std::string>());
    check.that("no third row", !statement.fetch());
}

// Refused connections and statements, and the diagnostic records they give.
struct RejectRow
{
    const char *name;
    std::u16string connection;  // empty: the scratch database
    std::u16string sql;
    Error::Stage stage;
    std::u16string state;
    std::u16string textPart;
    std::int32_t native = 0;  // 0: not checked
};

const RejectRow rejectRows[] = {
    {"a missing table", u"", u"SELECT * FROM Çizelge", Error::Stage::Statement, u"HY000", u"no such table: Çizelge"},
    {"a syntax error", u"", u"SELEC 1", Error::Stage::Statement, u"HY000", u"syntax error"},
    // unixODBC takes a driver name that odbcinst.ini lacks for a library's file name.
    {"a driver that is not installed", u"DRIVER={Yok Sürücü}", u"", Error::Stage::Connect, u"01000",
     u"Can't open lib 'Yok Sürücü'"},
};

void rejectCase(Case &check, const std::u16string &database, const RejectRow &row)
{
    try {
        Connection connection(row.connection.empty() ? database : row.connection, 5);
        Statement statement(connection, row.sql, 5);
        check.fail("not refused");
    } catch (const Error &error) {
        check.equal("stage", int(error.stage), int(row.stage));
        check.that("records", !error.records.empty());
        if (error.records.empty())
            return;
        check.equal("SQLSTATE", error.records[0].state, row.state);
        if (row.native != 0)
            check.equal("native error", error.records[0].native, row.native);
        check.that("text", error.records[0].text.find(row.textPart) != std::u16string::npos);
    }
}

// The case's body, with an ODBC error as its failure.
template <typename Body>
std::function<void(Case &)> odbcCase(Body body)
{
    return [body](Case &check) {
        try {
            body(check);
        } catch (const Error &error) {
            check.fail(describeError(error));
        }
    };
}

// The demo instance served as a SQL Server by the TDS test server, through
// FreeTDS: SQL Server's own types as the mapping reads them, and its errors.
struct TdsRow
{
    const char *name;
    std::u16string sql;
    int dataType;
    std::u16string typeName;
    Read read;
    std::string value;
};

const TdsRow tdsRows[] = {
    {"a SUM over MONEY", u"SELECT SUM(Alacak) as Toplam FROM CEKKART WHERE Durum='Portföyde'", 3, u"money", Read::Text8,
     "13632486.5300"},
    {"NVARCHAR, Turkish text", u"SELECT sysfrm_nm FROM Defination_DB.dbo.sysfrmlng WHERE sysfrm_ID=1", -9, u"nvarchar",
     Read::Text16, "Demo Ticaret A.Ş."},
    {"DATETIME", u"SELECT Mali_Yil_Baslangic FROM Defination_DB.dbo.sysfrmlng WHERE sysfrm_ID=1", 93, u"datetime",
     Read::Timestamp, "2026-01-01 00:00:00.000000000"},
    {"INT", u"SELECT sysfrm_ID FROM Defination_DB.dbo.sysfrmlng WHERE sysfrm_ID=1", 4, u"int", Read::Int32, "1"},
};

const std::u16string tdsLogin = u";DATABASE=NRV_DEMO_2026;UID=norvent;PWD={Zelvan2026};TDS_Version=7.4;ClientCharset=UTF-8";

void tdsTypeCase(Case &check, Connection &connection, const TdsRow &row)
{
    Statement statement(connection, row.sql, 5);
    check.equal("columns", statement.columns().size(), std::size_t(1));
    if (statement.columns().size() != 1)
        return;
    check.equal("data type", statement.columns()[0].dataType, row.dataType);
    check.equal("type name", statement.columns()[0].typeName, row.typeName);
    check.that("a row", statement.fetch());
    check.equal("value", read(statement, 1, row.read), std::optional(row.value));
}

void freeTdsChecks(Checks &checks)
{
    // check.sh starts the server and names it, as the program takes a server name: "127.0.0.1,PORT".
    const wchar_t *server = _wgetenv(L"ZELVAN_TDS_SERVER");
    const std::wstring name = server ? server : L"";
    const std::u16string driver = u"DRIVER={FreeTDS};SERVER=" + std::u16string(name.begin(), name.end());
    std::unique_ptr<Connection> connection;
    checks.run("FreeTDS: connect to the TDS test server", odbcCase([&](Case &check) {
        check.that("ZELVAN_TDS_SERVER is set", server != nullptr);
        connection = std::make_unique<Connection>(driver + tdsLogin, 5);
    }));
    if (!connection)
        return;
    for (const TdsRow &row : tdsRows)
        checks.run(std::string("FreeTDS: ") + row.name, odbcCase([&](Case &check) { tdsTypeCase(check, *connection, row); }));
    // Refusals as SQL Server words them. FreeTDS gives a refused login SQLSTATE 42000 where Microsoft's
    // drivers give 28000; the program knows it by its number, 18456, as well.
    const RejectRow refusals[] = {
        {"a missing table", driver + tdsLogin, u"SELECT * FROM YOK", Error::Stage::Statement, u"42S02",
         u"Invalid object name 'YOK'.", 208},
        {"a wrong password", driver + u";DATABASE=NRV_DEMO_2026;UID=norvent;PWD={yanlış};TDS_Version=7.4;ClientCharset=UTF-8",
         u"SELECT 1", Error::Stage::Connect, u"42000", u"Login failed for user 'norvent'.", 18456},
    };
    for (const RejectRow &row : refusals)
        checks.run(std::string("FreeTDS refuses: ") + row.name, [&](Case &check) { rejectCase(check, std::u16string(), row); });
}

} // namespace

void odbcChecks(Checks &checks)
{
    const std::wstring file = programFolder() + L"\\odbc.sqlite";
    ::DeleteFileW(file.c_str());
    const std::u16string database = u"DRIVER=SQLite3;DATABASE=" + databasePath();
    std::unique_ptr<Connection> connection;
    checks.run("ODBC: connect to SQLite3 and fill a table", odbcCase([&](Case &) {
        connection = std::make_unique<Connection>(database, 5);
        for (const std::u16string &sql : setup)
            Statement(*connection, sql, 5);
    }));
    if (!connection)
        return;
    for (const TypeRow &row : typeRows)
        checks.run(std::string("ODBC: ") + row.name, odbcCase([&](Case &check) { typeCase(check, *connection, row); }));
    checks.run("ODBC: Turkish text in a statement", odbcCase([&](Case &check) {
        Statement statement(*connection, u"SELECT id FROM t WHERE nv = 'Türkçe ŞĞÜ İıĞ çöş'", 5);
        check.that("a row", statement.fetch());
        check.equal("id", read(statement, 1, Read::Int32), std::optional<std::string>("1"));
    }));
    checks.run("ODBC: text longer than a piece", odbcCase([&](Case &check) {
        Statement statement(*connection, u"SELECT nv FROM t WHERE id = 3", 5);
        std::u16string text;
        check.that("a row", statement.fetch());
        check.that("not NULL", statement.get(1, text));
        std::u16string expected;
        for (int i = 0; i < 2000; ++i)
            expected += u"ğüşİıöçxy😀";
        check.equal("length", text.size(), expected.size());
        check.that("text", text == expected);
    }));
    for (const RejectRow &row : rejectRows)
        checks.run(std::string("ODBC refuses: ") + row.name, odbcCase([&](Case &check) { rejectCase(check, database, row); }));
    connection.reset();
    ::DeleteFileW(file.c_str());
    freeTdsChecks(checks);
}

} // namespace zelvan::windowscheck
