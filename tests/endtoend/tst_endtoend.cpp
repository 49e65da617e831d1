#include "support/testinstance.h"
#include "support/zelvanrun.h"

#include <QJsonObject>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

class TestEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Asked about the regional settings, a No writes nothing and ends; a Yes writes them and the report follows.
    void regionalSettingsGuard()
    {
        test::TestInstance instance;
        test::addStandardDatabases(instance);
        QTemporaryDir dir;
        const QString file = dir.filePath(u"registry.reg"_s);
        QProcessEnvironment environment = test::runEnvironment(file);
        const QStringList arguments{u"--json"_s, u"--"_s, u"FIRMA|%1|7|zelvan|parola"_s.arg(instance.path())};
        test::writeRegistry(file, u"REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\International]\n\"sDecimal\"=\",\"\n"
                                  u"\"sThousand\"=\".\"\n\"sDate\"=\".\"\n\"sShortDate\"=\"d.M.yyyy\"\n"_s);  // short date differs
        const QByteArray before = test::readFile(file);
        test::ZelvanRun run = test::runZelvan(arguments, environment);
        QVERIFY(run.exitCode == 6 && run.messages.value(0).value(u"buttons"_s).toString() == u"yesno");
        QCOMPARE(test::readFile(file), before);
        QVERIFY(QFile::remove(file));  // no file at all
        environment.insert(u"ZELVAN_ANSWERS"_s, u"yes"_s);
        run = test::runZelvan(arguments, environment);
        QVERIFY(run.exitCode == 0 && run.messages.value(0).value(u"buttons"_s).toString() == u"yesno");
        QVERIFY(test::readFile(file).contains("\"sShortDate\"=\"dd.MM.yyyy\"") && run.out.startsWith("{\"title\":\"ZELVAN RAPORU\""));
        run = test::runZelvan({u"--help"_s}, environment);
        QVERIFY(run.exitCode == 0 && run.out.contains("--pdf FILE"));
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
