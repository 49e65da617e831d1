#include "sqlitewriter/sqlitewriter.h"
#include "support/testinstance.h"
#include "support/zelvanrun.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QScopeGuard>
#include <QTest>

#include <chrono>
#include <future>
#include <thread>

#include <grp.h>
#include <unistd.h>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QFileDevice::Permissions ReadOnly = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                                              | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;

// Permissions don't stop root: a run as root gives them up for user and group 65534 ("nobody").
void withoutRoot()
{
    if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
        _exit(125);
}

} // namespace

// The instance as the suite leaves it while it runs beside the report: databases in write-ahead-log mode, a
// writer's log, a writer's lock held for a moment.
class TestSharedInstance : public QObject
{
    Q_OBJECT

    QTemporaryDir m_work;
    QString m_registry = m_work.filePath(u"registry.reg"_s);

    // The report's cash total (the sum over KB), or the run's exit code and output when it failed.
    QString cashTotal(const test::TestInstance &instance, const std::function<void()> &childSetup = {})
    {
        const test::ZelvanRun run = test::runZelvan({u"--json"_s, u"--"_s, u"FIRMA|%1|7|zelvan|parola"_s.arg(instance.path())},
                                                    test::runEnvironment(m_registry), 120000, childSetup);
        if (run.exitCode != 0)
            return u"exit %1: "_s.arg(run.exitCode) + QString::fromUtf8(run.err);
        return QJsonDocument::fromJson(run.out)[u"fields"_s][u"Kasa_bakiyeleri_toplamı"_s].toString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        test::writeRegistry(m_registry);
        QVERIFY(QFile::setPermissions(m_work.path(), ReadOnly | QFileDevice::WriteOwner));  // readable without root
    }

    // Read without a file added or changed, also where the user may not write.
    void walDatabases_data()
    {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("writable directory") << false;
        QTest::newRow("read-only directory") << true;
    }
    void walDatabases()
    {
        QFETCH(bool, readOnly);
        test::TestInstance instance;
        test::addStandardDatabases(instance);
        instance.run(u"FIRMA"_s, {u"INSERT INTO KB VALUES (1, 12.5)"_s});
        const QDir dir(instance.path());
        for (const QString &database : {u"master"_s, u"Defination_DB"_s, u"FIRMA"_s}) {
            instance.run(database, {u"PRAGMA journal_mode=WAL"_s});
            QCOMPARE(test::readFile(dir.filePath(database + u".sqlite"_s)).mid(18, 2), QByteArray("\x02\x02"));  // format versions: WAL
        }
        const QStringList files = dir.entryList(QDir::Files | QDir::Hidden);
        const QByteArray digest = instance.digest();
        const auto writable = qScopeGuard([&] { QFile::setPermissions(dir.path(), ReadOnly | QFileDevice::WriteOwner); });
        std::function<void()> childSetup;
        if (readOnly) {
            QVERIFY(QFile::setPermissions(dir.path(), ReadOnly));
            const QString check = u"test ! -w \"$1\" && test -r \"$1/FIRMA.sqlite\" && test -r \"$2\" && test -x \"$3\""_s;
            const test::ZelvanRun probe = test::runProgram(u"/bin/sh"_s, {u"-c"_s, check, u"sh"_s, dir.path(), m_registry, test::binaryPath(u"zelvan"_s)},
                                                           QProcessEnvironment::systemEnvironment(), 30000, withoutRoot);
            if (probe.exitCode != 0)
                QSKIP("the directory can't be made read-only to a run of the program here");
            childSetup = withoutRoot;
        }
        QCOMPARE(cashTotal(instance, childSetup), u"12,50"_s);
        QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden), files);
        QCOMPARE(instance.digest(), digest);
    }

    // A writer's committed rows still in its log are read: the log is used, not passed over.
    void writersLog()
    {
        test::TestInstance instance;
        test::addStandardDatabases(instance);
        writer::SqliteWriter writer(QDir(instance.path()).filePath(u"FIRMA.sqlite"_s), false);
        writer.exec(u"PRAGMA journal_mode=WAL"_s);
        writer.exec(u"INSERT INTO KB VALUES (1, 7.5)"_s);
        QVERIFY(QFileInfo(QDir(instance.path()).filePath(u"FIRMA.sqlite-wal"_s)).size() > 0);
        QCOMPARE(cashTotal(instance), u"7,50"_s);
    }

    // A writer's lock held for a moment is waited for, as SQL Server waits, on every database the report reads.
    void writerLock_data()
    {
        QTest::addColumn<QString>("database");
        QTest::newRow("logins") << u"master"_s;
        QTest::newRow("users and companies") << u"Defination_DB"_s;
        QTest::newRow("company") << u"FIRMA"_s;
    }
    void writerLock()
    {
        QFETCH(QString, database);
        test::TestInstance instance;
        test::addStandardDatabases(instance);
        std::promise<void> locked;
        std::thread holder([&] {
            writer::SqliteWriter writer(QDir(instance.path()).filePath(database + u".sqlite"_s), false);
            writer.exec(u"BEGIN EXCLUSIVE"_s);
            locked.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            writer.exec(u"COMMIT"_s);
        });
        locked.get_future().wait();
        QElapsedTimer timer;
        timer.start();
        const QString total = cashTotal(instance);
        const qint64 waited = timer.elapsed();
        holder.join();
        QCOMPARE(total, u"0,00"_s);
        QVERIFY2(waited >= 1000, qPrintable(QString::number(waited)));  // the run did meet the lock
    }
};

QTEST_GUILESS_MAIN(TestSharedInstance)
#include "tst_sharedinstance.moc"
