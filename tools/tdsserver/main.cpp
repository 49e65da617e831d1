// zelvan-tds-server serves an embedded instance directory as a SQL Server on
// 127.0.0.1, speaking TDS 7.4 as FreeTDS expects it, so that the program's
// SQL Server path can be run and measured where no SQL Server runs.

#include "tdsserver.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

void usage()
{
    std::fputs("usage: zelvan-tds-server DIR [--port N] [--delay-ms MS]\n", stderr);
}

// A whole number from 0 to `max`, or -1.
int number(const QString &text, int max)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= 0 && value <= max ? value : -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString dir;
    int port = 0;
    zelvan::tdsserver::ServerFaults faults;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if ((arg == u"--port" || arg == u"--delay-ms") && i + 1 < args.size()) {
            const int value = number(args[++i], arg == u"--port" ? 65535 : 600000);
            if (value < 0) {
                usage();
                return 2;
            }
            (arg == u"--port" ? port : faults.delayMs) = value;
        } else if (!arg.startsWith(u"--") && dir.isEmpty()) {
            dir = arg;
        } else {
            usage();
            return 2;
        }
    }
    if (dir.isEmpty() || !QDir(dir).exists()) {
        usage();
        return 2;
    }
    zelvan::tdsserver::TdsServer server(QDir(dir).absolutePath(), faults);
    server.keepStatements(false);
    if (!server.listen(quint16(port))) {
        std::fprintf(stderr, "zelvan-tds-server: cannot listen on 127.0.0.1,%d\n", port);
        return 1;
    }
    std::printf("listening on %s\n", qPrintable(server.serverName()));
    std::fflush(stdout);
    return app.exec();
}
