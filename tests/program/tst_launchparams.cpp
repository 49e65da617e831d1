#include "program/launchparams.h"
#include "program/mainprocedure.h"
#include "program/program.h"
#include "support/fakeservices.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::program;
using namespace Qt::Literals::StringLiterals;

namespace {
// A program started with `line`; the login dialog only records that it came up.
struct Launch
{
    explicit Launch(const QString &line) : program(fakes.services(), [&line] {
        CommandLine options;
        options.launchText = line;
        return options;
    }())
    {
        program.showLoginDialog = [this](Program &) { dialogShown = true; };
    }

    test::FakeServices fakes;
    Program program;
    bool dialogShown = false;
};
} // namespace

class TestLaunchParams : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // LaunchParams holds the fields from entry 1 on as they stand.
    void accepted_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<int>("userId");
        QTest::addColumn<QString>("password");
        QTest::newRow("not trimmed, blanks around the id") << u" DB1 | SRV1| 7 | u1 | pw "_s
                                                           << QStringList{u" DB1 "_s, u" SRV1"_s, u" 7 "_s, u" u1 "_s, u" pw "_s} << 7
                                                           << u" pw "_s;
        QTest::newRow("empty field, æ alone, trailing bar, lowest id")
            << u"DB1||-2147483648|u1|æ|"_s << QStringList{u"DB1"_s, QString(), u"-2147483648"_s, u"u1"_s, u"æ"_s}
            << -2147483647 - 1 << QString();
        QTest::newRow("extra fields, æ not alone, highest id")
            << u"DB1|SRV1|+2147483647|u1|æx|x"_s << QStringList{u"DB1"_s, u"SRV1"_s, u"+2147483647"_s, u"u1"_s, u"æx"_s, u"x"_s}
            << 2147483647 << u"æx"_s;
    }
    void accepted()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        Launch launch(line);
        QCOMPARE(test::exitCodeOf([&launch] { ParseLaunchParams(launch.program); }), -1);
        QCOMPARE(launch.fakes.messages.shown.size(), 0);
        const Degiskenler &vars = launch.program.vars;
        QCOMPARE(vars.LaunchParams.mid(1), fields);
        QCOMPARE(vars.DatabaseName, fields[0]);
        QCOMPARE(vars.ServerName, fields[1]);
        QCOMPARE(vars.DbUserName, fields[3]);
        QTEST(int(vars.UserId), "userId");
        QTEST(vars.DbPassword, "password");
    }

    // A first field of -1, or none at all, opens the login dialog. A refused line runs end to end.
    void loginDialog_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("empty line") << QString();
        QTest::newRow("-1 with five fields") << u"-1|127.0.0.1,1|7|u|p"_s;
    }
    void loginDialog()
    {
        QFETCH(QString, line);
        Launch launch(line);
        QCOMPARE(test::exitCodeOf([&launch] { Main(launch.program); }), -1);
        QCOMPARE(launch.fakes.messages.shown.size(), 0);
        QVERIFY(launch.dialogShown);
    }
};

QTEST_GUILESS_MAIN(TestLaunchParams)
#include "tst_launchparams.moc"
