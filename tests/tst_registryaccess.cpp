#include "platform/codepage1254.h"
#include "startup/program.h"
#include "startup/registryaccess.h"
#include "support/fakeservices.h"
#include "support/recordingregistry.h"

#include <QTest>

#include <cstring>

using namespace Qt::Literals::StringLiterals;
using zelvan::platform::FileRegistry;
using zelvan::platform::Registry;

namespace {

const QString Key = u"DEF_NORVENT"_s;

// Sizes a value truly, then finds it grown when it is read, leaving in the
// buffer what a failed read may leave.
class GrowingRegistry : public FileRegistry
{
public:
    using FileRegistry::FileRegistry;
    long queryValue(Key key, const QByteArray &name, quint32 *type, char *data, quint32 *size) override
    {
        if (!data)
            return FileRegistry::queryValue(key, name, type, data, size);
        std::memset(data, '7', *size);
        return MoreData;
    }
};

} // namespace

class TestRegistryAccess : public QObject
{
    Q_OBJECT

private slots:
    void readValue_data();
    void readValue();
    void writeThenRead_data();
    void writeThenRead();
    void failuresReadEmpty();
};

void TestRegistryAccess::readValue_data()
{
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("expected");

    const quint32 text = Registry::TypeString;
    const quint32 binary = Registry::TypeBinary;
    QTest::newRow("text with NUL") << text << QByteArray("dd.MM.yyyy\0", 11) << u"dd.MM.yyyy"_s;
    QTest::newRow("text without NUL") << text << QByteArray("dd.MM.yyyy") << u"dd.MM.yyyy"_s;
    QTest::newRow("text up to the first NUL") << text << QByteArray("ab\0cd\0", 6) << u"ab"_s;
    QTest::newRow("text of size 0") << text << QByteArray() << QString();
    QTest::newRow("1254 text") << text << QByteArray("\xDE\xFD\xF0\xDD\xE7\0", 6) << u"Şığİç"_s;
    QTest::newRow("binary, two bytes") << binary << QByteArray("\x39\x30", 2) << u"12345"_s;
    QTest::newRow("binary, one byte") << binary << QByteArray("\xff", 1) << u"255"_s;
    QTest::newRow("binary, four bytes") << binary << QByteArray("\xfe\xff\x7f\x00", 4) << u"-2"_s;
    QTest::newRow("binary, empty") << binary << QByteArray() << u"0"_s;
    QTest::newRow("dword") << Registry::TypeDword << QByteArray("\x2c\0\0\0", 4) << QString();
}

void TestRegistryAccess::readValue()
{
    QFETCH(quint32, type);
    QFETCH(QByteArray, data);

    zelvan::test::FakeServices fakes;
    Registry::Key key = 0;
    QCOMPARE(fakes.registry->createKey(Registry::CurrentUser, Key.toLatin1(), &key), Registry::Success);
    QCOMPARE(fakes.registry->setValue(key, "sShortDate", type, data), Registry::Success);
    zelvan::Program program(fakes.services(), {});
    QTEST(zelvan::RegQueryValue(program, key, u"sShortDate"_s), "expected");
    QTEST(zelvan::RegReadString(program, Registry::CurrentUser, Key, u"SSHORTDATE"_s), "expected");
}

void TestRegistryAccess::writeThenRead_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("Turkish") << u"Şükrü Işıkoğlu İĞÇÖ"_s << u"Şükrü Işıkoğlu İĞÇÖ"_s;
    QTest::newRow("backslash and quote") << u"SUNUCU\\SQL \"2019\""_s << u"SUNUCU\\SQL \"2019\""_s;
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("outside code page 1254") << u"Ωmega€"_s << u"?mega€"_s;
    QTest::newRow("carriage return") << u"a\rb"_s << u"a\rb"_s;
}

void TestRegistryAccess::writeThenRead()
{
    QFETCH(QString, text);

    zelvan::test::FakeServices fakes;
    zelvan::test::RecordingRegistry registry(fakes.registry->path());
    auto services = fakes.services();
    services.registry = &registry;
    zelvan::Program program(services, {});
    zelvan::RegWriteString(program, Registry::CurrentUser, Key, u"DEF_KUL"_s, text);
    QTEST(zelvan::RegReadString(program, Registry::CurrentUser, Key, u"DEF_KUL"_s), "readBack");

    // A string value with its NUL; every key opened is closed again.
    QCOMPARE(registry.writes.size(), 1);
    QCOMPARE(registry.writes[0].type, Registry::TypeString);
    QCOMPARE(registry.writes[0].data, zelvan::platform::toCp1254(text) + '\0');
    QVERIFY(registry.openHandles.isEmpty());
}

void TestRegistryAccess::failuresReadEmpty()
{
    zelvan::test::FakeServices fakes;
    auto services = fakes.services();
    zelvan::Program program(services, {});
    QCOMPARE(zelvan::RegReadString(program, Registry::CurrentUser, Key, u"DEF_KUL"_s), QString());
    zelvan::RegWriteString(program, Registry::CurrentUser, Key, u"DEF_SRVR"_s, u"SUNUCU"_s);
    QCOMPARE(zelvan::RegReadString(program, Registry::CurrentUser, Key, u"DEF_KUL"_s), QString());

    // A value grown between its sizing and its reading.
    zelvan::RegWriteString(program, Registry::CurrentUser, Key, u"DEF_KUL"_s, u"ali"_s);
    fakes.registry->setValue(Registry::CurrentUser, "Bin", Registry::TypeBinary, "\1\2");
    GrowingRegistry growing(fakes.registry->path());
    services.registry = &growing;
    zelvan::Program grown(services, {});
    QCOMPARE(zelvan::RegReadString(grown, Registry::CurrentUser, Key, u"DEF_KUL"_s), QString());
    QCOMPARE(zelvan::RegQueryValue(grown, Registry::CurrentUser, u"Bin"_s), QString());

    // A registry that cannot be written: the write is ignored.
    FileRegistry blocked(fakes.registryDir.filePath(u"registry.reg/registry.reg"_s));
    services.registry = &blocked;
    zelvan::Program unwritable(services, {});
    zelvan::RegWriteString(unwritable, Registry::CurrentUser, Key, u"DEF_KUL"_s, u"veli"_s);
    QCOMPARE(zelvan::RegReadString(unwritable, Registry::CurrentUser, Key, u"DEF_KUL"_s), QString());
}

QTEST_GUILESS_MAIN(TestRegistryAccess)
#include "tst_registryaccess.moc"
