#include "program/program.h"
#include "program/regionalsettings.h"
#include "support/fakeservices.h"
#include "support/recordingregistry.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan;
using namespace zelvan::program;
namespace MsgBox = platform::MsgBox;

// A registry file whose regional settings are "decimal|thousands|date|short date", other keys and values after them.
static QByteArray settings(const QString &values, const QString &more = u"\"iCountry\"=\"90\"\n\n[HKEY_CURRENT_USER\\DEF_NORVENT]\n\"DEF_KUL\"=\"ali\"\n"_s)
{
    const QStringList v = values.split(u'|');
    return u"REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\International]\n\"sDecimal\"=\"%1\"\n\"sThousand\"=\"%2\"\n"
           u"\"sDate\"=\"%3\"\n\"sShortDate\"=\"%4\"\n"_s.arg(v[0], v[1], v[2], v[3]).append(more).toUtf8();
}

class TestRegionalSettings : public QObject
{
    Q_OBJECT

private slots:
    void guard_data()
    {
        QTest::addColumn<QString>("file");        // as settings() takes it; empty: no file
        QTest::addColumn<quint32>("version");     // GetVersion, for a Yes: the low byte is the major version
        QTest::addColumn<QString>("mismatch");    // empty: nothing is asked
        QTest::addColumn<bool>("restart");
        QTest::newRow("all correct") << u",|.|.|dd.MM.yyyy"_s << 0u << QString() << false;
        QTest::newRow("decimal point, no") << u".|.|.|dd.MM.yyyy"_s << 0u << u"ONDALIK"_s << false;
        QTest::newRow("thousands comma, no") << u",|,|.|dd.MM.yyyy"_s << 0u << u"BASAMAK"_s << false;
        QTest::newRow("date slash, no") << u",|.|/|dd.MM.yyyy"_s << 0u << u"TARIH"_s << false;
        QTest::newRow("short date in capitals, no") << u",|.|.|DD.MM.YYYY"_s << 0u << u"TARIH"_s << false;
        QTest::newRow("the last mismatch counts, no") << u".|,|.|dd.MM.yyyy"_s << 0u << u"BASAMAK"_s << false;
        QTest::newRow("no file, no") << QString() << 0u << u"TARIH"_s << false;
        // Only the short date is wrong; a Yes writes all four.
        QTest::newRow("yes on Windows NT 4.0") << u",|.|.|d.M.yyyy"_s << 0x05650004u << u"TARIH"_s << true;
        QTest::newRow("yes on Windows 2000") << u",|.|.|d.M.yyyy"_s << 0x08930005u << QString() << false;
        QTest::newRow("yes on Windows 95 family: top bit set") << u",|.|.|d.M.yyyy"_s << 0x80000005u << u"TARIH"_s << true;
        QTest::newRow("yes, low byte 255") << u",|.|.|d.M.yyyy"_s << 0x000000FFu << QString() << false;
    }
    void guard()
    {
        QFETCH(QString, file);
        QFETCH(quint32, version);
        QFETCH(QString, mismatch);
        QFETCH(bool, restart);
        const bool yes = version != 0;
        test::FakeServices fakes;
        const QString path = fakes.registry->path();
        QVERIFY(file.isEmpty() ? QFile::remove(path) : test::writeFile(path, settings(file)));
        fakes.messages.answers = {yes ? platform::MsgBox::Yes : platform::MsgBox::No}, fakes.system.version = version;
        test::RecordingRegistry registry{path};
        Program program([&] { auto services = fakes.services(); services.registry = &registry; return services; }(), {});
        program.vars.RegionalMismatch = u"old"_s;
        int exitCode = -1;
        try { CheckRegionalSettings(program); } catch (const platform::ProgramEnded &ended) { exitCode = ended.exitCode; }
        QCOMPARE(program.vars.RegionalMismatch, mismatch);
        QCOMPARE(exitCode, (yes ? restart : !mismatch.isEmpty()) ? 6 : -1);
        QCOMPARE(fakes.system.exitRequests, decltype(fakes.system.exitRequests)(qsizetype(restart), qMakePair(2u, 0u)));  // EWX_REBOOT
        QCOMPARE(fakes.messages.texts(), (QStringList{u"Programın Çalışabilmesi için Sistemin Ayarlanması Gerekiyor.\rEğer Onaylarsanız Bu ayarlar "
                                                      u"Yapılacaktır.\rOnaylıyormusunuz ?"_s, u"Sistem Ayarlanız Tamamlandı.Bilgisayarınızın "
                                                      u"Yeniden Başlatılması Gerekiyor"_s}).mid(0, yes ? 1 + restart : !mismatch.isEmpty()));
        for (const auto &shown : fakes.messages.shown)
            QVERIFY(shown.caption == Program::title() && shown.style == (shown.text.endsWith(u'?') ? platform::MsgBox::YesNo | platform::MsgBox::Question : platform::MsgBox::Information));
        QByteArrayList names;  // in this order, the rest of the file kept
        for (const auto &write : registry.writes) names << write.name;
        QCOMPARE(names, (yes ? QByteArrayList{"sDecimal", "sThousand", "sShortDate", "sDate"} : QByteArrayList{}));
        QCOMPARE(test::readFile(path), yes ? settings(u",|.|.|dd.MM.yyyy"_s) : file.isEmpty() ? QByteArray() : settings(file));
        QCOMPARE(fakes.system.versionCalls, int(yes));
    }

    void workstationFormats()
    {
        for (const auto &[file, expected] : {std::pair{settings(u".| |/|M/d/yyyy"_s, u"\"sTimeFormat\"=\"h:mm tt\"\n"_s), u".| |M/d/yyyy|h:mm tt"_s},
                                             {settings(u"||.|"_s, u"\"sTimeFormat\"=\"\"\n"_s), u",|.|dd.MM.yyyy|HH:mm:ss"_s}}) {
            test::FakeServices fakes;
            QVERIFY(test::writeFile(fakes.registry->path(), file));
            Program program(fakes.services(), {});
            const WorkstationFormats formats = readWorkstationFormats(program);
            QCOMPARE(QStringList({formats.decimalSeparator, formats.thousandsSeparator, formats.shortDate, formats.timeFormat}).join(u'|'), expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestRegionalSettings)
#include "tst_regionalsettings.moc"
