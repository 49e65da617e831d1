#include "platform/codepage1254.h"
#include "platform/fileregistry.h"
#include "startup/program.h"
#include "startup/registryaccess.h"
#include "support/fakeservices.h"
#include "support/recordingregistry.h"
#include "support/temporaryregistry.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <cstring>

using namespace Qt::Literals::StringLiterals;
using zelvan::platform::FileRegistry;
using zelvan::platform::Registry;

namespace {

// Answers the size question with one size and then fails, or gives a value
// that has changed between the two questions.
class ChangingRegistry : public Registry
{
public:
    quint32 type = TypeString;
    quint32 reportedSize = 0;
    long secondResult = Success;
    QByteArray secondData;
    int queries = 0;

    long openKey(Key, const QByteArray &, Key *result) override { *result = 0x1000; return Success; }
    long createKey(Key, const QByteArray &, Key *result) override { *result = 0x1000; return Success; }
    long queryValue(Key, const QByteArray &, quint32 *valueType, char *data, quint32 *size) override
    {
        ++queries;
        *valueType = type;
        if (!data) {
            *size = reportedSize;
            return Success;
        }
        if (secondResult != Success)
            return secondResult;
        if (*size < quint32(secondData.size()))
            return MoreData;
        std::memcpy(data, secondData.constData(), size_t(secondData.size()));
        *size = quint32(secondData.size());
        return Success;
    }
    long setValue(Key, const QByteArray &, quint32, const QByteArray &) override { return Success; }
    long closeKey(Key) override { return Success; }
};

} // namespace

class TestRegistryAccess : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readValue_data();
    void readValue();
    void readAgainstAChangingValue_data();
    void readAgainstAChangingValue();
    void missingKeyReadsEmpty();
    void writeThenRead_data();
    void writeThenRead();
    void writeCreatesKeyAndKeepsOthers();
    void writeFailureIsIgnored();
    void keysAreClosed();

private:
    std::unique_ptr<zelvan::test::TemporaryRegistry> m_registry;
    QString m_path;
    zelvan::test::FakeServices m_fakes;
};

void TestRegistryAccess::init()
{
    m_registry = std::make_unique<zelvan::test::TemporaryRegistry>();
    QVERIFY(m_registry->isValid());
    m_path = m_registry->path();
}

void TestRegistryAccess::cleanup()
{
    m_registry.reset();
}

void TestRegistryAccess::readValue_data()
{
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("expected");

    QTest::newRow("text with NUL") << Registry::TypeString << QByteArray("dd.MM.yyyy\0", 11) << u"dd.MM.yyyy"_s;
    QTest::newRow("text without NUL") << Registry::TypeString << QByteArray("dd.MM.yyyy") << u"dd.MM.yyyy"_s;
    QTest::newRow("text up to the first NUL") << Registry::TypeString << QByteArray("ab\0cd\0", 6) << u"ab"_s;
    QTest::newRow("text of size 0") << Registry::TypeString << QByteArray() << QString();
    QTest::newRow("only a NUL") << Registry::TypeString << QByteArray("\0", 1) << QString();
    QTest::newRow("trailing blanks kept") << Registry::TypeString << QByteArray("ali  \0", 6) << u"ali  "_s;
    QTest::newRow("1254 text") << Registry::TypeString << QByteArray("\xDE\xFD\xF0\xDD\xE7\0", 6) << u"Şığİç"_s;
    QTest::newRow("binary, two bytes") << Registry::TypeBinary << QByteArray("\x39\x30", 2) << u"12345"_s;
    QTest::newRow("binary, negative") << Registry::TypeBinary << QByteArray("\xff\xff", 2) << u"-1"_s;
    QTest::newRow("binary, lowest") << Registry::TypeBinary << QByteArray("\x00\x80", 2) << u"-32768"_s;
    QTest::newRow("binary, highest") << Registry::TypeBinary << QByteArray("\xff\x7f", 2) << u"32767"_s;
    QTest::newRow("binary, one byte") << Registry::TypeBinary << QByteArray("\xff", 1) << u"255"_s;
    QTest::newRow("binary, one small byte") << Registry::TypeBinary << QByteArray("\x07", 1) << u"7"_s;
    QTest::newRow("binary, four bytes") << Registry::TypeBinary << QByteArray("\x01\x02\x03\x04", 4) << u"513"_s;
    QTest::newRow("binary, four bytes, negative") << Registry::TypeBinary << QByteArray("\xfe\xff\x7f\x00", 4)
                                                  << u"-2"_s;
    QTest::newRow("binary, empty") << Registry::TypeBinary << QByteArray() << u"0"_s;
    QTest::newRow("dword") << Registry::TypeDword << QByteArray("\x2c\0\0\0", 4) << QString();
    QTest::newRow("expandable text") << quint32(2) << QByteArray(",\0", 2) << QString();
    QTest::newRow("no type") << Registry::TypeNone << QByteArray(",") << QString();
}

void TestRegistryAccess::readValue()
{
    QFETCH(quint32, type);
    QFETCH(QByteArray, data);
    QFETCH(QString, expected);

    FileRegistry registry;
    Registry::Key key = 0;
    QCOMPARE(registry.createKey(Registry::CurrentUser, "Control Panel\\International", &key), Registry::Success);
    QCOMPARE(registry.setValue(key, "sShortDate", type, data), Registry::Success);

    auto services = m_fakes.services();
    services.registry = &registry;
    zelvan::Program program(services, {});
    QCOMPARE(zelvan::RegQueryValue(program, key, u"sShortDate"_s), expected);
    QCOMPARE(zelvan::RegReadString(program, Registry::CurrentUser, u"Control Panel\\International"_s,
                                   u"SSHORTDATE"_s),
             expected);
    QCOMPARE(zelvan::RegQueryValue(program, key, u"sDate"_s), QString());
}

void TestRegistryAccess::readAgainstAChangingValue_data()
{
    QTest::addColumn<quint32>("type");
    QTest::addColumn<quint32>("reportedSize");
    QTest::addColumn<long>("secondResult");
    QTest::addColumn<QByteArray>("secondData");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("queries");

    QTest::newRow("text of size 0 is not read") << Registry::TypeString << 0u << long(Registry::Success)
                                                << QByteArray("abc") << QString() << 1;
    QTest::newRow("text read fails") << Registry::TypeString << 4u << long(Registry::FileNotFound)
                                     << QByteArray() << QString() << 2;
    QTest::newRow("text grew") << Registry::TypeString << 2u << long(Registry::Success) << QByteArray("abc\0", 4)
                               << QString() << 2;
    QTest::newRow("text shrank") << Registry::TypeString << 6u << long(Registry::Success) << QByteArray("ab")
                                 << u"ab"_s << 2;
    QTest::newRow("binary read fails") << Registry::TypeBinary << 2u << long(Registry::FileNotFound)
                                       << QByteArray() << QString() << 2;
    QTest::newRow("binary grew") << Registry::TypeBinary << 2u << long(Registry::Success)
                                 << QByteArray("\1\2\3") << QString() << 2;
    QTest::newRow("dword is not read") << Registry::TypeDword << 4u << long(Registry::Success)
                                       << QByteArray("\1\0\0\0", 4) << QString() << 1;
}

void TestRegistryAccess::readAgainstAChangingValue()
{
    QFETCH(quint32, type);
    QFETCH(quint32, reportedSize);
    QFETCH(long, secondResult);
    QFETCH(QByteArray, secondData);
    QFETCH(QString, expected);
    QFETCH(int, queries);

    ChangingRegistry registry;
    registry.type = type;
    registry.reportedSize = reportedSize;
    registry.secondResult = secondResult;
    registry.secondData = secondData;
    auto services = m_fakes.services();
    services.registry = &registry;
    zelvan::Program program(services, {});
    QCOMPARE(zelvan::RegQueryValue(program, 0x1000, u"v"_s), expected);
    QCOMPARE(registry.queries, queries);
}

void TestRegistryAccess::missingKeyReadsEmpty()
{
    FileRegistry registry;
    auto services = m_fakes.services();
    services.registry = &registry;
    zelvan::Program program(services, {});
    QCOMPARE(zelvan::RegReadString(program, Registry::CurrentUser, u"DEF_NORVENT"_s, u"DEF_KUL"_s), QString());

    Registry::Key key = 0;
    QCOMPARE(registry.createKey(Registry::CurrentUser, "DEF_NORVENT", &key), Registry::Success);
    QCOMPARE(zelvan::RegReadString(program, Registry::CurrentUser, u"DEF_NORVENT"_s, u"DEF_KUL"_s), QString());
    QCOMPARE(zelvan::RegReadString(program, Registry::CurrentUser, u"DEF_NORVENT\\Sub"_s, u"DEF_KUL"_s),
             QString());
}

void TestRegistryAccess::writeThenRead_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("plain") << u"norvent"_s << u"norvent"_s;
    QTest::newRow("Turkish") << u"Şükrü Işıkoğlu İĞÇÖ"_s << u"Şükrü Işıkoğlu İĞÇÖ"_s;
    QTest::newRow("server with backslash and quote") << u"SUNUCU\\SQL \"2019\""_s << u"SUNUCU\\SQL \"2019\""_s;
    QTest::newRow("blanks kept") << u"  ali  "_s << u"  ali  "_s;
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("outside code page 1254") << u"Ωmega€"_s << u"?mega€"_s;
    QTest::newRow("carriage return") << u"a\rb"_s << u"a\rb"_s;
}

void TestRegistryAccess::writeThenRead()
{
    QFETCH(QString, text);
    QFETCH(QString, readBack);

    {
        FileRegistry registry;
        auto services = m_fakes.services();
        services.registry = &registry;
        zelvan::Program program(services, {});
        zelvan::RegWriteString(program, Registry::CurrentUser, u"DEF_NORVENT"_s, u"DEF_KUL"_s, text);
    }
    FileRegistry registry;
    auto services = m_fakes.services();
    services.registry = &registry;
    zelvan::Program program(services, {});
    QCOMPARE(zelvan::RegReadString(program, Registry::CurrentUser, u"DEF_NORVENT"_s, u"DEF_KUL"_s), readBack);

    // Stored as a string value with its terminating NUL.
    Registry::Key key = 0;
    QCOMPARE(registry.openKey(Registry::CurrentUser, "DEF_NORVENT", &key), Registry::Success);
    quint32 type = 0;
    quint32 size = 0;
    QCOMPARE(registry.queryValue(key, "DEF_KUL", &type, nullptr, &size), Registry::Success);
    QCOMPARE(type, Registry::TypeString);
    QCOMPARE(size, quint32(zelvan::platform::toCp1254(text).size() + 1));
}

void TestRegistryAccess::writeCreatesKeyAndKeepsOthers()
{
    QVERIFY(m_registry->write(u"REGEDIT4\n\n[HKEY_CURRENT_USER\\DEF_NORVENT]\n\"DEF_KUL\"=\"Ayşe\"\n"_s.toUtf8()));

    FileRegistry registry;
    auto services = m_fakes.services();
    services.registry = &registry;
    zelvan::Program program(services, {});
    zelvan::RegWriteString(program, Registry::CurrentUser, u"DEF_NORVENT"_s, u"DEF_SRVR"_s, u"SUNUCU"_s);
    zelvan::RegWriteString(program, Registry::CurrentUser, u"Control Panel\\International"_s, u"sDecimal"_s,
                           u","_s);

    QCOMPARE(m_registry->read(), u"REGEDIT4\n\n[HKEY_CURRENT_USER\\DEF_NORVENT]\n\"DEF_KUL\"=\"Ayşe\"\n"
                             "\"DEF_SRVR\"=\"SUNUCU\"\n\n"
                             "[HKEY_CURRENT_USER\\Control Panel\\International]\n\"sDecimal\"=\",\"\n"_s.toUtf8());
}

void TestRegistryAccess::writeFailureIsIgnored()
{
    QVERIFY(zelvan::test::writeFile(m_registry->filePath(u"blocker"_s), "a file, not a folder"));

    FileRegistry registry(m_registry->filePath(u"blocker/registry.reg"_s));
    auto services = m_fakes.services();
    services.registry = &registry;
    zelvan::Program program(services, {});
    zelvan::RegWriteString(program, Registry::CurrentUser, u"DEF_NORVENT"_s, u"DEF_KUL"_s, u"ali"_s);
    QCOMPARE(zelvan::RegReadString(program, Registry::CurrentUser, u"DEF_NORVENT"_s, u"DEF_KUL"_s), QString());
}

void TestRegistryAccess::keysAreClosed()
{
    FileRegistry file;
    zelvan::test::RecordingRegistry registry(file);
    auto services = m_fakes.services();
    services.registry = &registry;
    zelvan::Program program(services, {});

    zelvan::RegWriteString(program, Registry::CurrentUser, u"DEF_NORVENT"_s, u"DEF_KUL"_s, u"ali"_s);
    QCOMPARE(zelvan::RegReadString(program, Registry::CurrentUser, u"DEF_NORVENT"_s, u"DEF_KUL"_s), u"ali"_s);
    QCOMPARE(zelvan::RegReadString(program, Registry::CurrentUser, u"Missing"_s, u"DEF_KUL"_s), QString());
    QVERIFY(registry.openHandles.isEmpty());
    QCOMPARE(registry.writes.size(), 1);
    QCOMPARE(registry.writes[0].type, Registry::TypeString);
    QCOMPARE(registry.writes[0].data, QByteArray("ali\0", 4));
}

QTEST_GUILESS_MAIN(TestRegistryAccess)
#include "tst_registryaccess.moc"
