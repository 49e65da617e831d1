#include "platform/messageboxes.h"
#include "platform/programexit.h"
#include "startup/program.h"
#include "startup/regionalsettings.h"
#include "support/fakeservices.h"
#include "support/recordingregistry.h"
#include "support/zelvanrun.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan;
namespace MsgBox = platform::MsgBox;

namespace {

QByteArray settings(const QString &decimal, const QString &thousand, const QString &date, const QString &shortDate,
                    const QString &more = QString())
{
    return u"REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\International]\n\"sDecimal\"=\"%1\"\n\"sThousand\"=\"%2\"\n"
           u"\"sDate\"=\"%3\"\n\"sShortDate\"=\"%4\"\n"_s.arg(decimal, thousand, date, shortDate).append(more).toUtf8();
}

} // namespace

class TestRegionalSettings : public QObject
{
    Q_OBJECT

private slots:
    void guard_data()
    {
        QTest::addColumn<QByteArray>("file");     // empty: no file
        QTest::addColumn<quint32>("version");     // GetVersion, for a Yes: the low byte is the major version
        QTest::addColumn<QString>("mismatch");    // empty: nothing is asked
        QTest::addColumn<bool>("restart");

        const QString ok = u"dd.MM.yyyy"_s;
        QTest::newRow("all correct") << settings(u","_s, u"."_s, u"."_s, ok) << 0u << QString() << false;
        QTest::newRow("decimal point, no") << settings(u"."_s, u"."_s, u"."_s, ok) << 0u << u"ONDALIK"_s << false;
        QTest::newRow("thousands comma, no") << settings(u","_s, u","_s, u"."_s, ok) << 0u << u"BASAMAK"_s << false;
        QTest::newRow("date slash, no") << settings(u","_s, u"."_s, u"/"_s, ok) << 0u << u"TARIH"_s << false;
        QTest::newRow("short date in capitals, no") << settings(u","_s, u"."_s, u"."_s, u"DD.MM.YYYY"_s) << 0u << u"TARIH"_s
                                                    << false;
        QTest::newRow("the last mismatch counts, no") << settings(u"."_s, u","_s, u"."_s, ok) << 0u << u"BASAMAK"_s << false;
        QTest::newRow("no file, no") << QByteArray() << 0u << u"TARIH"_s << false;
        // Only the short date is wrong; a Yes writes all four.
        QTest::newRow("yes on Windows NT 4.0") << QByteArray() << 0x05650004u << u"TARIH"_s << true;
        QTest::newRow("yes on Windows 2000") << QByteArray() << 0x08930005u << QString() << false;
        QTest::newRow("yes on Windows 95 family: top bit set") << QByteArray() << 0x80000005u << u"TARIH"_s << true;
        QTest::newRow("yes, low byte 255") << QByteArray() << 0x000000FFu << QString() << false;
    }
    void guard()
    {
        QFETCH(QByteArray, file);
        QFETCH(quint32, version);
        QFETCH(QString, mismatch);
        QFETCH(bool, restart);
        const QString more = u"\"iCountry\"=\"90\"\n\n[HKEY_CURRENT_USER\\DEF_NORVENT]\n\"DEF_KUL\"=\"ali\"\n"_s;
        const bool yes = version != 0;
        if (yes)
            file = settings(u","_s, u"."_s, u"."_s, u"d.M.yyyy"_s, more);

        test::FakeServices fakes;
        const QString path = fakes.registry->path();
        QFile::remove(path);
        QVERIFY(file.isEmpty() || test::writeFile(path, file));
        fakes.messages.answers = {yes ? MsgBox::Yes : MsgBox::No};
        fakes.system.version = version;
        test::RecordingRegistry registry{path};
        auto services = fakes.services();
        services.registry = &registry;
        Program program(services, {});
        program.vars.RegionalMismatch = u"old"_s;
        int exitCode = -1;
        try {
            CheckRegionalSettings(program);
        } catch (const platform::ProgramEnded &ended) {
            exitCode = ended.exitCode;
        }
        QCOMPARE(program.vars.RegionalMismatch, mismatch);
        QCOMPARE(exitCode, (yes ? restart : !mismatch.isEmpty()) ? 6 : -1);
        const auto &shown = fakes.messages.shown;
        QCOMPARE(shown.size(), yes ? 1 + restart : !mismatch.isEmpty());
        QCOMPARE(fakes.system.exitRequests.size(), restart ? 1 : 0);
        QVERIFY(!restart || fakes.system.exitRequests[0] == qMakePair(2u, 0u));  // EWX_REBOOT
        for (int i = 0; i < shown.size(); ++i) {
            QCOMPARE(shown[i].caption, Program::title());
            QCOMPARE(shown[i].text, i == 0 ? u"Programın Çalışabilmesi için Sistemin Ayarlanması Gerekiyor.\rEğer Onaylarsanız "
                                             u"Bu ayarlar Yapılacaktır.\rOnaylıyormusunuz ?"_s
                                           : u"Sistem Ayarlanız Tamamlandı.Bilgisayarınızın Yeniden Başlatılması Gerekiyor"_s);
            QCOMPARE(shown[i].style, i == 0 ? MsgBox::YesNo | MsgBox::Question : MsgBox::OkOnly | MsgBox::Information);
        }
        if (!yes) {
            QVERIFY(registry.writes.isEmpty());
            QCOMPARE(QFile::exists(path), !file.isEmpty());
            return;
        }
        QByteArrayList names;  // in this order, the rest of the file kept
        for (const auto &write : registry.writes)
            names.append(write.name);
        QCOMPARE(names, (QByteArrayList{"sDecimal", "sThousand", "sShortDate", "sDate"}));
        QCOMPARE(test::readFile(path), settings(u","_s, u"."_s, u"."_s, u"dd.MM.yyyy"_s, more));
        QCOMPARE(fakes.system.versionCalls, 1);
    }

    void workstationFormats_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("expected");  // decimal, thousands, short date, time
        QTest::newRow("other settings") << settings(u"."_s, u" "_s, u"/"_s, u"M/d/yyyy"_s, u"\"sTimeFormat\"=\"h:mm tt\"\n"_s)
                                        << QStringList{u"."_s, u" "_s, u"M/d/yyyy"_s, u"h:mm tt"_s};
        QTest::newRow("empty values") << settings({}, {}, u"."_s, {}, u"\"sTimeFormat\"=\"\"\n"_s)
                                      << QStringList{u","_s, u"."_s, u"dd.MM.yyyy"_s, u"HH:mm:ss"_s};
    }
    void workstationFormats()
    {
        QFETCH(QByteArray, file);
        test::FakeServices fakes;
        QVERIFY(test::writeFile(fakes.registry->path(), file));
        Program program(fakes.services(), {});
        const WorkstationFormats formats = readWorkstationFormats(program);
        QTEST((QStringList{formats.decimalSeparator, formats.thousandsSeparator, formats.shortDate, formats.timeFormat}),
              "expected");
    }
};

QTEST_GUILESS_MAIN(TestRegionalSettings)
#include "tst_regionalsettings.moc"
