#include "platform/fileregistry.h"
#include "platform/messageboxes.h"
#include "platform/programexit.h"
#include "startup/program.h"
#include "startup/regionalsettings.h"
#include "support/fakeservices.h"
#include "support/fakesysteminfo.h"
#include "support/recordingregistry.h"
#include "support/temporaryregistry.h"

#include <QFileInfo>
#include <QTest>

#include <optional>

using namespace Qt::Literals::StringLiterals;
using zelvan::platform::FileRegistry;
namespace MsgBox = zelvan::platform::MsgBox;
using zelvan::platform::Registry;

namespace {

const QString Question = u"Programın Çalışabilmesi için Sistemin Ayarlanması Gerekiyor.\r"
                         u"Eğer Onaylarsanız Bu ayarlar Yapılacaktır.\r"
                         u"Onaylıyormusunuz ?"_s;
const QString RestartNotice = u"Sistem Ayarlanız Tamamlandı.Bilgisayarınızın Yeniden Başlatılması Gerekiyor"_s;

// A null text leaves the value out.
QByteArray registryFile(const QString &decimal, const QString &thousand, const QString &date,
                        const QString &shortDate, const QString &extra = QString())
{
    QString text = u"REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\International]\n"_s;
    const auto add = [&text](const QString &name, const QString &value) {
        if (!value.isNull())
            text += u'"' + name + u"\"=\""_s + value + u"\"\n"_s;
    };
    add(u"sDecimal"_s, decimal);
    add(u"sThousand"_s, thousand);
    add(u"sDate"_s, date);
    add(u"sShortDate"_s, shortDate);
    text += extra;
    return text.toUtf8();
}

} // namespace

class TestRegionalSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void refused_data();
    void refused();
    void accepted_data();
    void accepted();
    void workstationFormats_data();
    void workstationFormats();

private:
    // Runs the guard; the exit code when it ended the program.
    std::optional<int> check(zelvan::Program &program);

    std::unique_ptr<zelvan::test::TemporaryRegistry> m_registry;
};

void TestRegionalSettings::init()
{
    m_registry = std::make_unique<zelvan::test::TemporaryRegistry>();
    QVERIFY(m_registry->isValid());
}

void TestRegionalSettings::cleanup()
{
    m_registry.reset();
}

std::optional<int> TestRegionalSettings::check(zelvan::Program &program)
{
    try {
        zelvan::CheckRegionalSettings(program);
    } catch (const zelvan::platform::ProgramEnded &ended) {
        return ended.exitCode;
    }
    return std::nullopt;
}

void TestRegionalSettings::refused_data()
{
    QTest::addColumn<QByteArray>("registry");
    QTest::addColumn<QString>("mismatch");  // empty: nothing is asked

    const QString n;  // a missing value
    QTest::newRow("all correct") << registryFile(u","_s, u"."_s, u"."_s, u"dd.MM.yyyy"_s) << QString();
    QTest::newRow("decimal point") << registryFile(u"."_s, u"."_s, u"."_s, u"dd.MM.yyyy"_s) << u"ONDALIK"_s;
    QTest::newRow("thousands comma") << registryFile(u","_s, u","_s, u"."_s, u"dd.MM.yyyy"_s) << u"BASAMAK"_s;
    QTest::newRow("date slash") << registryFile(u","_s, u"."_s, u"/"_s, u"dd.MM.yyyy"_s) << u"TARIH"_s;
    QTest::newRow("short date with one-digit day")
        << registryFile(u","_s, u"."_s, u"."_s, u"d.M.yyyy"_s) << u"TARIH"_s;
    QTest::newRow("short date in capitals") << registryFile(u","_s, u"."_s, u"."_s, u"DD.MM.YYYY"_s) << u"TARIH"_s;
    QTest::newRow("decimal with a blank") << registryFile(u", "_s, u"."_s, u"."_s, u"dd.MM.yyyy"_s) << u"ONDALIK"_s;
    QTest::newRow("decimal missing") << registryFile(n, u"."_s, u"."_s, u"dd.MM.yyyy"_s) << u"ONDALIK"_s;
    QTest::newRow("the last mismatch counts")
        << registryFile(u"."_s, u","_s, u"."_s, u"dd.MM.yyyy"_s) << u"BASAMAK"_s;
    QTest::newRow("decimal and date") << registryFile(u"."_s, u"."_s, u"-"_s, u"dd.MM.yyyy"_s) << u"TARIH"_s;
    QTest::newRow("swapped separators") << registryFile(u"."_s, u","_s, u"/"_s, u"M/d/yyyy"_s) << u"TARIH"_s;
    QTest::newRow("no key") << QByteArray("REGEDIT4\n") << u"TARIH"_s;
    QTest::newRow("no file") << QByteArray() << u"TARIH"_s;
    QTest::newRow("dword instead of text")
        << registryFile(n, u"."_s, u"."_s, u"dd.MM.yyyy"_s, u"\"sDecimal\"=dword:0000002c\n"_s) << u"ONDALIK"_s;
}

void TestRegionalSettings::refused()
{
    QFETCH(QByteArray, registry);
    QFETCH(QString, mismatch);

    if (!registry.isEmpty())
        QVERIFY(m_registry->write(registry));
    const QByteArray before = m_registry->read();

    zelvan::test::FakeServices fakes;
    fakes.messages.answers = {MsgBox::No};
    FileRegistry file;
    zelvan::test::RecordingRegistry recording(file);
    zelvan::test::FakeSystemInfo system;
    auto services = fakes.services();
    services.registry = &recording;
    services.system = &system;
    zelvan::Program program(services, {});
    program.vars.RegionalMismatch = u"old"_s;

    const std::optional<int> exitCode = check(program);

    QCOMPARE(program.vars.RegionalMismatch, mismatch);
    QVERIFY(recording.writes.isEmpty());
    QCOMPARE(m_registry->read(), before);
    QCOMPARE(QFileInfo::exists(m_registry->path()), !registry.isEmpty());
    QCOMPARE(system.versionCalls, 0);
    QVERIFY(system.exitRequests.isEmpty());
    QVERIFY(recording.openHandles.isEmpty());
    if (mismatch.isEmpty()) {
        QVERIFY(!exitCode);
        QVERIFY(fakes.messages.shown.isEmpty());
        return;
    }
    QCOMPARE(exitCode, std::optional<int>(zelvan::platform::ExitCode::RegionalSettings));
    QCOMPARE(fakes.messages.shown.size(), 1);
    QCOMPARE(fakes.messages.shown[0].text, Question);
    QCOMPARE(fakes.messages.shown[0].style, MsgBox::YesNo | MsgBox::Question);
    QCOMPARE(fakes.messages.shown[0].caption, zelvan::Program::title());
}

void TestRegionalSettings::accepted_data()
{
    QTest::addColumn<quint32>("version");
    QTest::addColumn<bool>("restart");

    QTest::newRow("Windows NT 4.0") << quint32(0x05650004) << true;
    QTest::newRow("Windows 2000") << quint32(0x08930005) << false;
    QTest::newRow("Windows XP") << quint32(0x0A280105) << false;
    QTest::newRow("Windows 7") << quint32(0x1DB10106) << false;
    QTest::newRow("Windows 10 as reported") << quint32(0x23F00206) << false;
    QTest::newRow("Windows NT 3.51") << quint32(0x04213303) << true;
    QTest::newRow("Windows 98 (-252)") << quint32(0xC0000A04) << true;
    QTest::newRow("top bit with low byte 5 (-251)") << quint32(0x80000005) << true;
    QTest::newRow("low byte 0") << quint32(0x00000000) << true;
    QTest::newRow("low byte 255") << quint32(0x000000FF) << false;
}

void TestRegionalSettings::accepted()
{
    QFETCH(quint32, version);
    QFETCH(bool, restart);

    // Only the short date is wrong; every value is written all the same.
    QVERIFY(m_registry->write(registryFile(u","_s, u"."_s, u"."_s, u"d.M.yyyy"_s,
                               u"\"iCountry\"=\"90\"\n\n[HKEY_CURRENT_USER\\DEF_NORVENT]\n\"DEF_KUL\"=\"ali\"\n"_s)));

    zelvan::test::FakeServices fakes;
    fakes.messages.answers = {MsgBox::Yes};
    FileRegistry file;
    zelvan::test::RecordingRegistry recording(file);
    zelvan::test::FakeSystemInfo system;
    system.version = version;
    auto services = fakes.services();
    services.registry = &recording;
    services.system = &system;
    zelvan::Program program(services, {});

    const std::optional<int> exitCode = check(program);

    QCOMPARE(recording.writes.size(), 4);
    const QList<QPair<QByteArray, QByteArray>> expectedWrites = {
        {"sDecimal", QByteArray(",\0", 2)},
        {"sThousand", QByteArray(".\0", 2)},
        {"sShortDate", QByteArray("dd.MM.yyyy\0", 11)},
        {"sDate", QByteArray(".\0", 2)},
    };
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(recording.writes[i].name, expectedWrites[i].first);
        QCOMPARE(recording.writes[i].type, Registry::TypeString);
        QCOMPARE(recording.writes[i].data, expectedWrites[i].second);
    }
    QVERIFY(recording.openHandles.isEmpty());
    QCOMPARE(m_registry->read(), registryFile(u","_s, u"."_s, u"."_s, u"dd.MM.yyyy"_s,
                                            u"\"iCountry\"=\"90\"\n\n[HKEY_CURRENT_USER\\DEF_NORVENT]\n"
                                            u"\"DEF_KUL\"=\"ali\"\n"_s));
    QCOMPARE(system.versionCalls, 1);
    QCOMPARE(fakes.messages.shown.first().text, Question);

    if (restart) {
        QCOMPARE(exitCode, std::optional<int>(zelvan::platform::ExitCode::RegionalSettings));
        QCOMPARE(fakes.messages.shown.size(), 2);
        QCOMPARE(fakes.messages.shown[1].text, RestartNotice);
        QCOMPARE(fakes.messages.shown[1].style, MsgBox::OkOnly | MsgBox::Information);
        QCOMPARE(fakes.messages.shown[1].caption, zelvan::Program::title());
        QCOMPARE(system.exitRequests, (QList<QPair<quint32, quint32>>{{2u, 0u}}));
        return;
    }
    QVERIFY(!exitCode);
    QCOMPARE(fakes.messages.shown.size(), 1);
    QVERIFY(system.exitRequests.isEmpty());
    QCOMPARE(program.vars.RegionalMismatch, QString());

    // The settings now pass without a question.
    QVERIFY(!check(program));
    QCOMPARE(fakes.messages.shown.size(), 1);
    QCOMPARE(recording.writes.size(), 4);
}

void TestRegionalSettings::workstationFormats_data()
{
    QTest::addColumn<QByteArray>("registry");
    QTest::addColumn<QStringList>("expected");  // decimal, thousands, short date, time

    QTest::newRow("required settings")
        << registryFile(u","_s, u"."_s, u"."_s, u"dd.MM.yyyy"_s, u"\"sTimeFormat\"=\"HH:mm:ss\"\n"_s)
        << QStringList{u","_s, u"."_s, u"dd.MM.yyyy"_s, u"HH:mm:ss"_s};
    QTest::newRow("other settings")
        << registryFile(u"."_s, u" "_s, u"/"_s, u"M/d/yyyy"_s, u"\"sTimeFormat\"=\"h:mm:ss tt\"\n"_s)
        << QStringList{u"."_s, u" "_s, u"M/d/yyyy"_s, u"h:mm:ss tt"_s};
    QTest::newRow("empty values")
        << registryFile(QString(u""_s), QString(u""_s), u"."_s, QString(u""_s), u"\"sTimeFormat\"=\"\"\n"_s)
        << QStringList{u","_s, u"."_s, u"dd.MM.yyyy"_s, u"HH:mm:ss"_s};
    QTest::newRow("no registry") << QByteArray()
                                 << QStringList{u","_s, u"."_s, u"dd.MM.yyyy"_s, u"HH:mm:ss"_s};
}

void TestRegionalSettings::workstationFormats()
{
    QFETCH(QByteArray, registry);
    QFETCH(QStringList, expected);

    if (!registry.isEmpty())
        QVERIFY(m_registry->write(registry));
    zelvan::test::FakeServices fakes;
    FileRegistry file;
    auto services = fakes.services();
    services.registry = &file;
    zelvan::Program program(services, {});
    const zelvan::WorkstationFormats formats = zelvan::readWorkstationFormats(program);
    QCOMPARE((QStringList{formats.decimalSeparator, formats.thousandsSeparator, formats.shortDate,
                          formats.timeFormat}),
             expected);
    QVERIFY(fakes.messages.shown.isEmpty());
}

QTEST_GUILESS_MAIN(TestRegionalSettings)
#include "tst_regionalsettings.moc"
