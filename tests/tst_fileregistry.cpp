#include "platform/codepage1254.h"
#include "platform/fileregistry.h"
#include "platform/registryfile.h"
#include "support/zelvanrun.h"

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using zelvan::platform::FileRegistry;
using zelvan::platform::Registry;
using zelvan::platform::toCp1254;
using zelvan::test::readFile;

namespace {

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

    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(u"registry.reg"_s);  // holds the sample; only the last test writes it
    FileRegistry m_registry{m_path};
    Registry::Key m_international = 0;

private slots:
    void initTestCase()
    {
        QVERIFY(zelvan::test::writeFile(m_path, Sample));
        QCOMPARE(m_registry.openKey(Registry::CurrentUser, "Control Panel\\International", &m_international), Registry::Success);
    }

    void defaultPath()
    {
        const QByteArray saved[] = {qgetenv("ZELVAN_REGISTRY"), qgetenv("XDG_CONFIG_HOME"), qgetenv("HOME")};
        const auto restore = qScopeGuard([&] {
            qputenv("ZELVAN_REGISTRY", saved[0]), qputenv("XDG_CONFIG_HOME", saved[1]), qputenv("HOME", saved[2]);
        });
        qputenv("ZELVAN_REGISTRY", "/own/registry.reg"), qputenv("XDG_CONFIG_HOME", "/xdg/config"), qputenv("HOME", "/home/muhasebe");
        QCOMPARE(FileRegistry().path(), u"/own/registry.reg"_s);
        qputenv("ZELVAN_REGISTRY", "");
        QCOMPARE(FileRegistry::defaultPath(), u"/xdg/config/zelvan/registry.reg"_s);
        qputenv("XDG_CONFIG_HOME", "relative/ignored");
        QCOMPARE(FileRegistry::defaultPath(), u"/home/muhasebe/.config/zelvan/registry.reg"_s);
    }

    // A key path, then (when a name is given) a value of it; bufferSize -1: only the type and size.
    void read_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("bufferSize");
        QTest::addColumn<long>("result");
        QTest::addColumn<quint32>("type");
        QTest::addColumn<quint32>("size");
        QTest::addColumn<QByteArray>("data");
        const QString intl = u"Control Panel\\International"_s, none;
        const auto key = [&none](const char *row, const QString &path, long result) {
            QTest::newRow(row) << path << none << -1 << result << 0u << 0u << QByteArray();
        };
        key("other letter case", u"CONTROL PANEL\\international"_s, Registry::Success);
        key("prefix of a name", u"Control Pan"_s, Registry::FileNotFound);
        key("dotless I in capitals", u"ŞIRKET AYARLARI"_s, Registry::Success);
        key("dotted capital İ differs", u"ŞİRKET AYARLARI"_s, Registry::FileNotFound);
        key("only under another root", u"Software\\Other"_s, Registry::FileNotFound);
        key("doubled backslash", u"Control Panel\\\\International"_s, FileRegistry::BadPathname);
        const long ok = Registry::Success;
        QTest::newRow("text: larger buffer") << intl << u"SDECIMAL"_s << 10 << ok << 1u << 2u << QByteArray(",\0", 2);
        QTest::newRow("text: buffer too small") << intl << u"sDecimal"_s << 1 << Registry::MoreData << 1u << 2u << QByteArray();
        QTest::newRow("text in 1254") << intl << u"KULLANICI"_s << 6 << ok << 1u << 6u << toCp1254(u"Çağrı") + '\0';
        QTest::newRow("dword") << intl << u"iCountry"_s << 4 << ok << 4u << 4u << QByteArray("\x5a\0\0\0", 4);
        QTest::newRow("text of size 0") << intl << u"Empty"_s << -1 << ok << 1u << 0u << QByteArray();
        QTest::newRow("missing value") << intl << u"sThousand"_s << -1 << Registry::FileNotFound << 0u << 0u << QByteArray();
    }
    void read()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QFETCH(int, bufferSize);
        QFETCH(long, result);
        QFETCH(quint32, size);
        Registry::Key key = 0;
        const long opened = m_registry.openKey(Registry::CurrentUser, toCp1254(path), &key);
        QCOMPARE(key != 0, opened == Registry::Success);
        if (name.isEmpty()) {
            QCOMPARE(opened, result);
            return;
        }
        QByteArray buffer(qMax(bufferSize, 0), '#');
        quint32 gotType = 0, gotSize = quint32(buffer.size());
        char *data = bufferSize < 0 ? nullptr : buffer.data();
        QCOMPARE(m_registry.queryValue(key, toCp1254(name), &gotType, data, &gotSize), result);
        QTEST(gotType, "type");
        QCOMPARE(gotSize, size);
        if (result == Registry::Success && bufferSize >= 0) {
            QTEST(buffer.first(size), "data");
            QCOMPARE(buffer.sliced(size), QByteArray(bufferSize - qsizetype(size), '#'));  // nothing past the data
        }
    }

    void createKey()
    {
        // A missing file is an empty registry; reading it creates nothing.
        const QString path = m_dir.filePath(u"config/zelvan/registry.reg"_s);
        FileRegistry registry(path);
        Registry::Key key = 0, same = 0, child = 0;
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
        QCOMPARE(registry.createKey(Registry::CurrentUser, "def_norvent", &same), Registry::Success);
        QCOMPARE(file.fileTime(QFileDevice::FileModificationTime), old);

        // Below an open key; an empty name opens the key itself.
        QCOMPARE(registry.createKey(key, "Suite\\Settings", &child), Registry::Success);
        QCOMPARE(registry.setValue(child, "v", Registry::TypeDword, QByteArray("\1\0\0\0", 4)), Registry::Success);
        QCOMPARE(readFile(path), created + "\n[HKEY_CURRENT_USER\\DEF_NORVENT\\Suite\\Settings]\n\"v\"=dword:00000001\n");
        QCOMPARE(registry.openKey(key, "", &same), Registry::Success);
        QCOMPARE(same, key);
    }

    // Failed calls write nothing. Then one value replaced under its first spelling, one added in UTF-8; the rest
    // as it was, and replaced whole: no temporary file or lock is left beside it.
    void write()
    {
        FileRegistry &registry = m_registry;
        Registry::Key closed = 0;
        char buffer[4];
        QCOMPARE(registry.openKey(Registry::CurrentUser, "Control Panel", &closed), Registry::Success);
        QVERIFY(closed != m_international && closed != Registry::CurrentUser);
        QCOMPARE(registry.closeKey(closed), Registry::Success);
        QCOMPARE(registry.closeKey(closed), FileRegistry::InvalidHandle);
        QCOMPARE(registry.setValue(closed, "sDecimal", Registry::TypeString, ","), FileRegistry::InvalidHandle);
        QCOMPARE(registry.queryValue(m_international, "sDecimal", nullptr, buffer, nullptr), FileRegistry::InvalidParameter);
        QCOMPARE(registry.openKey(Registry::CurrentUser, "Control Panel", nullptr), FileRegistry::InvalidParameter);
        QCOMPARE(registry.setValue(m_international, "two\nlines", Registry::TypeString, "x"), FileRegistry::InvalidParameter);
        QCOMPARE(readFile(m_path), Sample);  // a failed call writes nothing
        QCOMPARE(registry.setValue(m_international, "SDECIMAL", Registry::TypeString, QByteArray(".\0", 2)),
                 Registry::Success);
        QCOMPARE(registry.setValue(m_international, toCp1254(u"Ünvan"), Registry::TypeString, toCp1254(u"Müdür") + '\0'),
                 Registry::Success);
        QByteArray expected = Sample;
        expected.replace("\"sDecimal\"=\",\"", "\"sDecimal\"=\".\"");
        expected.replace("\n\n[HKEY_CURRENT_USER\\\xC5\x9E", u"\n\"Ünvan\"=\"Müdür\"\n\n[HKEY_CURRENT_USER\\Ş"_s.toUtf8());
        QCOMPARE(readFile(m_path), expected);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{u"registry.reg"_s});
    }
};

QTEST_GUILESS_MAIN(TestFileRegistry)
#include "tst_fileregistry.moc"
