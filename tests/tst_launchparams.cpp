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
    void parse_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");  // LaunchParams from entry 1; none: refused
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("userId");

        QTest::newRow("not trimmed, blanks around the id")
            << u" DB1 | SRV1| 7 | u1 | pw "_s << QStringList{u" DB1 "_s, u" SRV1"_s, u" 7 "_s, u" u1 "_s, u" pw "_s} << u" pw "_s
            << 7;
        QTest::newRow("empty field, æ alone, trailing bar, lowest id")
            << u"DB1||-2147483648|u1|æ|"_s << QStringList{u"DB1"_s, QString(), u"-2147483648"_s, u"u1"_s, u"æ"_s} << QString()
            << int(INT32_MIN);
        QTest::newRow("extra fields, æ not alone, highest id")
            << u"DB1|SRV1|+2147483647|u1|æx|x"_s
            << QStringList{u"DB1"_s, u"SRV1"_s, u"+2147483647"_s, u"u1"_s, u"æx"_s, u"x"_s} << u"æx"_s << int(INT32_MAX);
        for (const QString &line : {u"DB1|SRV1|7|u1"_s, u"DB1|SRV1|7|u1|"_s, u"DB1|SRV1|7.5|u1|p"_s, u"DB1|SRV1|2147483648|u1|p"_s,
                                    u"DB1|SRV1||u1|p"_s})
            QTest::addRow("refused: %s", qPrintable(line)) << line << QStringList() << QString() << 0;
    }
    void parse()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        const Started started(line);
        const Degiskenler &vars = started.program->vars;
        const auto &shown = started.fakes.messages.shown;
        if (fields.isEmpty()) {
            QCOMPARE(started.exitCode, 2);
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown[0].text, u"Eksik Paremetre Kullanımı "_s);
            QCOMPARE(shown[0].style, platform::MsgBox::Critical);
            QVERIFY(vars.DatabaseName.isEmpty());
            return;
        }
        QCOMPARE(started.exitCode, -1);
        QVERIFY(shown.isEmpty());
        QCOMPARE(vars.LaunchParams.mid(1), fields);
        QCOMPARE((QStringList{vars.DatabaseName, vars.ServerName, vars.DbUserName}),
                 (QStringList{fields[0], fields[1], fields[3]}));
        QTEST(vars.UserId, "userId");
        QTEST(vars.DbPassword, "password");
    }

    void mainChoosesThePath_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("dialog");
        QTest::newRow("empty line") << QString() << true;
        QTest::newRow("-1 with five fields") << u"-1|127.0.0.1,1|7|u|p"_s << true;
        QTest::newRow("-1 with a trailing blank") << u"-1 |127.0.0.1,1|7|u|p"_s << false;
    }
    // The direct path tries a server on a closed local port and fails with its two messages.
    void mainChoosesThePath()
    {
        QFETCH(QString, line);
        QFETCH(bool, dialog);
        const Started started(line, true);
        QCOMPARE(started.dialogShown, dialog);
        QCOMPARE(started.exitCode, dialog ? -1 : 3);
        QCOMPARE(started.fakes.messages.shown.size(), dialog ? 0 : 2);
    }
};

QTEST_GUILESS_MAIN(TestLaunchParams)
#include "tst_launchparams.moc"
