// The ODBC calls through Wine's odbc32, which hands them to the host's
// unixODBC and FreeTDS, to the demo instance that the TDS test server serves
// as a SQL Server (check.sh starts it).

#include "checkgroups.h"

#include "database/odbcapi/odbcapi.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace zelvan::windowscheck {

namespace {

using namespace database::odbcapi;

std::string describeError(const Error &error)
{
    std::string text = "ODBC error at stage " + std::to_string(int(error.stage));
    for (const Diagnostic &record : error.records)
        text += ", " + toUtf8(record.state) + " " + std::to_string(record.native) + " " + toUtf8(record.text);
    return text;
}

// Reads a column with the getter the back end uses for a type.
enum class Read { Int64, Timestamp, Text8, Text16 };

std::optional<std::string> read(Statement &statement, std::uint16_t column, Read as)
{
    std::int64_t int64 = 0;
    Timestamp time;
    std::string text;
    std::u16string wide;
    char formatted[64] = {};
    switch (as) {
    case Read::Int64:
        return statement.get(column, int64) ? std::optional(std::to_string(int64)) : std::nullopt;
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

// SQL Server's types as the driver reports them and the getter the type
// mapping uses for each reads them: those whose C types differ in width or
// layout between Windows and Linux. The rest, NULL and the refusals are
// the same code as on Linux, where tst_tdsserver and tst_odbcbackend run them.
struct TypeRow
{
    const char *name;
    std::u16string sql;
    int dataType;
    std::u16string typeName;
    Read read;
    std::string value;
};

const TypeRow typeRows[] = {
    {"a SUM over MONEY", u"SELECT SUM(Alacak) as Toplam FROM CEKKART WHERE Durum='Portföyde'", 3, u"money", Read::Text8,
     "13632486.5300"},
    {"NVARCHAR, Turkish text", u"SELECT sysfrm_nm FROM Defination_DB.dbo.sysfrmlng WHERE sysfrm_ID=1", -9, u"nvarchar",
     Read::Text16, "Demo Ticaret A.Ş."},
    {"DATETIME", u"SELECT Mali_Yil_Baslangic FROM Defination_DB.dbo.sysfrmlng WHERE sysfrm_ID=1", 93, u"datetime",
     Read::Timestamp, "2026-01-01 00:00:00.000000000"},
    {"a whole number beyond 32 bits", u"SELECT 9000000000", 2, u"decimal", Read::Int64, "9000000000"},
};

void typeCase(Case &check, Connection &connection, const TypeRow &row)
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

const std::u16string login = u";DATABASE=NRV_DEMO_2026;UID=norvent;PWD={Zelvan2026};TDS_Version=7.4;ClientCharset=UTF-8";

// Longer than the getter's buffer, with characters beyond the BMP.
void longTextCase(Case &check, Connection &connection)
{
    Statement statement(connection, u"SELECT replace(hex(zeroblob(2000)), '00', 'ğüşİıöçxy😀')", 5);
    std::u16string text;
    check.that("a row", statement.fetch());
    check.that("not NULL", statement.get(1, text));
    std::u16string expected;
    for (int i = 0; i < 2000; ++i)
        expected += u"ğüşİıöçxy😀";
    check.equal("length", text.size(), expected.size());
    check.that("text", text == expected);
}

} // namespace

void odbcChecks(Checks &checks)
{
    // check.sh names the server as the program takes a server name: "127.0.0.1,PORT".
    const wchar_t *server = _wgetenv(L"ZELVAN_TDS_SERVER");
    const std::wstring name = server ? server : L"";
    const std::u16string driver = u"DRIVER={FreeTDS};SERVER=" + std::u16string(name.begin(), name.end());
    std::unique_ptr<Connection> connection;
    checks.run("ODBC: connect to the TDS test server", odbcCase([&](Case &check) {
        check.that("ZELVAN_TDS_SERVER is set", server != nullptr);
        connection = std::make_unique<Connection>(driver + login, 5);
    }));
    if (!connection)
        return;
    for (const TypeRow &row : typeRows)
        checks.run(std::string("ODBC: ") + row.name, odbcCase([&](Case &check) { typeCase(check, *connection, row); }));
    checks.run("ODBC: text longer than a piece", odbcCase([&](Case &check) { longTextCase(check, *connection); }));
}

} // namespace zelvan::windowscheck
