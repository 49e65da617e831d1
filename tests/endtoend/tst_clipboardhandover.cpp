#include "support/zelvanrun.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

// zelvan on an X server of its own (Xvfb), with the clipboard-manager stand-in
// of tests/support: what the clipboard holds after the program has ended.
class TestClipboardHandover : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(u"Xvfb"_s).isEmpty())
            QSKIP("Xvfb is not installed (Debian package xvfb): there is no X clipboard to look at");
        // Xvfb chooses a free display and writes its number once it accepts clients. Without -noreset it
        // resets when its last client leaves, and a client connecting meanwhile (the next row's manager) is refused.
        m_xvfb.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s, u"-noreset"_s});
        QVERIFY(m_xvfb.waitForReadyRead(30000));
        const QByteArray number = m_xvfb.readAllStandardOutput().trimmed();
        QVERIFY(!number.isEmpty());
        m_environment = test::runEnvironment(m_work.filePath(u"registry.reg"_s));
        m_environment.insert(u"DISPLAY"_s, u":"_s + QString::fromLatin1(number));
        m_environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        m_environment.insert(u"ZELVAN_VIEWER_EXIT_AFTER_SHOW"_s, u"1"_s);  // the viewer runs close once they show the page
        test::writeRegistry(m_work.filePath(u"registry.reg"_s));
        QCOMPARE(QProcess::execute(test::binaryPath(u"zelvan-demo"_s), {m_work.filePath(u"demo"_s)}), 0);
    }

    void cleanupTestCase()
    {
        m_xvfb.terminate();
        m_xvfb.waitForFinished(30000);
    }

    // A clipboard manager is handed the last query's text as zelvan ends: at once (no rights row: the connection
    // messages, exit 3), from main without a window (right refused), or after the viewer.
    void lastQueryOutlivesTheProgram_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("userId");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("saved");  // what the manager prints
        const QString rightQuery = u"saved: SELECT CARR FROM Defination_DB.dbo.Kullanici WHERE Firma_ID=1 AND Kullanici_ID=%1\n"_s;
        QTest::newRow("no rights row: ends at once") << QStringList() << 3 << 3 << rightQuery.arg(3);
        QTest::newRow("report right refused: main returns") << QStringList() << 2 << 5 << rightQuery.arg(2);
        QTest::newRow("viewer closed after showing the page")
            << QStringList{u"--stock-one-pass"_s} << 1 << 0 << u"saved: SELECT SUM(Bakiye) as Toplam FROM CB WHERE  Bakiye>0\n"_s;
    }
    void lastQueryOutlivesTheProgram()
    {
        QFETCH(QStringList, options);
        QFETCH(int, userId);
        QProcess manager;
        manager.setProcessEnvironment(m_environment);
        manager.start(test::binaryPath(u"clipboard-manager-stand-in"_s));
        QVERIFY2(manager.waitForReadyRead(30000), manager.readAllStandardError().constData());
        QCOMPARE(manager.readLine(), "ready\n");
        const QString line = u"NRV_DEMO_2026|%1|%2|norvent|Zelvan2026"_s.arg(m_work.filePath(u"demo"_s)).arg(userId);
        const test::ZelvanRun run = test::runZelvan(options + QStringList{u"--"_s, line}, m_environment);
        QVERIFY2(!run.crashed, run.err.constData());
        QTEST(run.exitCode, "exitCode");
        manager.waitForReadyRead(5000);
        QTEST(QString::fromUtf8(manager.readAllStandardOutput()), "saved");
        manager.kill();
        manager.waitForFinished(30000);
    }

private:
    QProcess m_xvfb;
    QTemporaryDir m_work;
    QProcessEnvironment m_environment;
};

QTEST_GUILESS_MAIN(TestClipboardHandover)
#include "tst_clipboardhandover.moc"
