#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>

namespace zelvan::bench {

// The program against the TDS test server serving the instance in `dir`, at
// each delay per round trip (milliseconds): `zelvan --json` with the per-item
// stock queries (unless `perItem` is false) and with --stock-one-pass, `runs`
// times each, against the processor time the server itself spends meanwhile.
// Returns the table, or an empty text and `error`. `expected` holds the embedded instance's figures,
// which every run must give.
QString roundTripTable(const QString &dir, const QString &zelvan, const QList<int> &delays, int runs, bool perItem,
                       const QJsonObject &expected, QString &error);

} // namespace zelvan::bench
