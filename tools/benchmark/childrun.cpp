#include "childrun.h"

#include <QFile>

#include <algorithm>
#include <chrono>
#include <vector>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace zelvan::bench {

#ifdef Q_OS_UNIX

extern "C" char **environ;

namespace {

// This process's environment with `settings` ("NAME=value") in place of the same names.
std::vector<QByteArray> childEnvironment(const QStringList &settings)
{
    std::vector<QByteArray> entries;
    for (const QString &setting : settings)
        entries.push_back(QFile::encodeName(setting));
    for (char **e = environ; *e; ++e) {
        const QByteArray entry(*e);
        const QByteArray name = entry.left(entry.indexOf('=') + 1);
        if (std::none_of(entries.begin(), entries.end(), [&name](const QByteArray &s) { return s.startsWith(name); }))
            entries.push_back(entry);
    }
    return entries;
}

std::vector<char *> pointers(std::vector<QByteArray> &strings)
{
    std::vector<char *> result;
    for (QByteArray &s : strings)
        result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

} // namespace

ChildRun runChild(const QStringList &argv, const QString &in, const QString &out, const QStringList &environment)
{
    std::vector<QByteArray> bytes;
    for (const QString &arg : argv)
        bytes.push_back(QFile::encodeName(arg));
    std::vector<char *> args = pointers(bytes);
    std::vector<QByteArray> envBytes = childEnvironment(environment);
    std::vector<char *> env = pointers(envBytes);
    const QByteArray inPath = QFile::encodeName(in.isEmpty() ? u"/dev/null"_s : in);
    const QByteArray outPath = QFile::encodeName(out.isEmpty() ? u"/dev/null"_s : out);

    ChildRun run;
    const auto started = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int inFd = open(inPath.constData(), O_RDONLY);
        const int outFd = open(outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int nullFd = open("/dev/null", O_WRONLY);
        if (inFd < 0 || outFd < 0 || nullFd < 0)
            _exit(126);
        dup2(inFd, 0);
        dup2(outFd, 1);
        dup2(nullFd, 2);
        execve(args[0], args.data(), env.data());
        _exit(127);
    }
    if (pid < 0)
        return run;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) == pid) {
        run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        run.peakKb = usage.ru_maxrss;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return run;
}

double ownCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

#else

ChildRun runChild(const QStringList &, const QString &, const QString &, const QStringList &)
{
    return {};
}

double ownCpuSeconds()
{
    return 0;
}

#endif


} // namespace zelvan::bench
