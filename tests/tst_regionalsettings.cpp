#include "platform/messageboxes.h"
#include "platform/programexit.h"
#include "startup/program.h"
#include "startup/regionalsettings.h"
#include "support/fakeservices.h"
#include "support/recordingregistry.h"
#include "support/zelvanrun.h"

#include <QTest>

#include <optional>

using namespace Qt::Literals::StringLiterals;
namespace MsgBox = zelvan::platform::MsgBox;
using zelvan::test::readFile;

namespace {

const QString Question = u"Programın Çalışabilmesi için Sistemin Ayarlanması Gerekiyor.\r"
                         u"Eğer Onaylarsanız Bu ayarlar Yapılacaktır.\r"
                         u"Onaylıyormusunuz ?"_s;
const QString RestartNotice = u"Sistem Ayarlanız Tamamlandı.Bilgisayarınızın Yeniden Başlatılması Gerekiyor"_s;

QByteArray settings(const QString &decimal, const QString &thousand, const QString &date, const QString &shortDate,
                    const QString &more = QString())
{
    return uR"(REGEDIT4

[HKEY_CURRENT_USER\Control Panel\International]
"sDecimal"="%1"
"sThousand"="%2"
"sDate"="%3"
"sShortDate"="%4"
)"_s.arg(decimal, thousand, date, shortDate).append(more).toUtf8();
}

// The guard run on a registry file (none when empty) with one answer.
struct Guard
{
    Guard(const QByteArray &file, int answer, quint32 version = 6)
    {
        QFile::remove(path);
        if (!file.isEmpty())
            QVERIFY(zelvan::test::writeFile(path, file));
        fakes.messages.answers = {answer};
        fakes.system.version = version;
        auto services = fakes.services();
        services.registry = &registry;
        zelvan::Program program(services, {});
        program.vars.RegionalMismatch = u"old"_s;
        try {
            zelvan::CheckRegionalSettings(program);
        } catch (const zelvan::platform::ProgramEnded &ended) {
            exitCode = ended.exitCode;
        }
        mismatch = program.vars.RegionalMismatch;
    }

    zelvan::test::FakeServices fakes;
    QString path = fakes.registry->path();
    zelvan::test::RecordingRegistry registry{path};
    std::optional<int> exitCode;
    QString mismatch;
};

void checkShown(const zelvan::test::RecordingMessageBoxes::Shown &shown, const QString &text, int style)
{
    QCOMPARE(shown.text, text);
    QCOMPARE(shown.style, style);
    QCOMPARE(shown.caption, zelvan::Program::title());
}

} // namespace

class TestRegionalSettings : public QObject
{
    Q_OBJECT

private slots:
    void refused_data();
    void refused();
    void accepted_data();
    void accepted();
    void workstationFormats_data();
    void workstationFormats();
};

void TestRegionalSettings::refused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("mismatch");  // empty: nothing is asked

    QTest::newRow("all correct") << settings(u","_s, u"."_s, u"."_s, u"dd.MM.yyyy"_s) << QString();
    QTest::newRow("decimal point") << settings(u"."_s, u"."_s, u"."_s, u"dd.MM.yyyy"_s) << u"ONDALIK"_s;
    QTest::newRow("thousands comma") << settings(u","_s, u","_s, u"."_s, u"dd.MM.yyyy"_s) << u"BASAMAK"_s;
    QTest::newRow("date slash") << settings(u","_s, u"."_s, u"/"_s, u"dd.MM.yyyy"_s) << u"TARIH"_s;
    QTest::newRow("one-digit day") << settings(u","_s, u"."_s, u"."_s, u"d.M.yyyy"_s) << u"TARIH"_s;
    QTest::newRow("short date in capitals") << settings(u","_s, u"."_s, u"."_s, u"DD.MM.YYYY"_s) << u"TARIH"_s;
    QTest::newRow("the last mismatch counts") << settings(u"."_s, u","_s, u"."_s, u"dd.MM.yyyy"_s) << u"BASAMAK"_s;
    QTest::newRow("no file") << QByteArray() << u"TARIH"_s;
}

void TestRegionalSettings::refused()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, mismatch);

    const Guard guard(file, MsgBox::No);
    QCOMPARE(guard.mismatch, mismatch);
    QVERIFY(guard.registry.writes.isEmpty());
    QCOMPARE(QFile::exists(guard.path), !file.isEmpty());
    QCOMPARE(guard.exitCode, mismatch.isEmpty() ? std::nullopt : std::optional(6));
    QCOMPARE(guard.fakes.messages.shown.size(), mismatch.isEmpty() ? 0 : 1);
    if (!mismatch.isEmpty())
        checkShown(guard.fakes.messages.shown[0], Question, MsgBox::YesNo | MsgBox::Question);
}

void TestRegionalSettings::accepted_data()
{
    QTest::addColumn<quint32>("version");  // GetVersion: the low byte is the major version
    QTest::addColumn<bool>("restart");

    QTest::newRow("Windows NT 4.0") << quint32(0x05650004) << true;
    QTest::newRow("Windows 2000") << quint32(0x08930005) << false;
    QTest::newRow("Windows 95 family: top bit set") << quint32(0x80000005) << true;
    QTest::newRow("low byte 255") << quint32(0x000000FF) << false;
}

void TestRegionalSettings::accepted()
{
    QFETCH(quint32, version);
    QFETCH(bool, restart);

    // Only the short date is wrong; all four are written, in this order, the rest kept.
    const QString more = u"\"iCountry\"=\"90\"\n\n[HKEY_CURRENT_USER\\DEF_NORVENT]\n\"DEF_KUL\"=\"ali\"\n"_s;
    const Guard guard(settings(u","_s, u"."_s, u"."_s, u"d.M.yyyy"_s, more), MsgBox::Yes, version);
    QByteArrayList names;
    for (const auto &write : guard.registry.writes)
        names.append(write.name);
    QCOMPARE(names, (QByteArrayList{"sDecimal", "sThousand", "sShortDate", "sDate"}));
    QCOMPARE(readFile(guard.path), settings(u","_s, u"."_s, u"."_s, u"dd.MM.yyyy"_s, more));
    QCOMPARE(guard.fakes.system.versionCalls, 1);

    const auto &shown = guard.fakes.messages.shown;
    QCOMPARE(shown.size(), restart ? 2 : 1);
    QCOMPARE(guard.exitCode, restart ? std::optional(6) : std::nullopt);
    QCOMPARE(guard.fakes.system.exitRequests.size(), restart ? 1 : 0);
    if (restart) {
        checkShown(shown[1], RestartNotice, MsgBox::OkOnly | MsgBox::Information);
        QCOMPARE(guard.fakes.system.exitRequests[0], qMakePair(2u, 0u));  // EWX_REBOOT
    } else {
        QCOMPARE(guard.mismatch, QString());
    }
}

void TestRegionalSettings::workstationFormats_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("expected");  // decimal, thousands, short date, time

    QTest::newRow("other settings") << settings(u"."_s, u" "_s, u"/"_s, u"M/d/yyyy"_s, u"\"sTimeFormat\"=\"h:mm tt\"\n"_s)
                                    << QStringList{u"."_s, u" "_s, u"M/d/yyyy"_s, u"h:mm tt"_s};
    QTest::newRow("empty values") << settings({}, {}, u"."_s, {}, u"\"sTimeFormat\"=\"\"\n"_s)
                                  << QStringList{u","_s, u"."_s, u"dd.MM.yyyy"_s, u"HH:mm:ss"_s};
}

void TestRegionalSettings::workstationFormats()
{
    QFETCH(QByteArray, file);
    zelvan::test::FakeServices fakes;
    QVERIFY(zelvan::test::writeFile(fakes.registry->path(), file));
    zelvan::Program program(fakes.services(), {});
    const zelvan::WorkstationFormats formats = zelvan::readWorkstationFormats(program);
    QTEST((QStringList{formats.decimalSeparator, formats.thousandsSeparator, formats.shortDate, formats.timeFormat}),
          "expected");
}

QTEST_GUILESS_MAIN(TestRegionalSettings)
#include "tst_regionalsettings.moc"
