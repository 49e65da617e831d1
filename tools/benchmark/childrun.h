#pragma once

#include <QString>
#include <QStringList>

namespace zelvan::bench {

struct ChildRun
{
    double seconds = 0;
    long peakKb = 0;
    int exitCode = -1;
};

// Runs a program with stdin and stdout redirected to files (empty: /dev/null)
// and `environment` ("NAME=value") added to ours, and reports its wall-clock
// time and peak resident memory as the kernel counted them. Elsewhere than on
// POSIX systems it runs nothing.
ChildRun runChild(const QStringList &argv, const QString &in, const QString &out, const QStringList &environment = {});

// The processor time this process has used so far, user and system, in
// seconds (0 elsewhere than on POSIX systems): with the TDS test server in
// this process, what it spends while a child runs against it.
double ownCpuSeconds();

} // namespace zelvan::bench
