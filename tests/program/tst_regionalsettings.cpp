#include "program/program.h"
#include "program/regionalsettings.h"
#include "support/fakeservices.h"
#include "support/recordingregistry.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan;
using namespace zelvan::program;
namespace MsgBox = platform::MsgBox;

namespace {
const QString OtherValues = u"\"iCountry\"=\"90\"\n\n[HKEY_CURRENT_USER\\DEF_NORVENT]\n\"DEF_KUL\"=\"ali\"\n"_s;

// A registry file with these regional settings, other keys and values after them.
QByteArray settings(QStringView decimal, QStringView thousands, QStringView date, QStringView shortDate,
                    const QString &more = OtherValues)
{
    return u"REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\International]\n\"sDecimal\"=\"%1\"\n\"sThousand\"=\"%2\"\n"
           u"\"sDate\"=\"%3\"\n\"sShortDate\"=\"%4\"\n"_s.arg(decimal, thousands, date, shortDate).append(more).toUtf8();
}
const QByteArray Correct = settings(u",", u".", u".", u"dd.MM.yyyy");
} // namespace

class TestRegionalSettings : public QObject
{
    Q_OBJECT

private slots:
    // A Yes writes all four settings, then asks GetVersion whether the system must restart: below version 5,
    // or with the top bit set (the Windows 95 family).
    void guard_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<quint32>("version");
        QTest::addColumn<QString>("mismatch");
        QTest::addColumn<bool>("restart");
        const QByteArray shortDate = settings(u",", u".", u".", u"d.M.yyyy");
        QTest::newRow("decimal point") << settings(u".", u".", u".", u"dd.MM.yyyy") << false << 0u << u"ONDALIK"_s << false;
        QTest::newRow("date slash") << settings(u",", u".", u"/", u"dd.MM.yyyy") << false << 0u << u"TARIH"_s << false;
        QTest::newRow("the last mismatch counts") << settings(u".", u",", u".", u"dd.MM.yyyy") << false << 0u << u"BASAMAK"_s << false;
        // Correct settings and a missing file run end to end.
        QTest::newRow("yes on Windows NT 4.0") << shortDate << true << 0x05650004u << u"TARIH"_s << true;
        QTest::newRow("yes on Windows 2000") << shortDate << true << 0x08930005u << QString() << false;
        QTest::newRow("yes on the Windows 95 family") << shortDate << true << 0x80000005u << u"TARIH"_s << true;
    }
    void guard()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, yes);
        QFETCH(quint32, version);
        QFETCH(bool, restart);
        test::FakeServices fakes;
        const QString path = fakes.registry->path();
        QVERIFY(test::writeFile(path, file));
        fakes.messages.answers = {yes ? MsgBox::Yes : MsgBox::No};
        fakes.system.version = version;
        test::RecordingRegistry registry{path};
        platform::Services services = fakes.services();
        services.registry = &registry;
        Program program(services, {});
        program.vars.RegionalMismatch = u"old"_s;
        const int exitCode = test::exitCodeOf([&program] { CheckRegionalSettings(program); });
        QTEST(program.vars.RegionalMismatch, "mismatch");
        QCOMPARE(exitCode, !yes || restart ? 6 : -1);
        QCOMPARE(fakes.system.exitRequests, decltype(fakes.system.exitRequests)(qsizetype(restart), qMakePair(2u, 0u)));  // EWX_REBOOT
        const QStringList texts{u"Programın Çalışabilmesi için Sistemin Ayarlanması Gerekiyor.\rEğer Onaylarsanız Bu ayarlar "
                                u"Yapılacaktır.\rOnaylıyormusunuz ?"_s,
                                u"Sistem Ayarlanız Tamamlandı.Bilgisayarınızın Yeniden Başlatılması Gerekiyor"_s};
        QCOMPARE(fakes.messages.texts(), texts.mid(0, 1 + int(yes && restart)));
        for (const auto &shown : fakes.messages.shown) {
            QCOMPARE(shown.caption, Program::title());
            QCOMPARE(shown.style, shown.text == texts[0] ? MsgBox::YesNo | MsgBox::Question : MsgBox::Information);
        }
        QByteArrayList names;  // in this order, the rest of the file kept
        for (const auto &write : registry.writes)
            names << write.name;
        QCOMPARE(names, (yes ? QByteArrayList{"sDecimal", "sThousand", "sShortDate", "sDate"} : QByteArrayList{}));
        QCOMPARE(test::readFile(path), yes ? Correct : file);
        QCOMPARE(fakes.system.versionCalls, int(yes));
    }

    void workstationFormats_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("decimal");
        QTest::addColumn<QString>("thousands");
        QTest::addColumn<QString>("shortDate");
        QTest::addColumn<QString>("time");
        QTest::newRow("as set") << settings(u".", u" ", u"/", u"M/d/yyyy", u"\"sTimeFormat\"=\"h:mm tt\"\n"_s) << u"."_s << u" "_s
                                << u"M/d/yyyy"_s << u"h:mm tt"_s;
        QTest::newRow("empty values") << settings({}, {}, u".", {}, u"\"sTimeFormat\"=\"\"\n"_s) << u","_s << u"."_s << u"dd.MM.yyyy"_s
                                      << u"HH:mm:ss"_s;
    }
    void workstationFormats()
    {
        QFETCH(QByteArray, file);
        test::FakeServices fakes;
        QVERIFY(test::writeFile(fakes.registry->path(), file));
        Program program(fakes.services(), {});
        const WorkstationFormats formats = readWorkstationFormats(program);
        QTEST(formats.decimalSeparator, "decimal");
        QTEST(formats.thousandsSeparator, "thousands");
        QTEST(formats.shortDate, "shortDate");
        QTEST(formats.timeFormat, "time");
    }

    // A Yes whose change does not take says so, naming where the settings are kept, and ends as a refusal does:
    // after the first setting that reads back otherwise, and before GetVersion is asked.
    void unsaved_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("windows");  // a registry that takes no writes, as Windows' may not
        QTest::addColumn<QByteArrayList>("written");
        const QByteArray shortDate = settings(u",", u".", u".", u"d.M.yyyy");
        QTest::newRow("file that cannot be read")
            << shortDate + '\0' << false << QByteArrayList{"sDecimal", "sThousand", "sShortDate"};
        QTest::newRow("writes not taken") << settings(u".", u".", u".", u"dd.MM.yyyy") << true << QByteArrayList{"sDecimal"};
    }
    void unsaved()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, windows);
        test::FakeServices fakes;
        const QString path = fakes.registry->path();
        QVERIFY(test::writeFile(path, file));
        fakes.messages.answers = {MsgBox::Yes};
        if (windows)
            fakes.registry = std::make_unique<DeafRegistry>(path);
        else
            fakes.registry = std::make_unique<test::RecordingRegistry>(path);
        Program program(fakes.services(), {});
        QCOMPARE(test::exitCodeOf([&program] { CheckRegionalSettings(program); }), 6);
        QCOMPARE(fakes.messages.shown.size(), 2);
        const QString location = windows ? u"HKEY_CURRENT_USER\\Control Panel\\International"_s : path;
        QCOMPARE(fakes.messages.shown[1].text, u"Bölge ayarları kaydedilemedi: "_s + location);
        QCOMPARE(fakes.messages.shown[1].style, MsgBox::OkOnly | MsgBox::Critical);
        QByteArrayList names;
        for (const auto &write : static_cast<test::RecordingRegistry &>(*fakes.registry).writes)
            names << write.name;
        QTEST(names, "written");
        QCOMPARE(test::readFile(path), file);
        QCOMPARE(fakes.system.versionCalls, 0);
    }

private:
    // Takes no writes and names its keys as the Windows registry does.
    struct DeafRegistry : test::RecordingRegistry
    {
        using test::RecordingRegistry::RecordingRegistry;
        long setValue(Key, const QByteArray &name, quint32 type, const QByteArray &data) override
        {
            writes.append({name, type, data});
            return Success;
        }
        QString keyLocation(const QString &keyPath) const override { return platform::Registry::keyLocation(keyPath); }
    };
};

QTEST_GUILESS_MAIN(TestRegionalSettings)
#include "tst_regionalsettings.moc"
