#include "platform/messageboxes.h"
#include "startup/connectandshowreport.h"
#include "startup/launchparams.h"
#include "startup/program.h"
#include "startup/programstart.h"
#include "support/fakeservices.h"

#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

class TestLaunchParams : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void splitting_data();
    void splitting();
    void refused_data();
    void refused();
    void emptyLineAsksForTheDialog();
    void mainChoosesThePath_data();
    void mainChoosesThePath();
};

void TestLaunchParams::splitting_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");     // LaunchParams from entry 1
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("userId");

    QTest::newRow("complete") << u"DB1|SRV1|7|u1|pw"_s << QStringList{u"DB1"_s, u"SRV1"_s, u"7"_s, u"u1"_s, u"pw"_s}
                              << u"pw"_s << 7;
    QTest::newRow("empty password sign") << u"DB1|SRV1|7|u1|æ"_s
                                         << QStringList{u"DB1"_s, u"SRV1"_s, u"7"_s, u"u1"_s, u"æ"_s} << QString() << 7;
    QTest::newRow("empty middle field") << u"DB1||7|u1|æ"_s << QStringList{u"DB1"_s, QString(), u"7"_s, u"u1"_s, u"æ"_s}
                                        << QString() << 7;
    QTest::newRow("trailing bar adds nothing") << u"DB1|SRV1|7|u1|æ|"_s
                                               << QStringList{u"DB1"_s, u"SRV1"_s, u"7"_s, u"u1"_s, u"æ"_s} << QString()
                                               << 7;
    QTest::newRow("extra fields kept, unused") << u"DB1|SRV1|7|u1|pw|x|y"_s
                                               << QStringList{u"DB1"_s, u"SRV1"_s, u"7"_s, u"u1"_s, u"pw"_s, u"x"_s, u"y"_s}
                                               << u"pw"_s << 7;
    QTest::newRow("not trimmed") << u" DB1 | SRV1|7| u1 | pw "_s
                                 << QStringList{u" DB1 "_s, u" SRV1"_s, u"7"_s, u" u1 "_s, u" pw "_s} << u" pw "_s << 7;
    QTest::newRow("æ only when alone") << u"DB1|SRV1|7|u1|æx"_s
                                       << QStringList{u"DB1"_s, u"SRV1"_s, u"7"_s, u"u1"_s, u"æx"_s} << u"æx"_s << 7;
    QTest::newRow("negative user id") << u"DB1|SRV1|-2147483648|u1|p"_s
                                      << QStringList{u"DB1"_s, u"SRV1"_s, u"-2147483648"_s, u"u1"_s, u"p"_s} << u"p"_s
                                      << int(INT32_MIN);
    QTest::newRow("semicolon and quote kept") << u"DB1|SRV1|7|a;b'c|p;w"_s
                                              << QStringList{u"DB1"_s, u"SRV1"_s, u"7"_s, u"a;b'c"_s, u"p;w"_s}
                                              << u"p;w"_s << 7;
}

void TestLaunchParams::splitting()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QFETCH(QString, password);
    QFETCH(int, userId);

    test::FakeServices fakes;
    platform::CommandLine options;
    options.launchText = line;
    Program program(fakes.services(), options);
    ParseLaunchParams(program);

    QVERIFY(fakes.messages.shown.isEmpty());
    QCOMPARE(program.vars.LaunchParams.mid(1), fields);
    QCOMPARE(program.vars.DatabaseName, fields[0]);
    QCOMPARE(program.vars.ServerName, fields[1]);
    QCOMPARE(program.vars.UserId, userId);
    QCOMPARE(program.vars.DbUserName, fields[3]);
    QCOMPARE(program.vars.DbPassword, password);
}

void TestLaunchParams::refused_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("-1 alone") << u"-1"_s;
    QTest::newRow("a lone bar") << u"|"_s;
    QTest::newRow("four fields") << u"DB1|SRV1|7|u1"_s;
    QTest::newRow("bar right after the fourth") << u"DB1|SRV1|7|u1|"_s;
    QTest::newRow("user id not a number") << u"DB1|SRV1|abc|u1|p"_s;
    QTest::newRow("user id with a fraction") << u"DB1|SRV1|7.5|u1|p"_s;
    QTest::newRow("user id too large") << u"DB1|SRV1|2147483648|u1|p"_s;
    QTest::newRow("user id empty") << u"DB1|SRV1||u1|p"_s;
}

void TestLaunchParams::refused()
{
    QFETCH(QString, line);
    test::FakeServices fakes;
    platform::CommandLine options;
    options.launchText = line;
    Program program(fakes.services(), options);

    try {
        ParseLaunchParams(program);
        QFAIL("the program should have ended");
    } catch (const platform::ProgramEnded &ended) {
        QCOMPARE(ended.exitCode, 2);
    }
    QCOMPARE(fakes.messages.shown.size(), 1);
    QCOMPARE(fakes.messages.shown[0].text, u"Eksik Paremetre Kullanımı "_s);
    QCOMPARE(fakes.messages.shown[0].style, platform::MsgBox::Critical);
    QCOMPARE(fakes.messages.shown[0].caption, Program::title());
    QVERIFY(program.vars.DatabaseName.isEmpty());
}

void TestLaunchParams::emptyLineAsksForTheDialog()
{
    test::FakeServices fakes;
    Program program(fakes.services(), platform::CommandLine());
    program.vars.DatabaseName = u"untouched"_s;
    ParseLaunchParams(program);
    QCOMPARE(program.vars.LaunchParams.value(1), u"-1"_s);
    QCOMPARE(program.vars.DatabaseName, u"untouched"_s);
    QVERIFY(fakes.messages.shown.isEmpty());
}

void TestLaunchParams::mainChoosesThePath_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("dialog");
    QTest::newRow("empty line") << QString() << true;
    QTest::newRow("-1 with five fields") << u"-1|127.0.0.1,1|7|u|p"_s << true;
    QTest::newRow("-1 with a trailing blank") << u"-1 |127.0.0.1,1|7|u|p"_s << false;
    QTest::newRow("another dash") << u"–1|127.0.0.1,1|7|u|p"_s << false;
    QTest::newRow("a database") << u"DB1|127.0.0.1,1|7|u|p"_s << false;
}

void TestLaunchParams::mainChoosesThePath()
{
    QFETCH(QString, line);
    QFETCH(bool, dialog);
    test::FakeServices fakes;
    platform::CommandLine options;
    options.launchText = line;
    Program program(fakes.services(), options);
    bool dialogShown = false;
    program.showLoginDialog = [&](Program &) { dialogShown = true; };
    program.showReport = [](Program &) { QFAIL("no report without a connection"); };

    int exitCode = -1;
    try {
        Main(program);
    } catch (const platform::ProgramEnded &ended) {
        exitCode = ended.exitCode;
    }
    QCOMPARE(dialogShown, dialog);
    // The direct path tries a server on a closed local port: the connection
    // fails with its two messages.
    QCOMPARE(exitCode, dialog ? -1 : 3);
    QCOMPARE(fakes.messages.shown.size(), dialog ? 0 : 2);
}

QTEST_GUILESS_MAIN(TestLaunchParams)
#include "tst_launchparams.moc"
