#pragma once

#include <QString>

#include <functional>

namespace zelvan::database {
class Connection;
class Recordset;
} // namespace zelvan::database

namespace zelvan::program {
class Program;
} // namespace zelvan::program

namespace zelvan::login {

// Trim: spaces only, as the runtime's Trim.
QString trimBlanks(const QString &text);

// The three text boxes of the user panel, as typed.
struct TypedLogin
{
    QString user;
    QString password;
    QString server;
};

// What a step of the check came to; its messages are shown already.
enum class LoginOutcome {
    UserFound,         // the user and password match a row of sysuslng
    Refused,           // no such user or password, or the server refused the login; counted
    NotConnected,      // the connection or the lookup failed for another reason
    CompaniesListed,   // the company query ran; an empty or closed list included
};

// The check behind the login dialog's OK button, without the dialog: the
// connection with the typed login, the user's row in sysuslng, then the
// user's companies. Every query goes through OpenRecordset (its SQL on the
// clipboard, its failure shown). The third refused login ends the program.
class LoginCheck
{
public:
    explicit LoginCheck(program::Program &program);

    // Connects to Defination_DB with the typed login and looks the user up.
    // On UserFound the user's row is the current record of `rs`.
    LoginOutcome findUser(const TypedLogin &typed, database::Recordset &rs);
    // Takes the user's id from `rs` and reopens `rs` on the user's companies,
    // the newest first, read ahead for the grid.
    LoginOutcome listCompanies(database::Recordset &rs);

    // Refused logins so far.
    quint8 failedAttempts() const { return m_failedAttempts; }

    // Opens the program's new connection; Connection::open unless replaced.
    std::function<void(database::Connection &, const QString &connectionString)> openConnection;

private:
    LoginOutcome refused();
    LoginOutcome notConnected(qint32 number, const QString &description);

    program::Program &m_program;
    quint8 m_failedAttempts = 0;
};

} // namespace zelvan::login
