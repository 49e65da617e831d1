#include "platform/codepage1254.h"
#include "platform/fileregistry.h"
#include "platform/registryfile.h"
#include "support/zelvanrun.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using zelvan::platform::FileRegistry;
using zelvan::platform::Registry;
using zelvan::platform::toCp1254;
using zelvan::test::readFile;
using zelvan::test::writeFile;

namespace {

const QByteArray International = "Control Panel\\International";

// Written as the store writes it, so that a rewrite can be compared whole.
const QByteArray Sample = uR"(REGEDIT4

[HKEY_CURRENT_USER\Control Panel\International]
"sDecimal"=","
"iCountry"=dword:0000005a
"Empty"=hex(1):
"Kullanıcı"="Çağrı"

[HKEY_CURRENT_USER\Şirket Ayarları]

[HKEY_LOCAL_MACHINE\Software\Other]
"kept"="as it was"
)"_s.toUtf8();

} // namespace

class TestFileRegistry : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void defaultPath();
    void openKey_data();
    void openKey();
    void queryValue_data();
    void queryValue();
    void createKey();
    void writeKeepsEverythingElse();
    void changesOfAnotherWriterAreSeen();
    void errors();
    void concurrentWriters();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;  // holds the sample
    std::unique_ptr<FileRegistry> m_registry;
    Registry::Key m_international = 0;
};

void TestFileRegistry::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_path = m_dir->filePath(u"registry.reg"_s);
    QVERIFY(writeFile(m_path, Sample));
    m_registry = std::make_unique<FileRegistry>(m_path);
    QCOMPARE(m_registry->openKey(Registry::CurrentUser, International, &m_international), Registry::Success);
}

void TestFileRegistry::defaultPath()
{
    const QByteArray saved[] = {qgetenv("ZELVAN_REGISTRY"), qgetenv("XDG_CONFIG_HOME"), qgetenv("HOME")};
    const auto restore = qScopeGuard([&saved] {
        qputenv("ZELVAN_REGISTRY", saved[0]);
        qputenv("XDG_CONFIG_HOME", saved[1]);
        qputenv("HOME", saved[2]);
    });
    qputenv("ZELVAN_REGISTRY", "/own/registry.reg");
    qputenv("XDG_CONFIG_HOME", "/xdg/config");
    qputenv("HOME", "/home/muhasebe");
    QCOMPARE(FileRegistry().path(), u"/own/registry.reg"_s);
    qputenv("ZELVAN_REGISTRY", "");
    QCOMPARE(FileRegistry::defaultPath(), u"/xdg/config/zelvan/registry.reg"_s);
    qputenv("XDG_CONFIG_HOME", "relative/ignored");
    QCOMPARE(FileRegistry::defaultPath(), u"/home/muhasebe/.config/zelvan/registry.reg"_s);
    qunsetenv("XDG_CONFIG_HOME");
    QCOMPARE(FileRegistry::defaultPath(), u"/home/muhasebe/.config/zelvan/registry.reg"_s);
}

void TestFileRegistry::openKey_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<long>("result");

    QTest::newRow("other letter case") << u"CONTROL PANEL\\international"_s << Registry::Success;
    QTest::newRow("parent of a written key") << u"Control Panel"_s << Registry::Success;
    QTest::newRow("prefix of a name") << u"Control Pan"_s << Registry::FileNotFound;
    QTest::newRow("child") << u"Control Panel\\International\\More"_s << Registry::FileNotFound;
    QTest::newRow("dotless I in capitals") << u"ŞIRKET AYARLARI"_s << Registry::Success;
    QTest::newRow("dotted i in small letters") << u"şirket ayarlari"_s << Registry::Success;
    QTest::newRow("dotted capital İ differs") << u"ŞİRKET AYARLARI"_s << Registry::FileNotFound;
    QTest::newRow("only under another root") << u"Software\\Other"_s << Registry::FileNotFound;
    QTest::newRow("leading backslash") << u"\\Control Panel"_s << FileRegistry::BadPathname;
    QTest::newRow("doubled backslash") << u"Control Panel\\\\International"_s << FileRegistry::BadPathname;
    QTest::newRow("trailing backslash") << u"Control Panel\\"_s << FileRegistry::BadPathname;
    QTest::newRow("line break") << u"Control\nPanel"_s << FileRegistry::BadPathname;
}

void TestFileRegistry::openKey()
{
    QFETCH(QString, path);
    QFETCH(long, result);
    Registry::Key key = 0;
    QCOMPARE(m_registry->openKey(Registry::CurrentUser, toCp1254(path), &key), result);
    QCOMPARE(key != 0, result == Registry::Success);
}

void TestFileRegistry::queryValue_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("bufferSize");  // -1: no buffer, only the type and size
    QTest::addColumn<long>("result");
    QTest::addColumn<quint32>("type");
    QTest::addColumn<quint32>("size");
    QTest::addColumn<QByteArray>("data");

    const auto success = Registry::Success;
    QTest::newRow("text: size only") << u"sDecimal"_s << -1 << success << 1u << 2u << QByteArray();
    QTest::newRow("text: larger buffer") << u"SDECIMAL"_s << 10 << success << 1u << 2u << QByteArray(",\0", 2);
    QTest::newRow("text: buffer too small") << u"sDecimal"_s << 1 << Registry::MoreData << 1u << 2u << QByteArray();
    QTest::newRow("text in 1254") << u"KULLANICI"_s << 6 << success << 1u << 6u << toCp1254(u"Çağrı") + '\0';
    QTest::newRow("dword, exact buffer") << u"iCountry"_s << 4 << success << 4u << 4u << QByteArray("\x5a\0\0\0", 4);
    QTest::newRow("text of size 0") << u"Empty"_s << -1 << success << 1u << 0u << QByteArray();
    QTest::newRow("missing value") << u"sThousand"_s << -1 << Registry::FileNotFound << 0u << 0u << QByteArray();
}

void TestFileRegistry::queryValue()
{
    QFETCH(QString, name);
    QFETCH(int, bufferSize);
    QFETCH(long, result);
    QFETCH(quint32, size);
    QByteArray buffer(qMax(bufferSize, 0), '#');
    quint32 gotType = 0;
    quint32 gotSize = quint32(buffer.size());
    const long rc = m_registry->queryValue(m_international, toCp1254(name), &gotType,
                                           bufferSize < 0 ? nullptr : buffer.data(), &gotSize);
    QCOMPARE(rc, result);
    QTEST(gotType, "type");
    QCOMPARE(gotSize, size);
    if (result == Registry::Success && bufferSize >= 0) {
        QTEST(buffer.first(size), "data");
        QCOMPARE(buffer.sliced(size), QByteArray(bufferSize - qsizetype(size), '#'));  // nothing written past the data
    }
}

void TestFileRegistry::createKey()
{
    // A missing file is an empty registry; reading it creates nothing.
    const QString path = m_dir->filePath(u"config/zelvan/registry.reg"_s);
    FileRegistry registry(path);
    Registry::Key key = 0;
    QCOMPARE(registry.openKey(Registry::CurrentUser, "DEF_NORVENT", &key), Registry::FileNotFound);
    QVERIFY(!QFile::exists(path));

    QCOMPARE(registry.createKey(Registry::CurrentUser, "DEF_NORVENT", &key), Registry::Success);
    const QByteArray created = "REGEDIT4\n\n[HKEY_CURRENT_USER\\DEF_NORVENT]\n";
    QCOMPARE(readFile(path), created);

    // Creating a key that exists leaves the file alone.
    const QDateTime old(QDate(2001, 1, 1), QTime(0, 0));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(old, QFileDevice::FileModificationTime));
    file.close();
    Registry::Key same = 0;
    QCOMPARE(registry.createKey(Registry::CurrentUser, "def_norvent", &same), Registry::Success);
    QCOMPARE(file.fileTime(QFileDevice::FileModificationTime), old);

    // Below an open key; an empty name opens the key itself.
    Registry::Key child = 0;
    QCOMPARE(registry.createKey(key, "Suite\\Settings", &child), Registry::Success);
    QCOMPARE(registry.setValue(child, "v", Registry::TypeDword, QByteArray("\1\0\0\0", 4)), Registry::Success);
    QCOMPARE(readFile(path), created + "\n[HKEY_CURRENT_USER\\DEF_NORVENT\\Suite\\Settings]\n\"v\"=dword:00000001\n");
    QCOMPARE(registry.openKey(key, "", &same), Registry::Success);
    QCOMPARE(same, key);
}

void TestFileRegistry::writeKeepsEverythingElse()
{
    const QByteArray name = toCp1254(u"Ünvan");
    QCOMPARE(m_registry->setValue(m_international, "SDECIMAL", Registry::TypeString, QByteArray(".\0", 2)), Registry::Success);
    QCOMPARE(m_registry->setValue(m_international, name, Registry::TypeString, toCp1254(u"Müdür") + '\0'),
             Registry::Success);

    // One value replaced under its first spelling, one added in UTF-8; the rest as it was.
    QByteArray expected = Sample;
    expected.replace("\"sDecimal\"=\",\"", "\"sDecimal\"=\".\"");
    expected.replace("\n\n[HKEY_CURRENT_USER\\\xC5\x9E", u"\n\"Ünvan\"=\"Müdür\"\n\n[HKEY_CURRENT_USER\\Ş"_s.toUtf8());
    QCOMPARE(readFile(m_path), expected);
    // Replaced whole: no temporary file or lock is left beside it.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{u"registry.reg"_s});
}

void TestFileRegistry::changesOfAnotherWriterAreSeen()
{
    FileRegistry reader(m_path);
    FileRegistry writer(m_path);
    Registry::Key read = 0;
    Registry::Key written = 0;
    QCOMPARE(writer.createKey(Registry::CurrentUser, "K", &written), Registry::Success);
    QCOMPARE(reader.openKey(Registry::CurrentUser, "K", &read), Registry::Success);
    for (const QByteArray &text : {QByteArray("ali\0", 4), QByteArray("veli\0", 5)}) {
        QCOMPARE(writer.setValue(written, "v", Registry::TypeString, text), Registry::Success);
        quint32 size = 0;
        QCOMPARE(reader.queryValue(read, "v", nullptr, nullptr, &size), Registry::Success);
        QCOMPARE(size, quint32(text.size()));
    }
    QVERIFY(QFile::remove(m_path));
    quint32 size = 0;
    QCOMPARE(reader.queryValue(read, "v", nullptr, nullptr, &size), Registry::FileNotFound);
}

void TestFileRegistry::errors()
{
    FileRegistry &registry = *m_registry;
    Registry::Key first = 0;
    const Registry::Key second = m_international;
    QCOMPARE(registry.openKey(Registry::CurrentUser, International, &first), Registry::Success);
    QVERIFY(first != second && first != Registry::CurrentUser);
    QCOMPARE(registry.closeKey(first), Registry::Success);
    QCOMPARE(registry.closeKey(first), FileRegistry::InvalidHandle);
    quint32 size = 0;
    QCOMPARE(registry.setValue(first, "sDecimal", Registry::TypeString, ","), FileRegistry::InvalidHandle);
    QCOMPARE(registry.queryValue(second, "sDecimal", nullptr, nullptr, &size), Registry::Success);
    char buffer[4];
    QCOMPARE(registry.queryValue(second, "sDecimal", nullptr, buffer, nullptr), FileRegistry::InvalidParameter);
    QCOMPARE(registry.openKey(Registry::CurrentUser, International, nullptr), FileRegistry::InvalidParameter);
    QCOMPARE(registry.setValue(second, "two\nlines", Registry::TypeString, "x"), FileRegistry::InvalidParameter);

    // A file where the registry's folder should be: nothing can be written or read.
    FileRegistry blocked(m_dir->filePath(u"registry.reg/zelvan.reg"_s));
    QVERIFY(blocked.createKey(Registry::CurrentUser, "K", &first) != Registry::Success);
    QVERIFY(blocked.setValue(Registry::CurrentUser, "v", Registry::TypeString, QByteArray("a\0", 2)) != Registry::Success);
    QVERIFY(blocked.queryValue(Registry::CurrentUser, "sDecimal", nullptr, nullptr, &size) != Registry::Success);
    QCOMPARE(readFile(m_path), Sample);
}

void TestFileRegistry::concurrentWriters()
{
    constexpr int Writers = 4;
    constexpr int Values = 25;
    std::atomic<int> failures = 0;
    std::vector<std::thread> threads;
    for (int w = 0; w < Writers; ++w) {
        threads.emplace_back([this, w, &failures] {
            FileRegistry registry(m_path);
            for (int i = w * Values; i < (w + 1) * Values; ++i)
                failures += registry.setValue(Registry::CurrentUser, QByteArray::number(i), Registry::TypeString, "x");
        });
    }
    for (auto &thread : threads)
        thread.join();
    QCOMPARE(failures.load(), 0);

    // No write is lost, and nothing else is.
    const auto tree = zelvan::platform::parseRegistryFile(readFile(m_path));
    QCOMPARE(tree.key(u"")->values().size(), Writers * Values);
    QCOMPARE(tree.key(u"Control Panel\\International")->values().size(), 4);
    QCOMPARE(tree.keys().size(), 3);
    QCOMPARE(tree.otherRoots.size(), 1);
}

QTEST_GUILESS_MAIN(TestFileRegistry)
#include "tst_fileregistry.moc"
