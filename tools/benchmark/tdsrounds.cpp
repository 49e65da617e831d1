#include "tdsrounds.h"

#include "childrun.h"
#include "tdsserver.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

#include <algorithm>
#include <memory>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::bench {

namespace {

// One delay and mode: each run's times.
struct Series
{
    qint64 statements = 0;
    std::vector<double> zelvan;
    std::vector<double> server;
    bool sameFigures = true;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

bool runOnce(tdsserver::TdsServer &server, const QString &zelvan, bool onePass, const QString &json,
             const QJsonObject &expected, Series &series, QString &error)
{
    QStringList args{zelvan, u"--json"_s};
    if (onePass)
        args.append(u"--stock-one-pass"_s);
    args << u"--"_s << u"NRV_DEMO_2026|%1|1|norvent|Zelvan2026"_s.arg(server.serverName());
    const qint64 statements = server.statementCount();
    const double cpu = ownCpuSeconds();
    const ChildRun run = runChild(args, {}, json);
    if (run.exitCode != 0) {
        error = u"zelvan exited with %1 against the TDS test server"_s.arg(run.exitCode);
        return false;
    }
    series.zelvan.push_back(run.seconds);
    series.server.push_back(ownCpuSeconds() - cpu);
    series.statements = server.statementCount() - statements;
    QFile out(json);
    const QJsonObject values = out.open(QIODevice::ReadOnly)
        ? QJsonDocument::fromJson(out.readAll()).object().value(u"values"_s).toObject()
        : QJsonObject();
    series.sameFigures = series.sameFigures && values == expected;
    return true;
}

QString row(int delay, const Series &series, double atZero)
{
    const double zelvan = median(series.zelvan);
    const double server = median(series.server);
    return u"%1 %2 %3 %4 %5 %6 %7\n"_s.arg(delay, 8)
        .arg(series.statements, 10)
        .arg(zelvan, 9, 'f', 3)
        .arg(server, 9, 'f', 3)
        .arg(zelvan / server, 7, 'f', 2)
        .arg(atZero > 0 ? QString::number(zelvan / atZero, 'f', 2) : u"-"_s, 7)
        .arg(series.sameFigures ? u"yes"_s : u"NO"_s, 6);
}

} // namespace

QString roundTripTable(const QString &dir, const QString &zelvan, const QList<int> &delays, int runs, bool perItem,
                       const QJsonObject &expected, QString &error)
{
    const QString header = u"%1 %2 %3 %4 %5 %6 %7\n"_s.arg(u"delay ms"_s, 8)
                               .arg(u"round trips"_s, 10)
                               .arg(u"zelvan s"_s, 9)
                               .arg(u"server s"_s, 9)
                               .arg(u"ratio"_s, 7)
                               .arg(u"x 0 ms"_s, 7)
                               .arg(u"same"_s, 6);
    // One server per delay; the runs alternate between them, so that the machine's noise falls on all alike.
    std::vector<std::unique_ptr<tdsserver::TdsServer>> servers;
    for (const int delay : delays) {
        tdsserver::ServerFaults faults;
        faults.delayMs = delay;
        servers.push_back(std::make_unique<tdsserver::TdsServer>(QDir(dir).absolutePath(), faults));
        servers.back()->keepStatements(false);
        if (!servers.back()->listen()) {
            error = u"the TDS test server cannot listen on 127.0.0.1"_s;
            return {};
        }
    }
    std::vector<Series> series(delays.size() * 2);  // per delay: per item, one pass
    const QString json = QDir(dir).filePath(u"zelvan-tds.json"_s);
    for (int r = 0; r < runs; ++r) {
        for (size_t i = 0; i < servers.size(); ++i) {
            for (const bool onePass : {false, true}) {
                if (!onePass && !perItem)
                    continue;
                if (!runOnce(*servers[i], zelvan, onePass, json, expected, series[i * 2 + onePass], error))
                    return {};
            }
        }
    }
    QString tables[2] = {header, header};
    const qsizetype zero = delays.indexOf(0);
    for (size_t i = 0; i < servers.size(); ++i) {
        for (const size_t mode : {0, 1}) {
            if (series[i * 2 + mode].zelvan.empty())
                continue;
            const double atZero = zero < 0 ? 0 : median(series[size_t(zero) * 2 + mode].zelvan);
            tables[mode] += row(delays[qsizetype(i)], series[i * 2 + mode], atZero);
        }
    }
    return (perItem ? u"Stock valued with one query per item (default):\n"_s + tables[0] + u'\n' : QString())
        + u"Stock valued in one pass (--stock-one-pass):\n"_s + tables[1];
}

} // namespace zelvan::bench
