#include "program/program.h"
#include "program/regionalsettings.h"
#include "support/fakeservices.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan;
using namespace zelvan::program;
namespace MsgBox = platform::MsgBox;

// A No, a Yes that writes the settings and one whose writes do not take run end to end (tst_badinput), on a
// system of version 6. Here, what a Yes then asks of GetVersion: a restart below version 5, or with the top bit
// set (the Windows 95 family).
class TestRegionalSettings : public QObject
{
    Q_OBJECT

private slots:
    void restart_data()
    {
        QTest::addColumn<quint32>("version");
        QTest::addColumn<bool>("restart");
        QTest::newRow("Windows NT 4.0") << 0x05650004u << true;
        QTest::newRow("Windows 2000") << 0x08930005u << false;
        QTest::newRow("the Windows 95 family") << 0x80000005u << true;
    }
    void restart()
    {
        QFETCH(quint32, version);
        QFETCH(bool, restart);
        test::FakeServices fakes;
        QVERIFY(test::writeFile(fakes.registry->path(), "REGEDIT4\n"));
        fakes.messages.answers = {MsgBox::Yes};
        fakes.system.version = version;
        Program program(fakes.services(), {});
        QCOMPARE(test::exitCodeOf([&program] { CheckRegionalSettings(program); }), restart ? 6 : -1);
        QCOMPARE(fakes.system.exitRequests, decltype(fakes.system.exitRequests)(qsizetype(restart), qMakePair(2u, 0u)));  // EWX_REBOOT
        QCOMPARE(fakes.messages.shown.size(), 1 + int(restart));
        if (!restart)
            return;
        QCOMPARE(fakes.messages.shown[1].text, u"Sistem Ayarlanız Tamamlandı.Bilgisayarınızın Yeniden Başlatılması Gerekiyor"_s);
        QCOMPARE(fakes.messages.shown[1].style, MsgBox::OkOnly | MsgBox::Information);
    }
};

QTEST_GUILESS_MAIN(TestRegionalSettings)
#include "tst_regionalsettings.moc"
