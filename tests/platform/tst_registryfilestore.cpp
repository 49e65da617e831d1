#include "platform/registryfilestore.h"
#include "runtime/codepage1254.h"
#include "support/zelvanrun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan;
using namespace zelvan::platform;
using zelvan::test::readFile;

// Written as the store writes it, so that a rewrite can be compared whole.
static const QByteArray Sample = QByteArrayList{
    "REGEDIT4", "", R"([HKEY_CURRENT_USER\Control Panel\International])", R"("sDecimal"=",")", R"("iCountry"=dword:0000005a)",
    R"("Empty"=hex(1):)", R"("Kullanıcı"="Çağrı")", "", R"([HKEY_CURRENT_USER\Şirket Ayarları])", "",
    R"([HKEY_LOCAL_MACHINE\Software\Other])", R"("kept"="as it was")", ""}.join('\n');

class TestRegistryFileStore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(u"registry.reg"_s);  // holds the sample; only the last test writes it
    RegistryFileStore m_registry{m_path};

private slots:
    void initTestCase()
    {
        QVERIFY(zelvan::test::writeFile(m_path, Sample));
    }

    // The test runs in a process of its own: what it sets in the environment is left.
    void defaultPath()
    {
        qputenv("ZELVAN_REGISTRY", "");
        qputenv("XDG_CONFIG_HOME", "/xdg/config");
        qputenv("HOME", "/home/muhasebe");
        QCOMPARE(RegistryFileStore().path(), u"/xdg/config/zelvan/registry.reg"_s);
        qputenv("XDG_CONFIG_HOME", "relative/ignored");
        QCOMPARE(RegistryFileStore::defaultPath(), u"/home/muhasebe/.config/zelvan/registry.reg"_s);
    }

    void openKey_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<long>("result");
        QTest::newRow("dotless I in capitals") << u"ŞIRKET AYARLARI"_s << Registry::Success;
        QTest::newRow("dotted capital İ differs") << u"ŞİRKET AYARLARI"_s << Registry::FileNotFound;
    }
    void openKey()
    {
        QFETCH(QString, path);
        Registry::Key key = 0;
        QTEST(m_registry.openKey(Registry::CurrentUser, runtime::toCp1254(path), &key), "result");
        QFETCH(long, result);
        QCOMPARE(key != 0, result == Registry::Success);
    }

    // A missing file is an empty registry; reading it creates nothing. Creating a key that exists adds
    // nothing. Values are read back by the end-to-end runs (tst_badinput).
    void createKey()
    {
        const QString path = m_dir.filePath(u"config/zelvan/registry.reg"_s);
        RegistryFileStore registry(path);
        Registry::Key key = 0;
        Registry::Key same = 0;
        QCOMPARE(registry.openKey(Registry::CurrentUser, "DEF_NORVENT", &key), Registry::FileNotFound);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(registry.createKey(Registry::CurrentUser, "DEF_NORVENT", &key), Registry::Success);
        const QByteArray created = "REGEDIT4\n\n[HKEY_CURRENT_USER\\DEF_NORVENT]\n";
        QCOMPARE(readFile(path), created);
        QCOMPARE(registry.createKey(Registry::CurrentUser, "def_norvent", &same), Registry::Success);
        QCOMPARE(readFile(path), created);
    }

    // One value replaced under its first spelling, one added in UTF-8; the rest as it was, and replaced whole: no
    // temporary file or lock is left beside it.
    void write()
    {
        RegistryFileStore &registry = m_registry;
        Registry::Key intl = 0;
        QCOMPARE(registry.openKey(Registry::CurrentUser, "Control Panel\\International", &intl), Registry::Success);
        QCOMPARE(registry.setValue(intl, "SDECIMAL", Registry::TypeString, QByteArray(".\0", 2)), Registry::Success);
        const QByteArray title = runtime::toCp1254(u"Müdür") + '\0';
        QCOMPARE(registry.setValue(intl, runtime::toCp1254(u"Ünvan"), Registry::TypeString, title), Registry::Success);
        QByteArray expected = Sample;
        expected.replace("\"sDecimal\"=\",\"", "\"sDecimal\"=\".\"");
        expected.replace("\n\n[HKEY_CURRENT_USER\\\xC5\x9E", u"\n\"Ünvan\"=\"Müdür\"\n\n[HKEY_CURRENT_USER\\Ş"_s.toUtf8());
        QCOMPARE(readFile(m_path), expected);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{u"registry.reg"_s});
    }

    // A lock that a live process holds is waited for about two seconds; then the change fails and the file stays
    // as it was.
    void lockHeld()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"registry.reg"_s);
        QVERIFY(zelvan::test::writeFile(path, Sample));
        QLockFile holder(path + u".lock"_s);
        QVERIFY(holder.tryLock(0));
        RegistryFileStore registry(path);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(registry.setValue(Registry::CurrentUser, "a", Registry::TypeString, QByteArray("b", 2)), RegistryFileStore::SharingViolation);
        QCOMPARE_LT(timer.elapsed(), 4000);
        QCOMPARE(readFile(path), Sample);
    }

    // A lock file that still names no holder after the wait was left by a writer that died making it: taken over.
    void namelessLock()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"registry.reg"_s);
        QVERIFY(zelvan::test::writeFile(path + u".lock"_s, QByteArray()));
        RegistryFileStore registry(path);
        QCOMPARE(registry.setValue(Registry::CurrentUser, "a", Registry::TypeString, QByteArray("b", 2)), Registry::Success);
        QCOMPARE(readFile(path), "REGEDIT4\n\n[HKEY_CURRENT_USER]\n\"a\"=\"b\"\n");
    }
};

QTEST_GUILESS_MAIN(TestRegistryFileStore)
#include "tst_registryfilestore.moc"
