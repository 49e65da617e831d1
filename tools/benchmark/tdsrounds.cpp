#include "tdsrounds.h"

#include "childrun.h"
#include "tdsserver.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

#include <algorithm>
#include <optional>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::bench {

namespace {

struct RoundTrips
{
    qint64 statements = 0;
    double zelvan = 0;  // medians
    double server = 0;
    bool sameFigures = true;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::optional<RoundTrips> measure(tdsserver::TdsServer &server, const QString &zelvan, bool onePass, int runs,
                                  const QString &json, const QJsonObject &expected, QString &error)
{
    QStringList args{zelvan, u"--json"_s};
    if (onePass)
        args.append(u"--stock-one-pass"_s);
    args << u"--"_s << u"NRV_DEMO_2026|%1|1|norvent|Zelvan2026"_s.arg(server.serverName());
    RoundTrips result;
    std::vector<double> zelvanTimes, serverTimes;
    for (int r = 0; r < runs; ++r) {
        const qint64 statements = server.statementCount();
        const double busy = server.busySeconds();
        const ChildRun run = runChild(args, {}, json);
        if (run.exitCode != 0) {
            error = u"zelvan exited with %1 against the TDS test server"_s.arg(run.exitCode);
            return std::nullopt;
        }
        zelvanTimes.push_back(run.seconds);
        serverTimes.push_back(server.busySeconds() - busy);
        result.statements = server.statementCount() - statements;
        QFile out(json);
        const QJsonObject values = out.open(QIODevice::ReadOnly)
            ? QJsonDocument::fromJson(out.readAll()).object().value(u"values"_s).toObject()
            : QJsonObject();
        result.sameFigures = result.sameFigures && values == expected;
    }
    result.zelvan = median(zelvanTimes);
    result.server = median(serverTimes);
    return result;
}

QString row(int delay, const RoundTrips &m, double atZero)
{
    return u"%1 %2 %3 %4 %5 %6 %7\n"_s.arg(delay, 8)
        .arg(m.statements, 10)
        .arg(m.zelvan, 9, 'f', 3)
        .arg(m.server, 9, 'f', 3)
        .arg(m.zelvan / m.server, 7, 'f', 2)
        .arg(atZero > 0 ? m.zelvan / atZero : 1.0, 7, 'f', 2)
        .arg(m.sameFigures ? u"yes"_s : u"NO"_s, 6);
}

} // namespace

QString roundTripTable(const QString &dir, const QString &zelvan, const QList<int> &delays, int runs,
                       const QJsonObject &expected, QString &error)
{
    const QString header = u"%1 %2 %3 %4 %5 %6 %7\n"_s.arg(u"delay ms"_s, 8)
                               .arg(u"round trips"_s, 10)
                               .arg(u"zelvan s"_s, 9)
                               .arg(u"server s"_s, 9)
                               .arg(u"ratio"_s, 7)
                               .arg(u"x 0 ms"_s, 7)
                               .arg(u"same"_s, 6);
    QString tables[2] = {header, header};
    double atZero[2] = {0, 0};
    const QString json = QDir(dir).filePath(u"zelvan-tds.json"_s);
    for (const int delay : delays) {
        tdsserver::ServerFaults faults;
        faults.delayMs = delay;
        tdsserver::TdsServer server(QDir(dir).absolutePath(), faults);
        server.keepStatements(false);
        if (!server.listen()) {
            error = u"the TDS test server cannot listen on 127.0.0.1"_s;
            return {};
        }
        for (const bool onePass : {false, true}) {
            const std::optional<RoundTrips> m = measure(server, zelvan, onePass, runs, json, expected, error);
            if (!m)
                return {};
            if (delay == 0)
                atZero[onePass] = m->zelvan;
            tables[onePass] += row(delay, *m, atZero[onePass]);
        }
    }
    return u"Stock valued with one query per item (default):\n"_s + tables[0]
        + u"\nStock valued in one pass (--stock-one-pass):\n"_s + tables[1];
}

} // namespace zelvan::bench
