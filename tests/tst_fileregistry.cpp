#include "platform/codepage1254.h"
#include "platform/fileregistry.h"
#include "platform/registryfile.h"
#include "support/temporaryregistry.h"

#include <QDir>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <thread>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using zelvan::platform::FileRegistry;
using zelvan::platform::Registry;

namespace {

using zelvan::test::readFile;
using zelvan::test::writeFile;

// Restores an environment variable when the test ends.
class EnvironmentGuard
{
public:
    explicit EnvironmentGuard(const char *name)
        : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_value(qgetenv(name))
    {
    }
    ~EnvironmentGuard()
    {
        if (m_wasSet)
            qputenv(m_name, m_value);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_wasSet;
    QByteArray m_value;
};

const QByteArray International = "Control Panel\\International";

constexpr int Writers = 4;
constexpr int Values = 25;

// One writer's share of the concurrent test: its own key, Values values,
// each write a read-modify-replace of the whole file. Returns the failures.
int writeValues(int writer)
{
    int failures = 0;
    FileRegistry registry;
    Registry::Key key = 0;
    if (registry.createKey(Registry::CurrentUser, "Writer" + QByteArray::number(writer), &key) != Registry::Success)
        ++failures;
    for (int i = 0; i < Values; ++i) {
        const QByteArray text = "value " + QByteArray::number(writer) + '/' + QByteArray::number(i) + '\0';
        if (registry.setValue(key, "v" + QByteArray::number(i), Registry::TypeString, text) != Registry::Success)
            ++failures;
    }
    return failures;
}

} // namespace

class TestFileRegistry : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void defaultPath();
    void missingFileIsEmpty();
    void openKey_data();
    void openKey();
    void queryValue_data();
    void queryValue();
    void textCrossesThroughCodePage1254();
    void createKeyWritesTheKey();
    void createKeyBelowAnOpenKey();
    void writeKeepsEverythingElse();
    void writeReplacesTheFileWhole();
    void changesOfAnotherWriterAreSeen();
    void handles();
    void writeFailures_data();
    void writeFailures();
    void concurrentWriters_data();
    void concurrentWriters();

private:
    // A registry file with the regional settings, another key and a section
    // of another root.
    void writeSample();

    std::unique_ptr<zelvan::test::TemporaryRegistry> m_registry;
    QString m_path;
};

void TestFileRegistry::init()
{
    m_registry = std::make_unique<zelvan::test::TemporaryRegistry>(u"config/zelvan/registry.reg"_s);
    QVERIFY(m_registry->isValid());
    m_path = m_registry->path();
}

void TestFileRegistry::cleanup()
{
    m_registry.reset();
}

void TestFileRegistry::writeSample()
{
    QVERIFY(m_registry->write("REGEDIT4\n"
                              "\n"
                              "[HKEY_CURRENT_USER\\Control Panel\\International]\n"
                              "\"sDecimal\"=\",\"\n"
                              "\"iCountry\"=dword:0000005a\n"
                              "\"Blob\"=hex:39,30,ff\n"
                              "\"Raw\"=hex(1):61,62,63\n"
                              "\"Empty\"=hex(1):\n"
                              "\n"
                              "[HKEY_CURRENT_USER\\DEF_NORVENT]\n"
                              "\"DEF_KUL\"=\"Şükrü\"\n"
                              "\n"
                              "[HKEY_LOCAL_MACHINE\\Software\\Other]\n"
                              "\"kept\"=\"as it was\"\n"));
}

void TestFileRegistry::defaultPath()
{
    EnvironmentGuard registry("ZELVAN_REGISTRY");
    EnvironmentGuard xdg("XDG_CONFIG_HOME");
    EnvironmentGuard home("HOME");

    QCOMPARE(FileRegistry::defaultPath(), m_path);
    QCOMPARE(FileRegistry().path(), m_path);

    qunsetenv("ZELVAN_REGISTRY");
    qputenv("XDG_CONFIG_HOME", "/xdg/config");
    QCOMPARE(FileRegistry::defaultPath(), u"/xdg/config/zelvan/registry.reg"_s);

    qputenv("ZELVAN_REGISTRY", "");
    qputenv("XDG_CONFIG_HOME", "relative/ignored");
    qputenv("HOME", "/home/muhasebe");
    QCOMPARE(FileRegistry::defaultPath(), u"/home/muhasebe/.config/zelvan/registry.reg"_s);

    qunsetenv("XDG_CONFIG_HOME");
    QCOMPARE(FileRegistry::defaultPath(), u"/home/muhasebe/.config/zelvan/registry.reg"_s);
}

void TestFileRegistry::missingFileIsEmpty()
{
    FileRegistry registry;
    Registry::Key key = 0;
    QCOMPARE(registry.openKey(Registry::CurrentUser, International, &key), Registry::FileNotFound);
    quint32 type = 0;
    quint32 size = 0;
    QCOMPARE(registry.queryValue(Registry::CurrentUser, "x", &type, nullptr, &size), Registry::FileNotFound);
    QVERIFY(!QFile::exists(m_path));
}

void TestFileRegistry::openKey_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<long>("result");

    QTest::newRow("written key") << International << Registry::Success;
    QTest::newRow("other letter case") << QByteArray("CONTROL PANEL\\international") << Registry::Success;
    QTest::newRow("parent of a written key") << QByteArray("Control Panel") << Registry::Success;
    QTest::newRow("missing") << QByteArray("Control Panel\\Desktop") << Registry::FileNotFound;
    QTest::newRow("1254 name") << QByteArray("DEF_NORVENT") << Registry::Success;
    QTest::newRow("only in another root") << QByteArray("Software\\Other") << Registry::FileNotFound;
    QTest::newRow("leading backslash") << QByteArray("\\Control Panel") << FileRegistry::BadPathname;
    QTest::newRow("doubled backslash") << QByteArray("Control Panel\\\\International") << FileRegistry::BadPathname;
    QTest::newRow("trailing backslash") << QByteArray("Control Panel\\") << FileRegistry::BadPathname;
}

void TestFileRegistry::openKey()
{
    QFETCH(QByteArray, path);
    QFETCH(long, result);
    writeSample();
    FileRegistry registry;
    Registry::Key key = 0;
    QCOMPARE(registry.openKey(Registry::CurrentUser, path, &key), result);
    QCOMPARE(key != 0, result == Registry::Success);
}

void TestFileRegistry::queryValue_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<quint32>("bufferSize");  // 0xFFFFFFFF: no buffer, only type and size
    QTest::addColumn<long>("result");
    QTest::addColumn<quint32>("type");
    QTest::addColumn<quint32>("size");
    QTest::addColumn<QByteArray>("data");

    const quint32 sizeOnly = 0xFFFFFFFF;
    QTest::newRow("text: size") << QByteArray("sDecimal") << sizeOnly << Registry::Success
                                << Registry::TypeString << 2u << QByteArray();
    QTest::newRow("text: read") << QByteArray("sDecimal") << 2u << Registry::Success << Registry::TypeString
                                << 2u << QByteArray(",\0", 2);
    QTest::newRow("text: larger buffer") << QByteArray("SDECIMAL") << 10u << Registry::Success
                                         << Registry::TypeString << 2u << QByteArray(",\0", 2);
    QTest::newRow("text: buffer too small") << QByteArray("sDecimal") << 1u << Registry::MoreData
                                            << Registry::TypeString << 2u << QByteArray();
    QTest::newRow("dword") << QByteArray("iCountry") << 4u << Registry::Success << Registry::TypeDword << 4u
                           << QByteArray("\x5a\0\0\0", 4);
    QTest::newRow("binary") << QByteArray("Blob") << 8u << Registry::Success << Registry::TypeBinary << 3u
                            << QByteArray("\x39\x30\xff");
    QTest::newRow("binary too small") << QByteArray("Blob") << 2u << Registry::MoreData << Registry::TypeBinary
                                      << 3u << QByteArray();
    QTest::newRow("text without NUL") << QByteArray("Raw") << 3u << Registry::Success << Registry::TypeString
                                      << 3u << QByteArray("abc");
    QTest::newRow("text of size 0") << QByteArray("Empty") << sizeOnly << Registry::Success
                                    << Registry::TypeString << 0u << QByteArray();
    QTest::newRow("missing value") << QByteArray("sThousand") << sizeOnly << Registry::FileNotFound << 0u << 0u
                                   << QByteArray();
}

void TestFileRegistry::queryValue()
{
    QFETCH(QByteArray, name);
    QFETCH(quint32, bufferSize);
    QFETCH(long, result);
    QFETCH(quint32, type);
    QFETCH(quint32, size);
    QFETCH(QByteArray, data);

    writeSample();
    FileRegistry registry;
    Registry::Key key = 0;
    QCOMPARE(registry.openKey(Registry::CurrentUser, International, &key), Registry::Success);

    const bool sizeOnly = bufferSize == 0xFFFFFFFF;
    QByteArray buffer(sizeOnly ? 0 : qsizetype(bufferSize), '#');
    quint32 gotType = 0;
    quint32 gotSize = sizeOnly ? 0 : bufferSize;
    QCOMPARE(registry.queryValue(key, name, &gotType, sizeOnly ? nullptr : buffer.data(), &gotSize), result);
    if (result == Registry::FileNotFound)
        return;
    QCOMPARE(gotType, type);
    QCOMPARE(gotSize, size);
    if (result == Registry::Success && !sizeOnly)
        QCOMPARE(buffer.first(gotSize), data);
    if (!sizeOnly && bufferSize > size)
        QCOMPARE(buffer.sliced(size), QByteArray(bufferSize - size, '#'));  // nothing written past the data
}

void TestFileRegistry::textCrossesThroughCodePage1254()
{
    FileRegistry registry;
    Registry::Key key = 0;
    const QByteArray keyName = zelvan::platform::toCp1254(u"Şirket Ayarları");
    QCOMPARE(registry.createKey(Registry::CurrentUser, keyName, &key), Registry::Success);
    QByteArray text = zelvan::platform::toCp1254(u"Çağrı İşçioğlu");
    text.append('\0');
    QCOMPARE(registry.setValue(key, zelvan::platform::toCp1254(u"Kullanıcı"), Registry::TypeString, text),
             Registry::Success);

    const QByteArray file = readFile(m_path);
    QVERIFY(file.contains(u"[HKEY_CURRENT_USER\\Şirket Ayarları]\n\"Kullanıcı\"=\"Çağrı İşçioğlu\"\n"_s.toUtf8()));

    Registry::Key again = 0;
    QCOMPARE(registry.openKey(Registry::CurrentUser, zelvan::platform::toCp1254(u"ŞIRKET AYARLARI"), &again),
             Registry::Success);
    QByteArray buffer(64, '\0');
    quint32 type = 0;
    quint32 size = quint32(buffer.size());
    QCOMPARE(registry.queryValue(again, zelvan::platform::toCp1254(u"Kullanıcı"), &type, buffer.data(), &size),
             Registry::Success);
    QCOMPARE(buffer.first(size), text);
}

void TestFileRegistry::createKeyWritesTheKey()
{
    FileRegistry registry;
    Registry::Key key = 0;
    QCOMPARE(registry.createKey(Registry::CurrentUser, "DEF_NORVENT", &key), Registry::Success);
    QVERIFY(key != 0);
    QCOMPARE(readFile(m_path), QByteArray("REGEDIT4\n\n[HKEY_CURRENT_USER\\DEF_NORVENT]\n"));

    // Opening or creating an existing key changes nothing.
    const QDateTime written = QFileInfo(m_path).lastModified();
    Registry::Key same = 0;
    QCOMPARE(registry.createKey(Registry::CurrentUser, "def_norvent", &same), Registry::Success);
    QCOMPARE(readFile(m_path), QByteArray("REGEDIT4\n\n[HKEY_CURRENT_USER\\DEF_NORVENT]\n"));
    QCOMPARE(QFileInfo(m_path).lastModified(), written);
    QCOMPARE(FileRegistry().openKey(Registry::CurrentUser, "DEF_NORVENT", &same), Registry::Success);
}

void TestFileRegistry::createKeyBelowAnOpenKey()
{
    FileRegistry registry;
    Registry::Key parent = 0;
    Registry::Key child = 0;
    QCOMPARE(registry.createKey(Registry::CurrentUser, "Software", &parent), Registry::Success);
    QCOMPARE(registry.createKey(parent, "Suite\\Settings", &child), Registry::Success);
    QCOMPARE(registry.setValue(child, "v", Registry::TypeDword, QByteArray("\1\0\0\0", 4)), Registry::Success);
    QVERIFY(readFile(m_path).contains("[HKEY_CURRENT_USER\\Software\\Suite\\Settings]\n\"v\"=dword:00000001\n"));

    Registry::Key same = 0;
    QCOMPARE(registry.openKey(parent, "", &same), Registry::Success);
    QCOMPARE(same, parent);
}

void TestFileRegistry::writeKeepsEverythingElse()
{
    writeSample();
    const auto before = zelvan::platform::parseRegistryFile(readFile(m_path));

    FileRegistry registry;
    Registry::Key key = 0;
    QCOMPARE(registry.openKey(Registry::CurrentUser, International, &key), Registry::Success);
    QCOMPARE(registry.setValue(key, "sThousand", Registry::TypeString, QByteArray(".\0", 2)), Registry::Success);
    QCOMPARE(registry.setValue(key, "SDECIMAL", Registry::TypeString, QByteArray(".\0", 2)), Registry::Success);

    const auto after = zelvan::platform::parseRegistryFile(readFile(m_path));
    QCOMPARE(after.keys().size(), before.keys().size());
    const auto *international = after.key(u"Control Panel\\International");
    QVERIFY(international);
    QCOMPARE(international->values().size(), 6);
    QCOMPARE(international->values()[0].name, u"sDecimal"_s);  // the name keeps its first spelling
    QCOMPARE(international->values()[0].text, u"."_s);
    QCOMPARE(international->values()[5].name, u"sThousand"_s);
    for (int i = 1; i < 5; ++i) {
        const auto &old = before.key(u"Control Panel\\International")->values()[i];
        QCOMPARE(international->values()[i].toData(), old.toData());
        QCOMPARE(international->values()[i].type, old.type);
    }
    QCOMPARE(after.key(u"DEF_NORVENT")->value(u"DEF_KUL")->text, u"Şükrü"_s);
    QCOMPARE(after.otherRoots, before.otherRoots);
}

void TestFileRegistry::writeReplacesTheFileWhole()
{
    writeSample();
    FileRegistry registry;
    Registry::Key key = 0;
    QCOMPARE(registry.createKey(Registry::CurrentUser, "DEF_NORVENT", &key), Registry::Success);
    for (int i = 0; i < 20; ++i) {
        QCOMPARE(registry.setValue(key, "DEF_SRVR", Registry::TypeString, "SUNUCU" + QByteArray::number(i) + '\0'),
                 Registry::Success);
    }
    // Nothing is left beside the file: no temporary file, no lock.
    QCOMPARE(QDir(QFileInfo(m_path).absolutePath()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList{u"registry.reg"_s});
    QVERIFY(readFile(m_path).contains("\"DEF_SRVR\"=\"SUNUCU19\"\n"));
}

void TestFileRegistry::changesOfAnotherWriterAreSeen()
{
    FileRegistry reader;
    FileRegistry writer;
    Registry::Key written = 0;
    QCOMPARE(writer.createKey(Registry::CurrentUser, "DEF_NORVENT", &written), Registry::Success);
    Registry::Key read = 0;
    QCOMPARE(reader.openKey(Registry::CurrentUser, "DEF_NORVENT", &read), Registry::Success);

    quint32 size = 0;
    QCOMPARE(reader.queryValue(read, "DEF_KUL", nullptr, nullptr, &size), Registry::FileNotFound);
    QCOMPARE(writer.setValue(written, "DEF_KUL", Registry::TypeString, QByteArray("ali\0", 4)), Registry::Success);
    QCOMPARE(reader.queryValue(read, "DEF_KUL", nullptr, nullptr, &size), Registry::Success);
    QCOMPARE(size, 4u);
    QCOMPARE(writer.setValue(written, "DEF_KUL", Registry::TypeString, QByteArray("veli\0", 5)), Registry::Success);
    QCOMPARE(reader.queryValue(read, "DEF_KUL", nullptr, nullptr, &size), Registry::Success);
    QCOMPARE(size, 5u);

    QVERIFY(QFile::remove(m_path));
    QCOMPARE(reader.queryValue(read, "DEF_KUL", nullptr, nullptr, &size), Registry::FileNotFound);
}

void TestFileRegistry::handles()
{
    writeSample();
    FileRegistry registry;
    Registry::Key first = 0;
    Registry::Key second = 0;
    QCOMPARE(registry.openKey(Registry::CurrentUser, International, &first), Registry::Success);
    QCOMPARE(registry.openKey(Registry::CurrentUser, "DEF_NORVENT", &second), Registry::Success);
    QVERIFY(first != second);
    QVERIFY(first != Registry::CurrentUser);

    QCOMPARE(registry.closeKey(first), Registry::Success);
    QCOMPARE(registry.closeKey(first), FileRegistry::InvalidHandle);
    quint32 size = 0;
    QCOMPARE(registry.queryValue(first, "sDecimal", nullptr, nullptr, &size), FileRegistry::InvalidHandle);
    QCOMPARE(registry.setValue(first, "sDecimal", Registry::TypeString, ","), FileRegistry::InvalidHandle);
    QCOMPARE(registry.queryValue(0, "sDecimal", nullptr, nullptr, &size), FileRegistry::InvalidHandle);
    QCOMPARE(registry.closeKey(0), FileRegistry::InvalidHandle);
    QCOMPARE(registry.closeKey(Registry::CurrentUser), Registry::Success);

    char buffer[4];
    QCOMPARE(registry.queryValue(second, "DEF_KUL", nullptr, buffer, nullptr), FileRegistry::InvalidParameter);
    QCOMPARE(registry.openKey(Registry::CurrentUser, "DEF_NORVENT", nullptr), FileRegistry::InvalidParameter);
    QCOMPARE(registry.setValue(second, "two\nlines", Registry::TypeString, "x"), FileRegistry::InvalidParameter);
    QCOMPARE(registry.createKey(second, "a\nb", &first), FileRegistry::BadPathname);
}

void TestFileRegistry::writeFailures_data()
{
    QTest::addColumn<QString>("blocker");  // a file or folder that stands in the way
    QTest::addColumn<QString>("registryPath");

    QTest::newRow("folder is a file") << u"config"_s << u"config/zelvan/registry.reg"_s;
    QTest::newRow("file is a folder") << u"config/zelvan/registry.reg/"_s << u"config/zelvan/registry.reg"_s;
}

void TestFileRegistry::writeFailures()
{
    QFETCH(QString, blocker);
    QFETCH(QString, registryPath);

    const QString blockerPath = m_registry->filePath(blocker);
    if (blocker.endsWith(u'/'))
        QVERIFY(QDir().mkpath(blockerPath));
    else
        QVERIFY(writeFile(blockerPath, "not a folder"));

    FileRegistry registry(m_registry->filePath(registryPath));
    Registry::Key key = 0;
    QVERIFY(registry.createKey(Registry::CurrentUser, "DEF_NORVENT", &key) != Registry::Success);
    QVERIFY(registry.setValue(Registry::CurrentUser, "DEF_KUL", Registry::TypeString, QByteArray("a\0", 2))
            != Registry::Success);
    quint32 size = 0;
    QVERIFY(registry.queryValue(Registry::CurrentUser, "DEF_KUL", nullptr, nullptr, &size) != Registry::Success);
    QCOMPARE(QFileInfo(blockerPath).isDir(), blocker.endsWith(u'/'));
    if (!blocker.endsWith(u'/'))
        QCOMPARE(readFile(blockerPath), QByteArray("not a folder"));
}

void TestFileRegistry::concurrentWriters_data()
{
    QTest::addColumn<bool>("processes");
    QTest::newRow("threads") << false;
    QTest::newRow("processes") << true;
}

void TestFileRegistry::concurrentWriters()
{
    QFETCH(bool, processes);
    writeSample();

    if (processes) {
        std::vector<std::unique_ptr<QProcess>> writers;
        for (int w = 0; w < Writers; ++w) {
            auto process = std::make_unique<QProcess>();
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(u"ZELVAN_TEST_WRITER"_s, QString::number(w));
            process->setProcessEnvironment(environment);
            process->start(QCoreApplication::applicationFilePath(), QStringList());
            writers.push_back(std::move(process));
        }
        for (auto &process : writers) {
            QVERIFY(process->waitForFinished(120000));
            QCOMPARE(process->exitStatus(), QProcess::NormalExit);
            QCOMPARE(process->exitCode(), 0);
        }
    } else {
        std::vector<std::thread> threads;
        std::vector<int> failures(Writers, 0);
        for (int w = 0; w < Writers; ++w)
            threads.emplace_back([w, &failures] { failures[w] = writeValues(w); });
        for (auto &thread : threads)
            thread.join();
        QCOMPARE(failures, std::vector<int>(Writers, 0));
    }

    const auto tree = zelvan::platform::parseRegistryFile(readFile(m_path));
    QCOMPARE(tree.key(u"Control Panel\\International")->values().size(), 5);
    QCOMPARE(tree.key(u"DEF_NORVENT")->value(u"DEF_KUL")->text, u"Şükrü"_s);
    QCOMPARE(tree.otherRoots.size(), 1);
    for (int w = 0; w < Writers; ++w) {
        const auto *key = tree.key(u"Writer"_s + QString::number(w));
        QVERIFY(key);
        QCOMPARE(key->values().size(), Values);
        QCOMPARE(key->value(u"v24")->text, u"value %1/24"_s.arg(w));
    }
}

// Run as a writer process when ZELVAN_TEST_WRITER names the writer.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    bool isWriter = false;
    const int writer = qEnvironmentVariableIntValue("ZELVAN_TEST_WRITER", &isWriter);
    if (isWriter)
        return writeValues(writer) == 0 ? 0 : 1;
    TestFileRegistry test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fileregistry.moc"
