#include "platform/messageboxes.h"
#include "program/launchparams.h"
#include "program/mainprocedure.h"
#include "program/program.h"
#include "support/fakeservices.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::program;
using namespace Qt::Literals::StringLiterals;

class TestLaunchParams : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A launch line through ParseLaunchParams, or with `main` through Main, whose direct path tries a server
    // on a closed local port and fails with its two messages. The result: the exit code (-1: still running),
    // the number of messages and whether the login dialog came up; for a line taken, LaunchParams from
    // entry 1, the user id and the password.
    void start_data()
    {
        QTest::addColumn<QString>("line"); QTest::addColumn<bool>("main"); QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const QString &line, const char16_t *expected, bool main = false) {
            QTest::newRow(name) << line << main << QString::fromUtf16(expected);
        };
        row("not trimmed, blanks around the id", u" DB1 | SRV1| 7 | u1 | pw "_s, u"-1 0 0| DB1 ; SRV1; 7 ; u1 ; pw |7| pw ");
        row("empty field, æ alone, trailing bar, lowest id", u"DB1||-2147483648|u1|æ|"_s,
            u"-1 0 0|DB1;;-2147483648;u1;æ|-2147483648|");
        row("extra fields, æ not alone, highest id", u"DB1|SRV1|+2147483647|u1|æx|x"_s,
            u"-1 0 0|DB1;SRV1;+2147483647;u1;æx;x|2147483647|æx");
        for (const QString &line :
             {u"DB1|SRV1|7|u1"_s, u"DB1|SRV1|7|u1|"_s, u"DB1|SRV1|7.5|u1|p"_s, u"DB1|SRV1|2147483648|u1|p"_s, u"DB1|SRV1||u1|p"_s})
            row(qPrintable(u"refused: "_s + line), line, u"2 1 0");
        row("main: empty line", QString(), u"-1 0 1", true);
        row("main: -1 with five fields", u"-1|127.0.0.1,1|7|u|p"_s, u"-1 0 1", true);
        row("main: -1 with a trailing blank", u"-1 |127.0.0.1,1|7|u|p"_s, u"3 2 0", true);
    }
    void start()
    {
        QFETCH(QString, line); QFETCH(bool, main);
        test::FakeServices fakes;
        CommandLine options;
        options.launchText = line;
        Program program(fakes.services(), options);
        bool dialog = false;
        program.showLoginDialog = [&dialog](Program &) { dialog = true; };
        int exitCode = -1;
        try {
            main ? Main(program) : ParseLaunchParams(program);
        } catch (const platform::ProgramEnded &ended) {
            exitCode = ended.exitCode;
        }
        const Degiskenler &vars = program.vars;
        const auto &shown = fakes.messages.shown;
        QString result = u"%1 %2 %3"_s.arg(exitCode).arg(shown.size()).arg(int(dialog));
        if (exitCode == 2) {
            QCOMPARE(shown[0].text, u"Eksik Paremetre Kullanımı "_s);
            QCOMPARE(shown[0].style, platform::MsgBox::Critical);
            QVERIFY(vars.DatabaseName.isEmpty());
        } else if (!main) {
            const QStringList fields = vars.LaunchParams.mid(1);
            QCOMPARE((QStringList{vars.DatabaseName, vars.ServerName, vars.DbUserName}),
                     (QStringList{fields[0], fields[1], fields[3]}));
            result += u'|' + fields.join(u';') + u'|' + QString::number(vars.UserId) + u'|' + vars.DbPassword;
        }
        QTEST(result, "expected");
    }
};

QTEST_GUILESS_MAIN(TestLaunchParams)
#include "tst_launchparams.moc"
