#include "program/program.h"
#include "program/registryaccess.h"
#include "runtime/codepage1254.h"
#include "support/fakeservices.h"
#include "support/recordingregistry.h"

#include <QTest>

#include <cstring>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan;
using namespace zelvan::program;
using platform::Registry;

static const QString Key = u"DEF_NORVENT"_s;

// Sizes a value truly, then finds it grown when it is read, leaving in the buffer what a failed read may leave.
struct GrowingRegistry : platform::RegistryFileStore
{
    using platform::RegistryFileStore::RegistryFileStore;
    long queryValue(Key key, const QByteArray &name, quint32 *type, char *data, quint32 *size) override
    {
        return data ? (std::memset(data, '7', *size), MoreData) : platform::RegistryFileStore::queryValue(key, name, type, data, size);
    }
};

static QString read(Program &program, const QString &name) { return RegReadString(program, Registry::CurrentUser, Key, name); }

class TestRegistryAccess : public QObject
{
    Q_OBJECT

private slots:
    // Values of each type read back by RegQueryValue and RegReadString, the name in any case. A string
    // value is written with its NUL, and every key it opens is closed again. Then what reads as empty: a
    // missing value, a value grown between its sizing and its reading, and a registry that cannot be
    // written, whose writes are ignored.
    void readAndWrite()
    {
        test::FakeServices fakes;
        auto &registry = *new test::RecordingRegistry(fakes.registry->path());
        fakes.registry.reset(&registry);
        Program program(fakes.services(), {});
        QCOMPARE(read(program, u"DEF_KUL"_s), QString());
        Registry::Key key = 0;
        QCOMPARE(registry.createKey(Registry::CurrentUser, Key.toLatin1(), &key), Registry::Success);
        const quint32 text = Registry::TypeString, binary = Registry::TypeBinary;
        const std::tuple<quint32, QByteArray, QString> values[] = {
            {text, "dd.MM.yyyy", u"dd.MM.yyyy"_s}, {text, {"ab\0cd\0", 6}, u"ab"_s}, {text, {}, {}},
            {text, {"\xDE\xFD\xF0\xDD\xE7\0", 6}, u"Şığİç"_s}, {binary, {"\x39\x30", 2}, u"12345"_s},
            {binary, {}, u"0"_s}, {binary, {"\xfe\xff\x7f\x00", 4}, u"-2"_s}, {Registry::TypeDword, {"\x2c\0\0\0", 4}, {}}};
        for (const auto &[type, data, expected] : values) {
            QCOMPARE(registry.setValue(key, "sShortDate", type, data), Registry::Success);
            QCOMPARE(RegQueryValue(program, key, u"sShortDate"_s), expected);
            QCOMPARE(read(program, u"SSHORTDATE"_s), expected);
        }
        registry.writes.clear();

        for (const auto &[written, readBack] :
             {std::pair{u"Şükrü Işıkoğlu İĞÇÖ"_s, u"Şükrü Işıkoğlu İĞÇÖ"_s}, {QString(), QString()}, {u"Ωmega€"_s, u"?mega€"_s}}) {
            RegWriteString(program, Registry::CurrentUser, Key, u"DEF_KUL"_s, written);
            QCOMPARE(read(program, u"DEF_KUL"_s), readBack);
            QCOMPARE(registry.writes.last().data, runtime::toCp1254(written) + '\0');
        }
        QCOMPARE(registry.writes.size(), 3);
        QCOMPARE(registry.openHandles, QSet{key});

        registry.setValue(Registry::CurrentUser, "Bin", Registry::TypeBinary, "\1\2");
        fakes.registry = std::make_unique<GrowingRegistry>(fakes.registry->path());
        Program grown(fakes.services(), {});
        QCOMPARE(read(grown, u"DEF_KUL"_s), QString());
        QCOMPARE(RegQueryValue(grown, Registry::CurrentUser, u"Bin"_s), QString());
        fakes.registry = std::make_unique<platform::RegistryFileStore>(fakes.registryDir.filePath(u"registry.reg/registry.reg"_s));
        Program unwritable(fakes.services(), {});
        RegWriteString(unwritable, Registry::CurrentUser, Key, u"DEF_KUL"_s, u"veli"_s);
        QCOMPARE(read(unwritable, u"DEF_KUL"_s), QString());
    }
};

QTEST_GUILESS_MAIN(TestRegistryAccess)
#include "tst_registryaccess.moc"
