#include "login/loginartwork.h"
#include "login/loginfrm.h"
#include "platform/endnow.h"
#include "platform/logmessageboxes.h"
#include "platform/openwindows.h"
#include "platform/processarguments.h"
#include "platform/processendnow.h"
#include "platform/processlauncher.h"
#include "platform/progress.h"
#include "platform/progressdialog.h"
#include "platform/qtmessageboxes.h"
#include "platform/qttranslations.h"
#include "platform/registry.h"
#include "platform/systemclipboard.h"
#include "platform/systemclock.h"
#include "platform/systeminfo.h"
#include "program/commandline.h"
#include "program/exitcodes.h"
#include "program/mainprocedure.h"
#include "program/program.h"
#include "report/reporthost.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

using namespace zelvan;

namespace {

void print(FILE *out, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out);
}

bool hasDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
        || qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

// Headless runs keep standard error for the message log; Qt's remark about
// a missing runtime directory is no message of ours.
void messageFilter(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(u"QStandardPaths:"))
        return;
    const QByteArray line = qFormatLogMessage(type, context, message).toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    if (type == QtFatalMsg)
        std::abort();
}

// A wrong option, --help or --version: the exit code, else nothing and the run goes on.
std::optional<int> answerWithoutRunning(const program::CommandLine &options)
{
    if (!options.error.isEmpty()) {
        print(stderr, QStringLiteral("zelvan: ") + options.error);
        print(stderr, program::CommandLine::usage());
        return program::ExitCode::LaunchParameters;
    }
    if (options.help) {
        print(stdout, program::CommandLine::helpText());
        return 0;
    }
    if (options.version) {
        print(stdout, QStringLiteral("zelvan " ZELVAN_VERSION));
        return 0;
    }
    return std::nullopt;
}

// Output to a file or to standard output needs no screen, unless the login
// dialog has to ask for the user first (no launch fields, or "-1"). False,
// after saying why, when a window is needed and there is no display.
bool choosePlatform(const program::CommandLine &options)
{
    const bool dialogStart = options.launchText.isEmpty() || options.launchText.section(u'|', 0, 0) == u"-1";
    if (options.headless() && !dialogStart) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return true;
    }
    if (hasDisplay())
        return true;
    print(stderr, dialogStart
                      ? QStringLiteral(u"zelvan: ekran bulunamadı. Giriş penceresi için bir masaüstü oturumu gerekir.")
                      : QStringLiteral(u"zelvan: ekran bulunamadı. Rapor penceresi için bir masaüstü oturumu gerekir; "
                                       u"dosyaya yazmak için --pdf, --png veya --json kullanın."));
    return false;
}

void describeApplication()
{
    QApplication::setApplicationName(QStringLiteral("Zelvan"));
    QApplication::setApplicationVersion(QStringLiteral(ZELVAN_VERSION));
    // The desktop entry's name and icon, so that the desktop groups the
    // program's windows under them.
    QGuiApplication::setDesktopFileName(QStringLiteral("zelvan"));
    QApplication::setWindowIcon(login::loginIcon());
    QApplication::setQuitOnLastWindowClosed(false);
}

} // namespace

int main(int argc, char **argv)
{
    const program::CommandLine options = program::CommandLine::parse(platform::processArguments(argc, argv));
    if (const std::optional<int> exitCode = answerWithoutRunning(options))
        return *exitCode;
    if (!choosePlatform(options))
        return program::ExitCode::Other;

    qInstallMessageHandler(messageFilter);
    int qtArgc = 1;  // the launch line is ours: Qt must not take options out of it
    // Not a plain local: ending at once destroys it first (see `exit` below).
    std::optional<QApplication> app(std::in_place, qtArgc, argv);
    describeApplication();
    platform::installQtTranslations(*app);

    std::unique_ptr<platform::MessageBoxes> messages;
    if (options.headless() || qEnvironmentVariable("ZELVAN_MESSAGES") == u"log")
        messages = std::make_unique<platform::LogMessageBoxes>(qEnvironmentVariable("ZELVAN_ANSWERS"));
    else
        messages = std::make_unique<platform::QtMessageBoxes>();
    // Declared after the application, so that on the way out of main it hands
    // the last text over before the application is destroyed.
    platform::SystemClipboard clipboard;
    // Ending at once leaves no text behind either: the application object is
    // destroyed as on a normal end (on X11 that passes the clipboard to a
    // clipboard manager), and nothing of the program runs after it.
    platform::ProcessEndNow exit([&clipboard, &app] {
        clipboard.handOver();
        app.reset();
    });
    std::unique_ptr<platform::Progress> progress;
    if (options.headless())
        progress = std::make_unique<platform::TerminalProgress>();
    else
        progress = std::make_unique<platform::ProgressDialog>(&exit);
    platform::SystemClock clock;
    const auto registry = platform::createUserRegistry();
    const auto system = platform::createSystemInfo();
    const auto launcher = platform::createProcessLauncher();

    platform::Services services;
    services.messages = messages.get();
    services.clipboard = &clipboard;
    services.exit = &exit;
    services.clock = &clock;
    services.registry = registry.get();
    services.system = system.get();
    services.launcher = launcher.get();
    services.progress = progress.get();
    services.programDir = QApplication::applicationDirPath();

    program::Program program(services, options);
    report::ReportHost report;
    program.showReport = [&report](program::Program &p) { report.show(p); };
    program.showLoginDialog = [](program::Program &p) { login::showLoginFrm(p); };

    program::Main(program);
    if (!platform::anyWindowVisible())
        return program.exitCode;
    const int rc = app->exec();
    return program.exitCode ? program.exitCode : rc;
}
