#include "platform/fileregistry.h"
#include "platform/registryfile.h"
#include "support/testinstance.h"
#include "support/zelvanrun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;
using platform::Registry;

namespace {

// The big value a killed writer writes: its number, eight digits, repeated.
constexpr qsizetype BigValueSize = 512 * 1024;

QByteArray bigValue(int number)
{
    return QByteArray::number(number).rightJustified(8, '0').repeated(BigValueSize / 8);
}

// Writes the big value again and again until killed; says "ready" after the
// first write.
int runWriter(const QString &path)
{
    platform::FileRegistry registry(path);
    Registry::Key key = 0;
    if (registry.createKey(Registry::CurrentUser, "Software\\Zelvan\\Test", &key) != Registry::Success)
        return 1;
    for (int i = 1;; ++i) {
        if (registry.setValue(key, "Big", Registry::TypeString, bigValue(i) + '\0') != Registry::Success)
            return 1;
        if (i == 1) {
            std::fputs("ready\n", stdout);
            std::fflush(stdout);
        }
    }
}

// Kinds of damage done to a database file.
enum class Damage { Truncate, Overwrite, Replace, Folder };

void damage(const QString &path, Damage kind, qint64 parameter)
{
    QFile file(path);
    switch (kind) {
    case Damage::Truncate:
        QVERIFY(file.resize(parameter));
        break;
    case Damage::Overwrite: {
        // Sixteen random bytes at eight random places; the seed makes it repeatable.
        QRandomGenerator random{quint32(parameter)};
        QVERIFY(file.open(QIODevice::ReadWrite));
        const qint64 size = file.size();
        for (int i = 0; i < 8; ++i) {
            QVERIFY(file.seek(random.bounded(size - 16)));
            QByteArray bytes(16, '\0');
            for (char &b : bytes)
                b = char(random.bounded(256));
            QCOMPARE(file.write(bytes), 16);
        }
        break;
    }
    case Damage::Replace:
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("SQLite format 2\0 but not a database at all\n", 44);
        break;
    case Damage::Folder:
        QVERIFY(file.remove());
        QVERIFY(QDir().mkdir(path));
        break;
    }
}

void copyDirectory(const QString &from, const QString &to)
{
    const QDir source(from);
    for (const QString &name : source.entryList(QDir::Files))
        QVERIFY(QFile::copy(source.filePath(name), QDir(to).filePath(name)));
}

// A display number that no X server of this machine answers.
QString absentDisplay()
{
    for (int n = 90; n < 1000; ++n) {
        if (!QFile::exists(u"/tmp/.X11-unix/X%1"_s.arg(n)) && !QFile::exists(u"/tmp/.X%1-lock"_s.arg(n)))
            return u":%1"_s.arg(n);
    }
    return u":999"_s;
}

} // namespace

Q_DECLARE_METATYPE(Damage)

class TestFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void damagedDatabase_data();
    void damagedDatabase();
    void registryWriterKilled();
    void headlessWithoutDisplay_data();
    void headlessWithoutDisplay();
    void diskFullWritingPdf_data();
    void diskFullWritingPdf();
    void instanceUnchangedByAllRuns();

private:
    QString launchLine(const QString &instance) const { return u"FIRMA|%1|7|zelvan|parola"_s.arg(instance); }

    test::TestInstance m_instance;
    QByteArray m_digest;
    QTemporaryDir m_work;
    QString m_registry;
};

void TestFaults::initTestCase()
{
    QVERIFY(QFile::exists(test::binaryPath(u"zelvan"_s)));
    test::addStandardDatabases(m_instance);
    // Enough rows that every company table spans several pages.
    QStringList rows{u"BEGIN"_s};
    for (int i = 1; i <= 400; ++i) {
        rows << u"INSERT INTO CEKKART VALUES (%1, %2.25, %3.5, 'Portföyde')"_s.arg(i).arg(i * 3).arg(i * 7)
             << u"INSERT INTO CB VALUES (%1, %2.75)"_s.arg(i).arg(i % 2 ? i * 11 : -i * 13)
             << u"INSERT INTO STOKKART VALUES (%1, 'Ürün %1')"_s.arg(i)
             << u"INSERT INTO SB VALUES (%1, %2)"_s.arg(i).arg(i % 5)
             << u"INSERT INTO STOKHAREKET VALUES (%1, %2, '2026-03-0%3 00:00:00', %4, 0, %5.5)"_s.arg(i).arg(i).arg(1 + i % 9).arg(
                    5 + i % 3).arg(i);
    }
    m_instance.run(u"FIRMA"_s, rows << u"COMMIT"_s);
    m_digest = m_instance.digest();
    m_registry = m_work.filePath(u"registry.reg"_s);
    test::writeRegistry(m_registry);
    const test::ZelvanRun run = test::runZelvan({u"--json"_s, u"--"_s, launchLine(m_instance.path())},
                                                test::runEnvironment(m_registry));
    QCOMPARE(run.exitCode, 0);
}

void TestFaults::damagedDatabase_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<Damage>("kind");
    QTest::addColumn<qint64>("parameter");

    for (const QString &name : {u"master"_s, u"Defination_DB"_s, u"FIRMA"_s}) {
        const qint64 size = QFileInfo(QDir(m_instance.path()).filePath(name + u".sqlite"_s)).size();
        for (const qint64 length : {qint64(0), qint64(50), qint64(100), qint64(1024), size / 2, size - 1})
            QTest::addRow("%s truncated to %lld", qPrintable(name), length) << name << Damage::Truncate << length;
        for (const qint64 seed : {1, 2, 3, 4, 5})
            QTest::addRow("%s overwritten, seed %lld", qPrintable(name), seed) << name << Damage::Overwrite << seed;
        QTest::addRow("%s not a database", qPrintable(name)) << name << Damage::Replace << qint64(0);
        QTest::addRow("%s a folder", qPrintable(name)) << name << Damage::Folder << qint64(0);
    }
}

// A damaged file gives a message and an exit code, or (damage that no read
// meets) the report; never a crash or a hang, and no file is changed.
void TestFaults::damagedDatabase()
{
    QFETCH(QString, file);
    QFETCH(Damage, kind);
    QFETCH(qint64, parameter);

    QTemporaryDir copy;
    copyDirectory(m_instance.path(), copy.path());
    damage(QDir(copy.path()).filePath(file + u".sqlite"_s), kind, parameter);
    if (QTest::currentTestFailed())
        return;
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

// A writer killed at any moment leaves the file before or after its write,
// whole, with every other value.
void TestFaults::registryWriterKilled()
{
    QTemporaryDir dir;
    const QString registry = dir.filePath(u"registry.reg"_s);
    QVERIFY(test::writeFile(registry, u"REGEDIT4\n\n[HKEY_CURRENT_USER\\DEF_NORVENT]\n\"DEF_KUL\"=\"Şükrü\"\n"_s.toUtf8()));
    QRandomGenerator random(2026);
    for (int round = 0; round < 40; ++round) {
        QProcess writer;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"ZELVAN_TEST_REGISTRY_WRITER"_s, registry);
        writer.setProcessEnvironment(environment);
        writer.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY(writer.waitForReadyRead(60000));
        QThread::usleep(random.bounded(30000));
        writer.kill();
        QVERIFY(writer.waitForFinished(60000));

        const platform::RegistryTree tree = platform::parseRegistryFile(test::readFile(registry));
        QVERIFY(tree.key(u"DEF_NORVENT") && tree.key(u"DEF_NORVENT")->value(u"DEF_KUL"));
        QCOMPARE(tree.key(u"DEF_NORVENT")->value(u"DEF_KUL")->text, u"Şükrü"_s);
        const platform::RegistryKeyData *key = tree.key(u"Software\\Zelvan\\Test");
        QVERIFY2(key && key->value(u"Big"), "the first write had finished");
        const QString value = key->value(u"Big")->text;
        QCOMPARE(value.size(), BigValueSize);
        QCOMPARE(value, QString::fromLatin1(bigValue(value.left(8).toInt())));
    }
}

void TestFaults::headlessWithoutDisplay_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::newRow("json") << QStringList{u"--json"_s};
    QTest::newRow("pdf") << QStringList{u"--pdf"_s, m_work.filePath(u"ekransiz.pdf"_s)};
    QTest::newRow("png") << QStringList{u"--png"_s, m_work.filePath(u"ekransiz.png"_s)};
}

// A display that is gone is never needed by a run that writes its output.
void TestFaults::headlessWithoutDisplay()
{
    QFETCH(QStringList, options);
    QProcessEnvironment environment = test::runEnvironment(m_registry);
    environment.insert(u"DISPLAY"_s, absentDisplay());
    environment.remove(u"QT_QPA_PLATFORM"_s);
    const test::ZelvanRun run = test::runZelvan(options + QStringList{u"--"_s, launchLine(m_instance.path())}, environment);
    QVERIFY2(!run.crashed, run.err.constData());
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.messages.isEmpty());
    if (options[0] == u"--json")
        QVERIFY(run.out.startsWith("{\"title\":\"ZELVAN RAPORU\""));
    else
        QVERIFY(QFileInfo(options[1]).size() > 1000);
}

void TestFaults::diskFullWritingPdf_data()
{
    QTest::addColumn<QByteArray>("previous");  // the target's bytes before the run; empty: no file
    QTest::newRow("new file") << QByteArray();
    QTest::newRow("older file kept") << QByteArray("%PDF-1.4 an older report\n");
}

// Files may grow only to 8 KiB, so that writing the PDF fails as on a full
// disk (EFBIG): a message, exit code 9, and no half file at the target.
void TestFaults::diskFullWritingPdf()
{
    QFETCH(QByteArray, previous);
    QTemporaryDir folder;
    const QString pdf = folder.filePath(u"rapor.pdf"_s);
    if (!previous.isEmpty())
        QVERIFY(test::writeFile(pdf, previous));

    const test::ZelvanRun run = test::runZelvan(
        {u"--pdf"_s, pdf, u"--"_s, launchLine(m_instance.path())}, test::runEnvironment(m_registry), 120000, [] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{8192, 8192};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    QVERIFY2(!run.crashed, run.err.constData());
    QCOMPARE(run.exitCode, 9);
    QCOMPARE(run.messages.size(), 1);
    QCOMPARE(run.messages[0].value(u"icon"_s).toString(), u"critical"_s);
    QVERIFY2(run.messageTexts()[0].startsWith(u"PDF dosyası yazılamadı: "_s + pdf), qPrintable(run.messageTexts()[0]));
    QCOMPARE(test::readFile(pdf), previous);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), previous.isEmpty() ? 0 : 1);
}

void TestFaults::instanceUnchangedByAllRuns()
{
    QCOMPARE(m_instance.digest(), m_digest);
}

// Run as a registry writer when ZELVAN_TEST_REGISTRY_WRITER names the file.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString writerFile = qEnvironmentVariable("ZELVAN_TEST_REGISTRY_WRITER");
    if (!writerFile.isEmpty())
        return runWriter(writerFile);
    TestFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faults.moc"
