#include "platform/registryexport.h"
#include "platform/registryfilestore.h"
#include "support/testinstance.h"
#include "support/zelvanrun.h"

#include <QJsonDocument>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

// Its number, eight digits, repeated to 512 KiB: a half-written value shows.
static QByteArray bigValue(int number) { return QByteArray::number(number).rightJustified(8, '0').repeated(64 * 1024); }

class TestFaults : public QObject
{
    Q_OBJECT

    test::TestInstance m_instance;
    QTemporaryDir m_work;
    QString m_registry = m_work.filePath(u"registry.reg"_s);  // the regional settings the program needs

private Q_SLOTS:
    void initTestCase()
    {
        test::addStandardDatabases(m_instance);
        // Enough rows that every company table spans several pages.
        const QString numbers = u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "_s;
        m_instance.run(u"FIRMA"_s, {numbers + u"INSERT INTO CEKKART SELECT i, i * 3 + 0.25, i * 7 + 0.5, 'Portföyde' FROM n"_s,
                                    numbers + u"INSERT INTO CB SELECT i, (i % 2 * 24 - 13) * i - 0.75 FROM n"_s,
                                    numbers + u"INSERT INTO STOKKART SELECT i, 'Ürün ' || i FROM n"_s,
                                    numbers + u"INSERT INTO SB SELECT i, i % 5 FROM n"_s,
                                    numbers + u"INSERT INTO STOKHAREKET SELECT i, i, '2026-03-0' || (1 + i % 9) || ' 00:00:00', "
                                              u"5 + i % 3, 0, i + 0.5 FROM n"_s});
        test::writeRegistry(m_registry);
    }

    void damagedDatabase_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("damage");  // >= 0: truncated to that size; -1 .. -3: random bytes at eight places, that seed
        for (const QString &name : {u"master"_s, u"Defination_DB"_s, u"FIRMA"_s}) {
            const qint64 size = QFileInfo(QDir(m_instance.path()).filePath(name + u".sqlite"_s)).size();
            for (const qint64 damage : std::initializer_list<qint64>{0, 100, 1024, size / 2, size - 1, -1, -2, -3})
                QTest::addRow("%s %lld", qPrintable(name), damage) << name << damage;
        }
    }
    // A message and an exit code, or (damage no read meets) the report; never a crash or a hang, no file changed.
    void damagedDatabase()
    {
        QFETCH(QString, file);
        QFETCH(qint64, damage);
        QTemporaryDir copy;
        for (const QString &name : QDir(m_instance.path()).entryList(QDir::Files))
            QVERIFY(QFile::copy(QDir(m_instance.path()).filePath(name), copy.filePath(name)));
        QFile damaged(copy.filePath(file + u".sqlite"_s));
        QVERIFY(damaged.open(QIODevice::ReadWrite));
        QVERIFY(damaged.resize(damage >= 0 ? damage : damaged.size()));
        QRandomGenerator random(quint32(-damage));
        for (int i = 0; damage < 0 && i < 8; ++i) {
            const quint64 bytes[2] = {random.generate64(), random.generate64()};
            QVERIFY(damaged.seek(random.bounded(damaged.size() - 16)));
            QCOMPARE(damaged.write(reinterpret_cast<const char *>(bytes), 16), 16);
        }
        damaged.close();
        const QByteArray before = test::directoryDigest(copy.path());
        const test::ZelvanRun run = test::runZelvan({u"--json"_s, u"--"_s, u"FIRMA|%1|7|zelvan|parola"_s.arg(copy.path())},
                                                    test::runEnvironment(m_registry), 60000);
        QVERIFY2(QList<int>({0, 3, 4, 8}).contains(run.exitCode), run.err.constData());
        QCOMPARE(QJsonDocument::fromJson(run.out).object().contains(u"values"_s), run.exitCode == 0);
        QVERIFY(run.exitCode == 0 || !run.messages.isEmpty());  // a failure says why
        QCOMPARE(test::directoryDigest(copy.path()), before);
    }

    // A writer killed at any moment leaves the file before or after its write, whole; two writing at once, a hundred
    // values each, lose none. No other value is lost either.
    void registryWriters()
    {
        QTemporaryDir dir;
        const QString registry = dir.filePath(u"registry.reg"_s);
        QVERIFY(test::writeFile(registry, u"REGEDIT4\n\n[HKEY_CURRENT_USER\\DEF_NORVENT]\n\"DEF_KUL\"=\"Şükrü\"\n"_s.toUtf8()));
        platform::RegistryTree tree;
        const auto value = [&tree](const QString &path, const QString &name) {
            const platform::RegistryKeyData *key = tree.key(path);
            return key && key->value(name) ? key->value(name)->text : QString();
        };
        QRandomGenerator random(2026);
        QProcess writer, other;
        for (int round = 0; round < 40; ++round) {
            writer.start(QCoreApplication::applicationFilePath(), {u"--registry-writer"_s, registry, u"1"_s, u"0"_s});
            QVERIFY(writer.waitForReadyRead(60000));  // the first write has finished
            QThread::usleep(random.bounded(30000));
            writer.kill();
            QVERIFY(writer.waitForFinished(60000));
            tree = platform::parseRegistryFile(test::readFile(registry));
            QCOMPARE(value(u"DEF_NORVENT"_s, u"DEF_KUL"_s), u"Şükrü"_s);
            const QString big = value(u"Software\\Zelvan\\Test"_s, u"Big"_s);
            QCOMPARE(big, QString::fromLatin1(bigValue(big.left(8).toInt())));
        }
        writer.start(QCoreApplication::applicationFilePath(), {u"--registry-writer"_s, registry, u"0"_s, u"100"_s});
        other.start(QCoreApplication::applicationFilePath(), {u"--registry-writer"_s, registry, u"100"_s, u"100"_s});
        for (QProcess *both : {&writer, &other}) {
            QVERIFY(both->waitForFinished(120000));
            QCOMPARE(both->exitStatus(), QProcess::NormalExit);
            QCOMPARE(both->exitCode(), 0);
        }
        tree = platform::parseRegistryFile(test::readFile(registry));
        for (int i = 0; i < 200; ++i)
            QCOMPARE(value(u"Software\\Zelvan\\Test"_s, QString::number(i)), u"x"_s);
        QCOMPARE(value(u"DEF_NORVENT"_s, u"DEF_KUL"_s), u"Şükrü"_s);
    }

    // A full disk (files may grow only to 8 KiB: EFBIG) gives a message, exit code 9, and no half file at the
    // target, whose older bytes stay.
    void fullDisk()
    {
        QTemporaryDir folder;
        const QString pdf = folder.filePath(u"rapor.pdf"_s);
        const QByteArray previous = "%PDF-1.4 an older report\n";
        QVERIFY(test::writeFile(pdf, previous));
        const auto run = test::runZelvan({u"--pdf"_s, pdf, u"--"_s, u"FIRMA|%1|7|zelvan|parola"_s.arg(m_instance.path())},
                                         test::runEnvironment(m_registry), 120000, [] {
            const rlimit limit{8192, 8192};
            if (std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR)
                setrlimit(RLIMIT_FSIZE, &limit);
        });
        QVERIFY2(run.exitCode == 9, run.err.constData());
        QCOMPARE(run.messages.size(), 1);
        QCOMPARE(run.messages[0].value(u"icon"_s).toString(), u"critical"_s);
        QVERIFY2(run.messageTexts()[0].startsWith(u"PDF dosyası yazılamadı: "_s + pdf), qPrintable(run.messageTexts()[0]));
        QCOMPARE(test::readFile(pdf), previous);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
};

// Runs as a registry writer when asked to: writes under one key, as programs that remember settings at the same
// moment would; given a count, the values FIRST .. FIRST + COUNT - 1 once each, else "Big" again and again until killed.
// Says "ready" after the first write.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 5 || qstrcmp(argv[1], "--registry-writer") != 0) {
        TestFaults test;
        return QTest::qExec(&test, argc, argv);
    }
    const int first = QByteArray(argv[3]).toInt(), count = QByteArray(argv[4]).toInt();
    platform::RegistryFileStore registry(QString::fromLocal8Bit(argv[2]));
    platform::Registry::Key key = 0;
    bool written = registry.createKey(platform::Registry::CurrentUser, "Software\\Zelvan\\Test", &key) == platform::Registry::Success;
    for (int i = first; written && (count == 0 || i < first + count); ++i) {
        written = registry.setValue(key, count == 0 ? "Big" : QByteArray::number(i), platform::Registry::TypeString,
                                    (count == 0 ? bigValue(i) : "x") + '\0') == platform::Registry::Success;
        if (i == first) {
            std::fputs("ready\n", stdout);
            std::fflush(stdout);
        }
    }
    return written ? 0 : 1;
}

#include "tst_faults.moc"
