#include "platform/messageboxes.h"
#include "startup/launchparams.h"
#include "startup/program.h"
#include "startup/programstart.h"
#include "support/fakeservices.h"

#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

namespace {

// A program started with this launch line, and the exit code when it ended.
struct Started
{
    explicit Started(const QString &line, bool runMain = false)
    {
        platform::CommandLine options;
        options.launchText = line;
        program = std::make_unique<Program>(fakes.services(), options);
        program->showLoginDialog = [this](Program &) { dialogShown = true; };
        try {
            runMain ? Main(*program) : ParseLaunchParams(*program);
        } catch (const platform::ProgramEnded &ended) {
            exitCode = ended.exitCode;
        }
    }

    test::FakeServices fakes;
    std::unique_ptr<Program> program;
    int exitCode = -1;
    bool dialogShown = false;
};

} // namespace

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
    QTest::addColumn<QStringList>("fields");  // LaunchParams from entry 1
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("userId");

    QTest::newRow("not trimmed, blanks around the id")
        << u" DB1 | SRV1| 7 | u1 | pw "_s << QStringList{u" DB1 "_s, u" SRV1"_s, u" 7 "_s, u" u1 "_s, u" pw "_s}
        << u" pw "_s << 7;
    QTest::newRow("empty field, æ alone, trailing bar, lowest id")
        << u"DB1||-2147483648|u1|æ|"_s << QStringList{u"DB1"_s, QString(), u"-2147483648"_s, u"u1"_s, u"æ"_s}
        << QString() << int(INT32_MIN);
    QTest::newRow("extra fields, æ not alone, highest id")
        << u"DB1|SRV1|+2147483647|u1|æx|x"_s
        << QStringList{u"DB1"_s, u"SRV1"_s, u"+2147483647"_s, u"u1"_s, u"æx"_s, u"x"_s} << u"æx"_s << int(INT32_MAX);
}

void TestLaunchParams::splitting()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    const Started started(line);
    const Degiskenler &vars = started.program->vars;
    QCOMPARE(started.exitCode, -1);
    QVERIFY(started.fakes.messages.shown.isEmpty());
    QCOMPARE(vars.LaunchParams.mid(1), fields);
    QCOMPARE(vars.DatabaseName, fields[0]);
    QCOMPARE(vars.ServerName, fields[1]);
    QTEST(vars.UserId, "userId");
    QCOMPARE(vars.DbUserName, fields[3]);
    QTEST(vars.DbPassword, "password");
}

void TestLaunchParams::refused_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("four fields") << u"DB1|SRV1|7|u1"_s;
    QTest::newRow("bar right after the fourth") << u"DB1|SRV1|7|u1|"_s;
    QTest::newRow("user id with a fraction") << u"DB1|SRV1|7.5|u1|p"_s;
    QTest::newRow("user id too large") << u"DB1|SRV1|2147483648|u1|p"_s;
    QTest::newRow("user id empty") << u"DB1|SRV1||u1|p"_s;
}

void TestLaunchParams::refused()
{
    QFETCH(QString, line);
    const Started started(line);
    QCOMPARE(started.exitCode, 2);
    QCOMPARE(started.fakes.messages.shown.size(), 1);
    QCOMPARE(started.fakes.messages.shown[0].text, u"Eksik Paremetre Kullanımı "_s);
    QCOMPARE(started.fakes.messages.shown[0].style, platform::MsgBox::Critical);
    QVERIFY(started.program->vars.DatabaseName.isEmpty());
}

void TestLaunchParams::emptyLineAsksForTheDialog()
{
    const Started started{QString()};
    QCOMPARE(started.program->vars.LaunchParams.value(1), u"-1"_s);
    QVERIFY(started.program->vars.DatabaseName.isEmpty());
    QVERIFY(started.fakes.messages.shown.isEmpty());
}

void TestLaunchParams::mainChoosesThePath_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("dialog");
    QTest::newRow("empty line") << QString() << true;
    QTest::newRow("-1 with five fields") << u"-1|127.0.0.1,1|7|u|p"_s << true;
    QTest::newRow("-1 with a trailing blank") << u"-1 |127.0.0.1,1|7|u|p"_s << false;
}

void TestLaunchParams::mainChoosesThePath()
{
    QFETCH(QString, line);
    QFETCH(bool, dialog);
    const Started started(line, true);
    QCOMPARE(started.dialogShown, dialog);
    // The direct path tries a server on a closed local port and fails with its two messages.
    QCOMPARE(started.exitCode, dialog ? -1 : 3);
    QCOMPARE(started.fakes.messages.shown.size(), dialog ? 0 : 2);
}

QTEST_GUILESS_MAIN(TestLaunchParams)
#include "tst_launchparams.moc"
