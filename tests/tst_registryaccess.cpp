#include "platform/codepage1254.h"
#include "startup/program.h"
#include "startup/registryaccess.h"
#include "support/fakeservices.h"
#include "support/recordingregistry.h"

#include <QTest>

#include <cstring>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan;
using platform::FileRegistry;
using platform::Registry;

namespace {

const QString Key = u"DEF_NORVENT"_s;

// Sizes a value truly, then finds it grown when it is read, leaving in the buffer what a failed read may leave.
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
    void readValue_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("expected");
        const quint32 text = Registry::TypeString, binary = Registry::TypeBinary;
        QTest::newRow("text without NUL") << text << QByteArray("dd.MM.yyyy") << u"dd.MM.yyyy"_s;
        QTest::newRow("text up to the first NUL") << text << QByteArray("ab\0cd\0", 6) << u"ab"_s;
        QTest::newRow("text of size 0") << text << QByteArray() << QString();
        QTest::newRow("1254 text") << text << QByteArray("\xDE\xFD\xF0\xDD\xE7\0", 6) << u"Şığİç"_s;
        QTest::newRow("binary, two bytes") << binary << QByteArray("\x39\x30", 2) << u"12345"_s;
        QTest::newRow("binary, four bytes") << binary << QByteArray("\xfe\xff\x7f\x00", 4) << u"-2"_s;
        QTest::newRow("binary, empty") << binary << QByteArray() << u"0"_s;
        QTest::newRow("dword") << Registry::TypeDword << QByteArray("\x2c\0\0\0", 4) << QString();
    }
    void readValue()
    {
        QFETCH(quint32, type);
        QFETCH(QByteArray, data);
        test::FakeServices fakes;
        Registry::Key key = 0;
        QCOMPARE(fakes.registry->createKey(Registry::CurrentUser, Key.toLatin1(), &key), Registry::Success);
        QCOMPARE(fakes.registry->setValue(key, "sShortDate", type, data), Registry::Success);
        Program program(fakes.services(), {});
        QTEST(RegQueryValue(program, key, u"sShortDate"_s), "expected");
        QTEST(RegReadString(program, Registry::CurrentUser, Key, u"SSHORTDATE"_s), "expected");
    }

    void writeThenRead_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("Turkish") << u"Şükrü Işıkoğlu İĞÇÖ"_s << u"Şükrü Işıkoğlu İĞÇÖ"_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("outside code page 1254") << u"Ωmega€"_s << u"?mega€"_s;
    }
    // A string value with its NUL; every key opened is closed again.
    void writeThenRead()
    {
        QFETCH(QString, text);
        test::FakeServices fakes;
        test::RecordingRegistry registry(fakes.registry->path());
        auto services = fakes.services();
        services.registry = &registry;
        Program program(services, {});
        RegWriteString(program, Registry::CurrentUser, Key, u"DEF_KUL"_s, text);
        QTEST(RegReadString(program, Registry::CurrentUser, Key, u"DEF_KUL"_s), "readBack");
        QCOMPARE(registry.writes.size(), 1);
        QCOMPARE(registry.writes[0].type, Registry::TypeString);
        QCOMPARE(registry.writes[0].data, platform::toCp1254(text) + '\0');
        QVERIFY(registry.openHandles.isEmpty());
    }

    void failuresReadEmpty()
    {
        test::FakeServices fakes;
        auto services = fakes.services();
        Program program(services, {});
        QCOMPARE(RegReadString(program, Registry::CurrentUser, Key, u"DEF_KUL"_s), QString());
        RegWriteString(program, Registry::CurrentUser, Key, u"DEF_KUL"_s, u"ali"_s);
        fakes.registry->setValue(Registry::CurrentUser, "Bin", Registry::TypeBinary, "\1\2");

        // A value grown between its sizing and its reading.
        GrowingRegistry growing(fakes.registry->path());
        services.registry = &growing;
        Program grown(services, {});
        QCOMPARE(RegReadString(grown, Registry::CurrentUser, Key, u"DEF_KUL"_s), QString());
        QCOMPARE(RegQueryValue(grown, Registry::CurrentUser, u"Bin"_s), QString());

        // A registry that cannot be written: the write is ignored.
        FileRegistry blocked(fakes.registryDir.filePath(u"registry.reg/registry.reg"_s));
        services.registry = &blocked;
        Program unwritable(services, {});
        RegWriteString(unwritable, Registry::CurrentUser, Key, u"DEF_KUL"_s, u"veli"_s);
        QCOMPARE(RegReadString(unwritable, Registry::CurrentUser, Key, u"DEF_KUL"_s), QString());
    }
};

QTEST_GUILESS_MAIN(TestRegistryAccess)
#include "tst_registryaccess.moc"
