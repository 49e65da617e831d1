#include "platform/fileregistry.h"
#include "platform/registryfile.h"
#include "support/testinstance.h"
#include "support/zelvanrun.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;
using platform::Registry;

namespace {

constexpr qsizetype BigValueSize = 512 * 1024;

// Its number, eight digits, repeated: a half-written value shows.
QByteArray bigValue(int number)
{
    return QByteArray::number(number).rightJustified(8, '0').repeated(BigValueSize / 8);
}

// Writes under one key the value "Big" again and again until killed or, given a count, the values FIRST ..
// FIRST + COUNT - 1 once each, as programs that remember settings at the same moment would. Says "ready" after
// the first write.
int runWriter(const QString &path, int first, int count)
{
    platform::FileRegistry registry(path);
    Registry::Key key = 0;
    if (registry.createKey(Registry::CurrentUser, "Software\\Zelvan\\Test", &key) != Registry::Success)
        return 1;
    for (int i = first; count == 0 || i < first + count; ++i) {
        const QByteArray name = count == 0 ? "Big" : QByteArray::number(i);
        if (registry.setValue(key, name, Registry::TypeString, (count == 0 ? bigValue(i) : "x") + '\0') != Registry::Success)
            return 1;
        if (i == first) {
            std::fputs("ready\n", stdout);
            std::fflush(stdout);
        }
    }
    return 0;
}

// A registry file with one remembered value, and the text of a value read back from it.
QString seededRegistry(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(u"registry.reg"_s);
    return test::writeFile(path, u"REGEDIT4\n\n[HKEY_CURRENT_USER\\DEF_NORVENT]\n\"DEF_KUL\"=\"Şükrü\"\n"_s.toUtf8()) ? path : QString();
}
QString valueText(const platform::RegistryTree &tree, const QString &path, const QString &name)
{
    const platform::RegistryKeyData *key = tree.key(path);
    return key && key->value(name) ? key->value(name)->text : QString();
}

QString launchLine(const QString &instance) { return u"FIRMA|%1|7|zelvan|parola"_s.arg(instance); }

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

    test::TestInstance m_instance;
    QByteArray m_digest;
    QTemporaryDir m_work;
    QString m_registry = m_work.filePath(u"registry.reg"_s);

private Q_SLOTS:
    void initTestCase()
    {
        test::addStandardDatabases(m_instance);
        // Enough rows that every company table spans several pages.
        QStringList rows{u"BEGIN"_s};
        for (int i = 1; i <= 400; ++i) {
            rows << u"INSERT INTO CEKKART VALUES (%1, %2.25, %3.5, 'Portföyde')"_s.arg(i).arg(i * 3).arg(i * 7)
                 << u"INSERT INTO CB VALUES (%1, %2.75)"_s.arg(i).arg(i % 2 ? i * 11 : -i * 13)
                 << u"INSERT INTO STOKKART VALUES (%1, 'Ürün %1')"_s.arg(i)
                 << u"INSERT INTO SB VALUES (%1, %2)"_s.arg(i).arg(i % 5)
                 << u"INSERT INTO STOKHAREKET VALUES (%1, %1, '2026-03-0%2 00:00:00', %3, 0, %1.5)"_s.arg(i).arg(1 + i % 9).arg(
                        5 + i % 3);
        }
        m_instance.run(u"FIRMA"_s, rows << u"COMMIT"_s);
        m_digest = m_instance.digest();
        test::writeRegistry(m_registry);
        const QStringList arguments{u"--json"_s, u"--"_s, launchLine(m_instance.path())};
        QCOMPARE(test::runZelvan(arguments, test::runEnvironment(m_registry)).exitCode, 0);
    }

    void damagedDatabase_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("truncateTo");  // -1: not truncated
        QTest::addColumn<int>("seed");           // > 0: sixteen random bytes overwritten at eight places
        for (const QString &name : {u"master"_s, u"Defination_DB"_s, u"FIRMA"_s}) {
            const qint64 size = QFileInfo(QDir(m_instance.path()).filePath(name + u".sqlite"_s)).size();
            for (const qint64 length : {qint64(0), qint64(100), qint64(1024), size / 2, size - 1})
                QTest::addRow("%s truncated to %lld", qPrintable(name), length) << name << length << 0;
            for (const int seed : {1, 2, 3})
                QTest::addRow("%s overwritten, seed %d", qPrintable(name), seed) << name << qint64(-1) << seed;
            QTest::addRow("%s not a database", qPrintable(name)) << name << qint64(-1) << 0;
        }
    }
    // A message and an exit code, or (damage no read meets) the report; never a crash or a hang, no file changed.
    void damagedDatabase()
    {
        QFETCH(QString, file);
        QFETCH(qint64, truncateTo);
        QFETCH(int, seed);
        QTemporaryDir copy;
        for (const QString &name : QDir(m_instance.path()).entryList(QDir::Files))
            QVERIFY(QFile::copy(QDir(m_instance.path()).filePath(name), QDir(copy.path()).filePath(name)));
        QFile damaged(QDir(copy.path()).filePath(file + u".sqlite"_s));
        if (truncateTo >= 0)
            QVERIFY(damaged.resize(truncateTo));
        else if (seed == 0)
            QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("SQLite format 2\0 but not a database\n", 36) == 36);
        QVERIFY(seed == 0 || damaged.open(QIODevice::ReadWrite));
        QRandomGenerator random(seed);
        QByteArray bytes(16, '\0');
        for (int i = 0; seed > 0 && i < 8; ++i) {
            random.fillRange(reinterpret_cast<quint32 *>(bytes.data()), 4);
            QVERIFY(damaged.seek(random.bounded(damaged.size() - 16)) && damaged.write(bytes) == 16);
        }
        damaged.close();
        const QByteArray before = test::directoryDigest(copy.path());
        const test::ZelvanRun run = test::runZelvan({u"--json"_s, u"--"_s, launchLine(copy.path())},
                                                    test::runEnvironment(m_registry), 60000);
        QVERIFY2(!run.crashed, run.err.constData());
        QVERIFY2(QList<int>({0, 3, 4, 8}).contains(run.exitCode), run.err.constData());
        if (run.exitCode == 0) {
            QVERIFY(QJsonDocument::fromJson(run.out).object().contains(u"values"_s));
        } else {
            QVERIFY(run.out.isEmpty());
            QVERIFY2(!run.messages.isEmpty(), run.err.constData());
            for (const QJsonObject &message : run.messages)
                QVERIFY(QStringList({u"critical"_s, u"information"_s, u"none"_s}).contains(message.value(u"icon"_s).toString()));
        }
        QCOMPARE(test::directoryDigest(copy.path()), before);
    }

    // A writer killed at any moment leaves the file before or after its write, whole, with every other value.
    void registryWriterKilled()
    {
        QTemporaryDir dir;
        const QString registry = seededRegistry(dir);
        QRandomGenerator random(2026);
        for (int round = 0; round < 40; ++round) {
            QProcess writer;
            writer.start(QCoreApplication::applicationFilePath(), {u"--registry-writer"_s, registry, u"1"_s, u"0"_s});
            QVERIFY(writer.waitForReadyRead(60000));
            QThread::usleep(random.bounded(30000));
            writer.kill();
            QVERIFY(writer.waitForFinished(60000));
            const platform::RegistryTree tree = platform::parseRegistryFile(test::readFile(registry));
            QCOMPARE(valueText(tree, u"DEF_NORVENT"_s, u"DEF_KUL"_s), u"Şükrü"_s);
            const QString value = valueText(tree, u"Software\\Zelvan\\Test"_s, u"Big"_s);  // the first write had finished
            QCOMPARE(value.size(), BigValueSize);
            QCOMPARE(value, QString::fromLatin1(bigValue(value.left(8).toInt())));
        }
    }

    // Two processes writing at once, a hundred values each: no write is lost, nothing else either.
    void concurrentWriterProcesses()
    {
        QTemporaryDir dir;
        const QString registry = seededRegistry(dir);
        QProcess one, two;
        one.start(QCoreApplication::applicationFilePath(), {u"--registry-writer"_s, registry, u"0"_s, u"100"_s});
        two.start(QCoreApplication::applicationFilePath(), {u"--registry-writer"_s, registry, u"100"_s, u"100"_s});
        for (QProcess *writer : {&one, &two}) {
            QVERIFY(writer->waitForFinished(120000));
            QCOMPARE(writer->exitStatus(), QProcess::NormalExit);
            QCOMPARE(writer->exitCode(), 0);
        }
        const platform::RegistryTree tree = platform::parseRegistryFile(test::readFile(registry));
        for (int i = 0; i < 200; ++i)
            QCOMPARE(valueText(tree, u"Software\\Zelvan\\Test"_s, QString::number(i)), u"x"_s);
        QCOMPARE(valueText(tree, u"DEF_NORVENT"_s, u"DEF_KUL"_s), u"Şükrü"_s);
    }

    void headlessOutputs_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("diskFull");
        QTest::addColumn<QByteArray>("previous");  // the target's bytes before the run; empty: no file
        QTest::newRow("json, no display") << u"--json"_s << false << QByteArray();
        QTest::newRow("pdf, no display") << u"--pdf"_s << false << QByteArray();
        QTest::newRow("png, no display") << u"--png"_s << false << QByteArray();
        QTest::newRow("pdf, disk full, older file kept") << u"--pdf"_s << true << QByteArray("%PDF-1.4 an older report\n");
    }
    // A display that is gone is never needed; a full disk (files may grow only to 8 KiB: EFBIG)
    // gives a message, exit code 9, and no half file at the target.
    void headlessOutputs()
    {
        QFETCH(QString, option);
        QFETCH(bool, diskFull);
        QFETCH(QByteArray, previous);
        QTemporaryDir folder;
        const QString target = folder.filePath(u"rapor."_s + option.mid(2));
        QVERIFY(previous.isEmpty() || test::writeFile(target, previous));
        int display = 90;
        while (QFile::exists(u"/tmp/.X11-unix/X%1"_s.arg(display)) || QFile::exists(u"/tmp/.X%1-lock"_s.arg(display)))
            ++display;
        QProcessEnvironment environment = test::runEnvironment(m_registry);
        environment.insert(u"DISPLAY"_s, u":%1"_s.arg(display));
        environment.remove(u"QT_QPA_PLATFORM"_s);
        const QStringList output = option == u"--json" ? QStringList{option} : QStringList{option, target};
        const test::ZelvanRun run = test::runZelvan(output + QStringList{u"--"_s, launchLine(m_instance.path())},
                                                    environment, 120000, [diskFull] {
            if (diskFull) {
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{8192, 8192};
                setrlimit(RLIMIT_FSIZE, &limit);
            }
        });
        QVERIFY2(!run.crashed, run.err.constData());
        QCOMPARE(run.exitCode, diskFull ? 9 : 0);
        if (!diskFull) {
            QVERIFY(run.messages.isEmpty());
            QVERIFY(option == u"--json" ? run.out.startsWith("{\"title\":\"ZELVAN RAPORU\"") : QFileInfo(target).size() > 1000);
            return;
        }
        QCOMPARE(run.messages.size(), 1);
        QCOMPARE(run.messages[0].value(u"icon"_s).toString(), u"critical"_s);
        QVERIFY2(run.messageTexts()[0].startsWith(u"PDF dosyası yazılamadı: "_s + target), qPrintable(run.messageTexts()[0]));
        QCOMPARE(test::readFile(target), previous);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void instanceUnchangedByAllRuns() { QCOMPARE(m_instance.digest(), m_digest); }
};

// Runs as a registry writer when asked to.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], "--registry-writer") == 0)
        return runWriter(QString::fromLocal8Bit(argv[2]), atoi(argv[3]), atoi(argv[4]));
    TestFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faults.moc"
