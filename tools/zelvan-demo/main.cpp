// zelvan-demo writes an embedded instance: a directory of SQLite files that
// the program opens instead of a SQL Server. It serves three purposes: trying
// the program without a server (logins, users and companies that reach every
// path of the login and the report right), the end-to-end tests, and the
// benchmarks, which ask for large instances through the options. The same
// seed always gives byte-identical files.

#include "demoinstance.h"

#include "login/passwordtext.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>
#include <exception>
#include <optional>

using namespace Qt::Literals::StringLiterals;
using zelvan::demo::DemoOptions;

namespace {

constexpr qint64 MaxItems = 2000000;
constexpr qint64 MaxMovements = 1000;  // with MaxItems, ids still fit an INT

struct Arguments
{
    QString dir;
    DemoOptions options;
    bool help = false;
    QString error;
};

QString usage()
{
    return u"usage: zelvan-demo DIR [--items N] [--movements-per-item M] [--seed S] [--tsql SQLDIR]\n"_s;
}

QString helpText()
{
    return usage()
           + u"\nWrites a demo instance for zelvan into DIR (created when missing): master.sqlite,\n"
             u"Defination_DB.sqlite and two company databases. Existing files of these names are\n"
             u"replaced; other files are left alone.\n\n"
             u"  --items N               stock items of the first company (default 200, 1.."_s
           + QString::number(MaxItems)
           + u"); the second\n"
             u"                          company has a quarter. Accounts, cheques, notes and POS\n"
             u"                          receipts grow with N.\n"
             u"  --movements-per-item M  stock movements of each item (default 12, 1.."_s
           + QString::number(MaxMovements)
           + u")\n"
             u"  --seed S                any unsigned 64-bit number (default 2026); the same seed\n"
             u"                          gives byte-identical files\n"
             u"  --tsql SQLDIR           also write T-SQL scripts that build the same databases on\n"
             u"                          a SQL Server into SQLDIR (created when missing):\n"
             u"                          Defination_DB.sql, one per company, and logins.sql with\n"
             u"                          read-only logins; run them in that order\n"
             u"  --help                  this text\n"_s;
}

std::optional<quint64> unsignedNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 20)
        return std::nullopt;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const quint64 value = text.toULongLong(&ok, 10);
    return ok ? std::optional<quint64>(value) : std::nullopt;
}

Arguments parse(const QStringList &args)
{
    Arguments result;
    bool optionsEnded = false;
    QStringList positional;
    for (qsizetype i = 0; i < args.size() && result.error.isEmpty(); ++i) {
        const QString &arg = args.at(i);
        if (optionsEnded || !arg.startsWith(u"--")) {
            positional.append(arg);
            continue;
        }
        if (arg == u"--") {
            optionsEnded = true;
            continue;
        }
        if (arg == u"--help") {
            result.help = true;
            continue;
        }
        QString name = arg;
        QString value;
        const qsizetype eq = arg.indexOf(u'=');
        if (eq > 0) {
            name = arg.left(eq);
            value = arg.mid(eq + 1);
        } else if (i + 1 < args.size()) {
            value = args.at(++i);
        }
        if (name == u"--tsql") {
            if (value.isEmpty())
                result.error = u"bad value for --tsql: ''"_s;
            result.options.tsqlDir = value;
            continue;
        }
        const std::optional<quint64> number = unsignedNumber(value);
        const auto inRange = [&](qint64 max) { return number && *number >= 1 && *number <= quint64(max); };
        if (name == u"--items" && inRange(MaxItems))
            result.options.items = int(*number);
        else if (name == u"--movements-per-item" && inRange(MaxMovements))
            result.options.movementsPerItem = int(*number);
        else if (name == u"--seed" && number)
            result.options.seed = *number;
        else if (name == u"--items" || name == u"--movements-per-item" || name == u"--seed")
            result.error = u"bad value for %1: '%2'"_s.arg(name, value);
        else
            result.error = u"unknown option %1"_s.arg(name);
    }
    if (result.error.isEmpty() && !result.help) {
        if (positional.size() != 1)
            result.error = positional.isEmpty() ? u"DIR is missing"_s : u"only one DIR may be given"_s;
        else
            result.dir = positional.first();
    }
    return result;
}

void print(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

QString shellQuoted(const QString &text)
{
    QString quoted = text;
    quoted.replace(u"'"_s, u"'\\''"_s);
    return u'\'' + quoted + u'\'';
}

QString passwordText(const QString &password)
{
    return password.isEmpty() ? u"(empty)"_s : password;
}

QString summary(const QString &dir, const DemoOptions &options, const QList<zelvan::demo::WrittenDatabase> &written)
{
    QString text = u"Demo instance written to %1 (seed %2, %3 items x %4 movements)\n"_s.arg(
        dir, QString::number(options.seed), QString::number(options.items), QString::number(options.movementsPerItem));
    for (const auto &database : written) {
        QStringList counts;
        for (const auto &table : database.tables)
            counts.append(table.table + u' ' + QString::number(table.rows));
        text += u"  "_s + database.fileName + u": "_s + counts.join(u", "_s) + u'\n';
    }

    QStringList logins;
    for (const auto &login : zelvan::demo::demoLogins())
        logins.append(login.name + u" / "_s + passwordText(login.password));
    text += u"SQL logins: "_s + logins.join(u", "_s) + u" (an empty password is given as \"æ\")\n"_s;
    QStringList users;
    for (const auto &user : zelvan::demo::demoUsers())
        users.append(QString::number(user.id) + u' ' + zelvan::login::TurkishUpperCase(user.name) + u" / "_s
                     + passwordText(user.password));
    text += u"Suite users: "_s + users.join(u", "_s) + u'\n';

    const QString program = QDir(QCoreApplication::applicationDirPath()).filePath(u"zelvan"_s);
    const QString &demo = zelvan::demo::demoCompanies().at(0).database;
    const QString &other = zelvan::demo::demoCompanies().at(1).database;
    text += u"Run the report:\n"_s;
    text += u"  "_s + program + u" -- "_s + shellQuoted(demo + u'|' + dir + u"|1|norvent|Zelvan2026"_s) + u'\n';
    text += u"  "_s + program + u" -- "_s + shellQuoted(other + u'|' + dir + u"|4|rapor|æ"_s) + u'\n';
    text += u"Login dialog: "_s + program + u" (server: "_s + dir + u")\n"_s;
    if (!options.tsqlDir.isEmpty()) {
        text += u"T-SQL scripts written to %1; run them on the server in this order:\n"_s.arg(
            QDir::toNativeSeparators(options.tsqlDir));
        QStringList files{u"Defination_DB.sql"_s};
        for (const auto &company : zelvan::demo::demoCompanies())
            files.append(company.database + u".sql"_s);
        files.append(u"logins.sql"_s);
        text += u"  sqlcmd -S SERVER -U sa -i "_s + files.join(u',') + u'\n';
    }
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const Arguments args = parse(QCoreApplication::arguments().mid(1));
    if (!args.error.isEmpty()) {
        print(stderr, u"zelvan-demo: "_s + args.error + u'\n' + usage());
        return 2;
    }
    if (args.help) {
        print(stdout, helpText());
        return 0;
    }

    const QString dir = QDir::cleanPath(QDir(args.dir).absolutePath());
    if (!QDir().mkpath(dir)) {
        print(stderr, u"zelvan-demo: cannot create the directory %1\n"_s.arg(dir));
        return 1;
    }
    DemoOptions options = args.options;
    if (!options.tsqlDir.isEmpty()) {
        options.tsqlDir = QDir::cleanPath(QDir(options.tsqlDir).absolutePath());
        if (!QDir().mkpath(options.tsqlDir)) {
            print(stderr, u"zelvan-demo: cannot create the directory %1\n"_s.arg(options.tsqlDir));
            return 1;
        }
    }
    try {
        const auto written = zelvan::demo::writeDemoInstance(dir, options);
        print(stdout, summary(QDir::toNativeSeparators(dir), options, written));
    } catch (const std::exception &e) {
        print(stderr, u"zelvan-demo: cannot write the instance in %1: %2\n"_s.arg(dir, QString::fromUtf8(e.what())));
        return 1;
    }
    return 0;
}
