#include "program/program.h"
#include "program/registryaccess.h"
#include "support/fakeservices.h"
#include "support/recordingregistry.h"

#include <QTest>

#include <cstring>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan;
using namespace zelvan::program;
using platform::Registry;

namespace {

const QString Key = u"DEF_NORVENT"_s;

// Sizes a value truly, then finds it grown when it is read, leaving in the buffer what a failed read may leave.
struct GrowingRegistry : platform::RegistryFileStore
{
    using platform::RegistryFileStore::RegistryFileStore;
    long queryValue(Key key, const QByteArray &name, quint32 *type, char *data, quint32 *size) override
    {
        if (!data)
            return platform::RegistryFileStore::queryValue(key, name, type, data, size);
        std::memset(data, '7', *size);
        return MoreData;
    }
};

// The fakes' registry file, recording its writes and open keys.
test::RecordingRegistry &recording(test::FakeServices &fakes)
{
    auto *registry = new test::RecordingRegistry(fakes.registry->path());
    fakes.registry.reset(registry);
    return *registry;
}

// A program on that registry; DEF_NORVENT exists.
struct Fixture
{
    Fixture() { registry.createKey(Registry::CurrentUser, Key.toLatin1(), &key); }
    QString read(const QString &name) { return RegReadString(program, Registry::CurrentUser, Key, name); }

    test::FakeServices fakes;
    test::RecordingRegistry &registry = recording(fakes);
    Program program{fakes.services(), {}};
    Registry::Key key = 0;
};

} // namespace

class TestRegistryAccess : public QObject
{
    Q_OBJECT

private slots:
    // Read back by RegQueryValue and by RegReadString, the name in any case; every key the read opens is closed.
    void values_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("text");
        const quint32 text = Registry::TypeString, binary = Registry::TypeBinary;
        QTest::newRow("text up to its NUL") << text << QByteArray("ab\0cd\0", 6) << u"ab"_s;
        QTest::newRow("empty text") << text << QByteArray() << QString();
        QTest::newRow("text in 1254") << text << QByteArray("\xDE\xFD\xF0\xDD\xE7\0", 6) << u"Şığİç"_s;
        QTest::newRow("empty binary") << binary << QByteArray() << u"0"_s;
        QTest::newRow("binary, first two bytes") << binary << QByteArray("\xfe\xff\x7f\x00", 4) << u"-2"_s;
        QTest::newRow("other types") << quint32(Registry::TypeDword) << QByteArray("\x2c\0\0\0", 4) << QString();
    }
    void values()
    {
        QFETCH(quint32, type);
        QFETCH(QByteArray, data);
        Fixture f;
        QCOMPARE(f.registry.setValue(f.key, "sShortDate", type, data), Registry::Success);
        QTEST(RegQueryValue(f.program, f.key, u"sShortDate"_s), "text");
        QTEST(f.read(u"SSHORTDATE"_s), "text");
        QCOMPARE(f.registry.openHandles, QSet{f.key});
    }

    // A string is written in 1254 with its NUL; what 1254 lacks reads back as '?'.
    void writeString()
    {
        Fixture f;
        RegWriteString(f.program, Registry::CurrentUser, Key, u"DEF_KUL"_s, u"Şükrü Ωmega"_s);
        QCOMPARE(f.read(u"DEF_KUL"_s), u"Şükrü ?mega"_s);
        QCOMPARE(f.registry.writes.size(), 1);
        QCOMPARE(f.registry.writes[0].data, QByteArray("\xDE\xFCkr\xFC ?mega\0", 12));
        QCOMPARE(f.registry.openHandles, QSet{f.key});
    }

    // A missing value, a value grown between its sizing and its reading, and a registry that cannot be
    // written, whose writes are ignored.
    void readsAsEmpty()
    {
        Fixture f;
        QCOMPARE(f.read(u"DEF_KUL"_s), QString());
        RegWriteString(f.program, Registry::CurrentUser, Key, u"DEF_KUL"_s, u"ali"_s);
        f.registry.setValue(Registry::CurrentUser, "Bin", Registry::TypeBinary, "\1\2");
        f.fakes.registry = std::make_unique<GrowingRegistry>(f.fakes.registry->path());
        Program grown(f.fakes.services(), {});
        QCOMPARE(RegReadString(grown, Registry::CurrentUser, Key, u"DEF_KUL"_s), QString());
        QCOMPARE(RegQueryValue(grown, Registry::CurrentUser, u"Bin"_s), QString());
        const QString folder = f.fakes.registryDir.filePath(u"registry.reg/registry.reg"_s);
        f.fakes.registry = std::make_unique<platform::RegistryFileStore>(folder);
        Program unwritable(f.fakes.services(), {});
        RegWriteString(unwritable, Registry::CurrentUser, Key, u"DEF_KUL"_s, u"veli"_s);
        QCOMPARE(RegReadString(unwritable, Registry::CurrentUser, Key, u"DEF_KUL"_s), QString());
    }
};

QTEST_GUILESS_MAIN(TestRegistryAccess)
#include "tst_registryaccess.moc"
