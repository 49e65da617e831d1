#pragma once

#include <QString>
#include <QStringList>

namespace zelvan::replay {

struct ReplayResult
{
    qint64 statements = 0;
    qint64 rows = 0;
    double seconds = 0;
    double checksum = 0;  // the sum of every number read, so that no read can be skipped
    QString error;  // empty when every statement ran
};

// Runs each statement on a SQLite file opened read-only: prepare, step
// through every row reading each column as stored, finalize. This is the
// engine's own time for the statements, without any conversion: the floor
// for the benchmark's comparisons.
ReplayResult replayStatements(const QString &file, const QStringList &statements);

} // namespace zelvan::replay
