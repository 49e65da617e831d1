// zelvan-bench: how long the report takes on large companies, measured against
// the database engine running exactly the statements that the report sends.
// For each size it builds a demo instance (zelvan-demo), writes the report's
// statements as a script, then times in turn, several times each:
//   zelvan --json                   the whole program, start to exit
//   zelvan (viewer)                 the same run up to the page shown in the
//                                   viewer, on an Xvfb display of its own
//   zelvan --xlsx                   the page and the rows behind every figure
//                                   as a workbook, start to exit
//   sqlite3 < script                the engine's shell on the same statements
//   engine replay                   the same statements through the SQLite C
//                                   API in this process, no conversion at all
// once with the per-item stock queries and once with --stock-one-pass. It
// prints the medians, the ratios and zelvan's peak memory (ru_maxrss). On the
// largest size it then times zelvan over FreeTDS against the TDS test server
// at several delays per round trip (a switch, a building, a VPN), against the
// server's own processor time. It asserts nothing: the figures are for people to read.

#include "childrun.h"
#include "database/backend.h"
#include "database/embedded/embeddedinstance.h"
#include "report/detailformat.h"
#include "runtime/variant.h"
#include "statementreplay.h"
#include "tdsrounds.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>
#include <vector>


using namespace Qt::Literals::StringLiterals;
using zelvan::bench::ChildRun;
using zelvan::bench::runChild;

namespace {

const QString Database = u"NRV_DEMO_2026"_s;
const QString Login = u"norvent"_s;
const QString Password = u"Zelvan2026"_s;

struct Options
{
    QList<int> sizes{5000, 20000, 50000};
    int movements = 40;
    int runs = 5;
    quint64 seed = 7;
    QString work;
    QString zelvan;  // another build of the program, to compare builds
    bool onePass = true;
    QList<int> tdsDelays{0, 1, 5};  // ms per round trip to the TDS test server; empty: not measured
    bool tdsPerItem = true;
    QString error;
};

QString usage()
{
    return u"usage: zelvan-bench [--sizes N,N,...] [--movements-per-item M] [--runs R] [--seed S] [--work DIR]\n"
             u"                    [--zelvan PATH] [--per-item-only] [--tds-delays MS,MS,...|none]\n"
             u"                    [--tds-one-pass-only]\n"_s;
}

// "5000,20000": whole numbers of at least `least`; `ok` false at the first that is not.
QList<int> numberList(const QString &value, int least, bool &ok)
{
    QList<int> numbers;
    ok = true;
    for (const QString &part : value.split(u',', Qt::SkipEmptyParts)) {
        const int n = part.toInt(&ok);
        ok = ok && n >= least;
        if (!ok)
            break;
        numbers.append(n);
    }
    return numbers;
}

Options parse(const QStringList &args)
{
    Options o;
    o.work = QDir(QCoreApplication::applicationDirPath()).filePath(u"../bench"_s);
    for (qsizetype i = 0; i < args.size() && o.error.isEmpty(); ++i) {
        const QString &name = args.at(i);
        const QString value = args.value(i + 1);
        bool ok = true;
        if (name == u"--sizes") {
            o.sizes = numberList(value, 1, ok);
            ok = ok && !o.sizes.isEmpty();
        } else if (name == u"--movements-per-item") {
            o.movements = value.toInt(&ok);
            ok = ok && o.movements >= 1;
        } else if (name == u"--runs") {
            o.runs = value.toInt(&ok);
            ok = ok && o.runs >= 1;
        } else if (name == u"--seed") {
            o.seed = value.toULongLong(&ok);
        } else if (name == u"--tds-delays") {
            o.tdsDelays = numberList(value, 0, ok);
            ok = ok || value == u"none";
        } else if (name == u"--tds-one-pass-only") {
            o.tdsPerItem = false;
            --i;  // takes no value
        } else if (name == u"--per-item-only") {
            o.onePass = false;
            --i;  // takes no value
        } else if (name == u"--zelvan") {
            o.zelvan = value;
            ok = !value.isEmpty();
        } else if (name == u"--work") {
            o.work = value;
            ok = !value.isEmpty();
        } else {
            ok = false;
        }
        if (!ok)
            o.error = u"wrong option or value: "_s + name;
        ++i;
    }
    return o;
}

void say(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// The statements that the report sends to the company database, in order.
std::optional<QStringList> reportStatements(const QString &dir, bool onePass, QString &error)
{
    QStringList statements;
    try {
        const auto backend = zelvan::database::openEmbeddedInstance(dir, Database, Login, Password);
        for (const zelvan::report::ReportFigure &figure : zelvan::report::reportFigures()) {
            if (!figure.sql.isEmpty()) {
                statements.append(figure.sql);
            } else if (onePass) {
                statements.append(zelvan::report::StockListSql);
                statements.append(zelvan::report::StockOnePassSql);
            } else {
                statements.append(zelvan::report::StockListSql);
                // The item ids as the report writes them into its queries.
                const auto items = backend->execute(zelvan::report::StockListSql);
                std::vector<zelvan::runtime::Variant> row;
                while (items->fetch(row))
                    statements.append(zelvan::report::stockMovementSql(row[0].toString()));
            }
        }
    } catch (const std::exception &e) {
        error = QString::fromLocal8Bit(e.what());
        return std::nullopt;
    }
    return statements;
}

// The company database of an instance of `items` items, built once and kept.
QString instanceFor(const Options &o, int items, const QString &demo, QString &error)
{
    const QString dir = QDir(o.work).filePath(u"items-%1-m%2-s%3"_s.arg(items).arg(o.movements).arg(o.seed));
    const QString stamp = QDir(dir).filePath(u"complete"_s);
    if (QFile::exists(stamp))
        return dir;
    say(u"building %1 ...\n"_s.arg(dir));
    const ChildRun run = runChild({demo, dir, u"--items"_s, QString::number(items), u"--movements-per-item"_s,
                                   QString::number(o.movements), u"--seed"_s, QString::number(o.seed)},
                                  {}, {});
    if (run.exitCode != 0 || !writeFile(stamp, {})) {
        error = u"zelvan-demo failed for "_s + dir;
        return {};
    }
    return dir;
}

// An X server of the benchmark's own for the viewer runs (Xvfb picks a free display).
class VirtualDisplay
{
public:
    VirtualDisplay()
    {
        m_server.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s, u"-screen"_s, u"0"_s, u"1280x1024x24"_s});
        if (m_server.waitForStarted(10000) && m_server.waitForReadyRead(10000))
            m_display = u":"_s + QString::fromLatin1(m_server.readAllStandardOutput().trimmed());
    }
    ~VirtualDisplay()
    {
        m_server.terminate();
        m_server.waitForFinished(10000);
    }
    // Empty when no Xvfb could be started.
    QString display() const { return m_display.size() > 1 ? m_display : QString(); }

private:
    QProcess m_server;
    QString m_display;
};

struct Measured
{
    double zelvan = 0;
    double viewer = 0;  // 0: not measured
    double xlsx = 0;
    long xlsxPeakKb = 0;
    double shell = 0;
    double engine = 0;
    long peakKb = 0;
    qint64 statements = 0;
    qint64 rows = 0;
    QJsonObject values;
};

// Reads a script of statements each ending in ";\n", as writeScript writes them.
QStringList readScript(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList statements = QString::fromUtf8(file.readAll()).split(u";\n"_s, Qt::SkipEmptyParts);
    return statements;
}

// The helper modes below run in a child process of their own, so that the
// large statement lists never sit in this process when it starts zelvan: a
// forked child's peak memory counts the pages it shared with its parent.
int writeScript(const QString &dir, bool onePass, const QString &script)
{
    QString error;
    const std::optional<QStringList> statements = reportStatements(dir, onePass, error);
    if (!statements || !writeFile(script, (statements->join(u";\n"_s) + u";\n"_s).toUtf8())) {
        say(error + u'\n');
        return 1;
    }
    return 0;
}

int replayScript(const QString &file, const QString &script)
{
    const zelvan::replay::ReplayResult e = zelvan::replay::replayStatements(file, readScript(script));
    if (!e.error.isEmpty()) {
        say(e.error + u'\n');
        return 1;
    }
    std::printf("%lld %lld %.6f\n", e.statements, e.rows, e.seconds);
    return 0;
}

std::optional<Measured> measure(const Options &o, const QString &dir, bool onePass, const QString &zelvan,
                                const QString &sqlite3, const QString &display, QString &error)
{
    const QString self = QCoreApplication::applicationFilePath();
    const QString script = QDir(dir).filePath(onePass ? u"one-pass.sql"_s : u"per-item.sql"_s);
    if (runChild({self, u"--write-script"_s, dir, onePass ? u"1"_s : u"0"_s, script}, {}, {}).exitCode != 0) {
        error = u"cannot write "_s + script;
        return std::nullopt;
    }
    const QString file = QDir(dir).filePath(Database + u".sqlite"_s);
    const QString json = QDir(dir).filePath(u"zelvan.json"_s);
    const QString replayOut = QDir(dir).filePath(u"replay.txt"_s);
    QStringList zelvanArgs{zelvan, u"--json"_s};
    if (onePass)
        zelvanArgs.append(u"--stock-one-pass"_s);
    zelvanArgs << u"--"_s << u"%1|%2|1|%3|%4"_s.arg(Database, QDir(dir).absolutePath(), Login, Password);
    QStringList viewerArgs = zelvanArgs;
    viewerArgs.removeOne(u"--json"_s);
    QStringList xlsxArgs = viewerArgs;
    xlsxArgs.insert(1, u"--xlsx"_s);
    xlsxArgs.insert(2, QDir(dir).filePath(u"zelvan.xlsx"_s));
    const QStringList viewerEnvironment{u"DISPLAY="_s + display, u"QT_QPA_PLATFORM=xcb"_s, u"ZELVAN_VIEWER_EXIT_AFTER_SHOW=1"_s};

    Measured m;
    std::vector<double> zelvanTimes, viewerTimes, xlsxTimes, shellTimes, engineTimes;
    for (int r = 0; r < o.runs; ++r) {
        const ChildRun z = runChild(zelvanArgs, {}, json);
        if (z.exitCode != 0) {
            error = u"zelvan exited with %1 on %2"_s.arg(z.exitCode).arg(dir);
            return std::nullopt;
        }
        zelvanTimes.push_back(z.seconds);
        m.peakKb = std::max(m.peakKb, z.peakKb);

        if (!display.isEmpty()) {
            const ChildRun v = runChild(viewerArgs, {}, {}, viewerEnvironment);
            if (v.exitCode != 0) {
                error = u"zelvan's viewer run exited with %1 on %2"_s.arg(v.exitCode).arg(dir);
                return std::nullopt;
            }
            viewerTimes.push_back(v.seconds);
        }

        const ChildRun x = runChild(xlsxArgs, {}, {});
        if (x.exitCode != 0) {
            error = u"zelvan --xlsx exited with %1 on %2"_s.arg(x.exitCode).arg(dir);
            return std::nullopt;
        }
        xlsxTimes.push_back(x.seconds);
        m.xlsxPeakKb = std::max(m.xlsxPeakKb, x.peakKb);

        const ChildRun s = runChild({sqlite3, u"-readonly"_s, file}, script, {});
        if (s.exitCode != 0) {
            error = u"sqlite3 exited with %1 on %2"_s.arg(s.exitCode).arg(script);
            return std::nullopt;
        }
        shellTimes.push_back(s.seconds);

        const ChildRun e = runChild({self, u"--replay"_s, file, script}, {}, replayOut);
        QFile out(replayOut);
        const QList<QByteArray> fields = out.open(QIODevice::ReadOnly) ? out.readAll().simplified().split(' ')
                                                                      : QList<QByteArray>();
        if (e.exitCode != 0 || fields.size() != 3) {
            error = u"the engine replay failed on "_s + script;
            return std::nullopt;
        }
        m.statements = fields[0].toLongLong();
        m.rows = fields[1].toLongLong();
        engineTimes.push_back(fields[2].toDouble());
    }
    QFile out(json);
    if (out.open(QIODevice::ReadOnly))
        m.values = QJsonDocument::fromJson(out.readAll()).object().value(u"values"_s).toObject();
    m.zelvan = median(zelvanTimes);
    m.viewer = viewerTimes.empty() ? 0 : median(viewerTimes);
    m.xlsx = median(xlsxTimes);
    m.shell = median(shellTimes);
    m.engine = median(engineTimes);
    return m;
}

QString row(const QString &label, const Measured &m)
{
    const QString viewer = m.viewer > 0 ? u"%1 %2"_s.arg(m.viewer, 9, 'f', 3).arg(m.viewer / m.zelvan, 7, 'f', 2)
                                        : u"%1 %2"_s.arg(u"-"_s, 9).arg(u"-"_s, 7);
    const QString xlsx = u"%1 %2 %3"_s.arg(m.xlsx, 9, 'f', 3).arg(m.xlsx / m.zelvan, 7, 'f', 2).arg(double(m.xlsxPeakKb) / 1024.0, 8, 'f', 1);
    return u"%1 %2 %3 %4 %5 %6 %7 %8 %9 %10 %11\n"_s.arg(label, -10)
        .arg(m.statements, 10)
        .arg(m.rows, 10)
        .arg(m.zelvan, 9, 'f', 3)
        .arg(viewer)
        .arg(m.shell, 9, 'f', 3)
        .arg(m.zelvan / m.shell, 7, 'f', 2)
        .arg(m.engine, 9, 'f', 3)
        .arg(m.zelvan / m.engine, 7, 'f', 2)
        .arg(double(m.peakKb) / 1024.0, 8, 'f', 1)
        .arg(xlsx);
}

QString roundTripSection(const Options &o, const QString &dir, const QString &zelvan, int items, const QJsonObject &values,
                         QString &error)
{
    say(u"measuring %1 items over the TDS test server ...\n"_s.arg(items));
    const QString table = zelvan::bench::roundTripTable(dir, zelvan, o.tdsDelays, o.runs, o.tdsPerItem, values, error);
    if (table.isEmpty())
        return {};
    return u"\nSQL Server path, %1 items: zelvan --json over FreeTDS against the TDS test server, which waits the delay "
           u"before each answer; server s = the processor time of the server (in this process) meanwhile; ratio = zelvan / server; x 0 ms = "
           u"zelvan / zelvan at 0 ms; same = the embedded instance's figures.\n"_s.arg(items)
        + table;
}

} // namespace

namespace {

// The regional settings the program insists on, and no window.
void setUpRunEnvironment(const QString &work)
{
    const QString registry = QDir(work).filePath(u"registry.reg"_s);
    writeFile(registry, "REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\International]\n\"sDecimal\"=\",\"\n"
                        "\"sThousand\"=\".\"\n\"sDate\"=\".\"\n\"sShortDate\"=\"dd.MM.yyyy\"\n"
                        "\"sTimeFormat\"=\"HH:mm:ss\"\n");
    qputenv("ZELVAN_REGISTRY", QFile::encodeName(registry));
    qputenv("ZELVAN_MESSAGES", "log");
    qunsetenv("ZELVAN_ANSWERS");
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
}

QString tableHeader()
{
    return u"%1 %2 %3 %4 %5 %6 %7 %8 %9 %10 %11 %12 %13 %14\n"_s.arg(u"items"_s, -10)
                    .arg(u"queries"_s, 10)
                    .arg(u"rows"_s, 10)
                    .arg(u"zelvan s"_s, 9)
                    .arg(u"viewer s"_s, 9)
                    .arg(u"v/json"_s, 7)
                    .arg(u"sqlite3 s"_s, 9)
                    .arg(u"ratio"_s, 7)
                    .arg(u"engine s"_s, 9)
                    .arg(u"ratio"_s, 7)
                    .arg(u"peak MB"_s, 8)
                    .arg(u"xlsx s"_s, 9)
                    .arg(u"x/json"_s, 7)
                    .arg(u"xlsx MB"_s, 8);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == u"--write-script")
        return writeScript(args[2], args[3] == u"1", args[4]);
    if (args.size() == 4 && args[1] == u"--replay")
        return replayScript(args[2], args[3]);
    const Options o = parse(args.mid(1));
    if (!o.error.isEmpty()) {
        say(o.error + u'\n' + usage());
        return 2;
    }
#ifndef Q_OS_UNIX
    say(u"zelvan-bench needs a POSIX system (fork, wait4).\n"_s);
    return 1;
#endif
    const QDir bin(QCoreApplication::applicationDirPath());
    const QString zelvan = o.zelvan.isEmpty() ? bin.filePath(u"zelvan"_s) : QFileInfo(o.zelvan).absoluteFilePath();
    const QString demo = bin.filePath(u"zelvan-demo"_s);
    const QString sqlite3 = QStandardPaths::findExecutable(u"sqlite3"_s);
    if (sqlite3.isEmpty()) {
        say(u"sqlite3 is not on PATH (Debian package sqlite3)\n"_s);
        return 1;
    }
    if (!QDir().mkpath(o.work)) {
        say(u"cannot create "_s + o.work + u'\n');
        return 1;
    }

    setUpRunEnvironment(o.work);
    const VirtualDisplay display;
    if (display.display().isEmpty())
        say(u"Xvfb could not be started: the viewer is not measured\n"_s);

    QString table = tableHeader();
    QString onePassTable = table;
    QString linear;
    QString roundTrips;
    std::optional<std::pair<int, double>> previous;  // items and per-item time of the size before
    for (const int items : o.sizes) {
        QString error;
        const QString dir = instanceFor(o, items, demo, error);
        say(u"measuring %1 items, %2 runs each ...\n"_s.arg(items).arg(o.runs));
        const std::optional<Measured> perItem = dir.isEmpty() ? std::nullopt
                                                              : measure(o, dir, false, zelvan, sqlite3, display.display(), error);
        const std::optional<Measured> onePass = perItem && o.onePass
            ? measure(o, dir, true, zelvan, sqlite3, display.display(), error)
            : std::nullopt;
        if (!perItem || (o.onePass && !onePass)) {
            say(error + u'\n');
            return 1;
        }
        table += row(QString::number(items), *perItem);
        if (onePass)
            onePassTable += row(QString::number(items), *onePass);
        // Growth from the size before: the start-up, the same at every size, drops out.
        const QString growth = previous && items != previous->first
            ? u", %1 ms per 1000 more items"_s.arg((perItem->zelvan - previous->second) * 1e6 / (items - previous->first), 0, 'f', 1)
            : QString();
        previous = std::make_pair(items, perItem->zelvan);
        linear += u"%1 items: zelvan %2 ms per 1000 items%3; same figures in both modes: %4\n"_s
                      .arg(items)
                      .arg(perItem->zelvan * 1e6 / items, 0, 'f', 1)
                      .arg(growth)
                      .arg(!onePass ? u"not measured"_s
                           : perItem->values == onePass->values && !perItem->values.isEmpty() ? u"yes"_s : u"NO"_s);
        // The SQL Server path on the largest size only: at 5 ms the per-item queries take minutes.
        if (items == o.sizes.last() && !o.tdsDelays.isEmpty()) {
            roundTrips = roundTripSection(o, dir, zelvan, items, perItem->values, error);
            if (roundTrips.isEmpty()) {
                say(error + u'\n');
                return 1;
            }
        }
    }
    const QString report = u"Medians of %1 runs; zelvan s = zelvan --json; viewer s = the same run until the viewer shows the page "
                             u"(Xvfb %2), v/json = viewer / zelvan; ratio = zelvan / sqlite3 shell, and zelvan / engine replay; "
                             u"xlsx s = zelvan --xlsx (the page and every figure's rows), x/json = xlsx / zelvan, with its peak memory.\n\n"_s
                                 .arg(o.runs)
                                 .arg(display.display().isEmpty() ? u"not found: not measured"_s : display.display())
        + u"Stock valued with one query per item (default):\n"_s + table
        + (o.onePass ? u"\nStock valued in one pass (--stock-one-pass):\n"_s + onePassTable : QString()) + u'\n' + linear
        + roundTrips;
    std::fputs(report.toLocal8Bit().constData(), stdout);
    return 0;
}
