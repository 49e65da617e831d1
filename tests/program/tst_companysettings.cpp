#include "program/companysettings.h"
#include "program/program.h"
#include "runtime/err.h"
#include "support/fakeservices.h"
#include "support/testinstance.h"

#include <QDir>
#include <QTest>

using namespace zelvan;
using namespace zelvan::program;
using namespace Qt::Literals::StringLiterals;
namespace MsgBox = platform::MsgBox;

class TestCompanySettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // LoadCompanySettings on the standard instance changed by `change`: "column=value" sets the company
    // row's columns, "column:TYPE=value" first gives the column another type (the old one stays under
    // another name), other text is a statement. Outcome "names=values": the variables as loaded;
    // "!N description": the general failure after N messages of the query; "?answer": the updater offered.
    void load_data()
    {
        for (const char *column : {"change", "outcome", "database"})
            QTest::addColumn<QString>(column);
        const auto add = [](const char *name, const QString &change, const QString &outcome) { QTest::newRow(name) << change << outcome << u"FIRMA"_s; };
        const QString overflow = u"!0 "_s + runtime::overflowError().description();
        const QString mismatch = u"!0 "_s + runtime::typeMismatchError().description();
        add("every column", u"AnaParaVirgul=0, KurVirgul=1, KasaHareketListeTipi=3"_s, u"name,end,formats,flags,levels,kdv,kredi=Deneme "
            u"Ticaret A.Ş.|2026-12-31|#,##0 #,##0.0000 #,##0.00 #,##0.0000 #,##0.0|11100|200 16711680 8421504 3|20|50000"_s);
        add("id text with blanks", u"sysfrm_ID:NVARCHAR(20)=' 12 '"_s, u"id=12"_s);
        add("id 12.7 rounds down", u"sysfrm_ID:FLOAT=12.7"_s, u"id=12"_s);
        add("id -1.5 rounds down", u"sysfrm_ID:FLOAT=-1.5"_s, u"id=-2"_s);
        add("name trimmed", u"sysfrm_nm='  Kaya A.Ş.  '"_s, u"name=Kaya A.Ş."_s);
        add("decimals below 0", u"AnaParaVirgul=-3"_s, u"amount=#,##0"_s);
        add("decimals 2.5 to even", u"AnaParaVirgul:FLOAT=2.5"_s, u"amount=#,##0.00"_s);
        add("decimals 3.5 to even", u"AnaParaVirgul:FLOAT=3.5"_s, u"amount=#,##0.0000"_s);
        add("flag from a whole number", u"DovizVar:INT=5"_s, u"flags=11110"_s);
        add("byte 255", u"OzelRenkli=255"_s, u"ozel=255"_s);
        add("credit limit NULL is 0", u"KrediLimiti=NULL"_s, u"kredi=0"_s);
        add("cash list NULL is 1", u"KasaHareketListeTipi=NULL"_s, u"levels=200 16711680 8421504 1"_s);
        add("cash list empty text is 1", u"KasaHareketListeTipi:NVARCHAR(20)=''"_s, u"levels=200 16711680 8421504 1"_s);
        add("VAT NULL keeps the value", u"DefKDV=NULL"_s, u"kdv=18"_s);
        add("VAT empty text keeps the value", u"DefKDV:NVARCHAR(20)=''"_s, u"kdv=18"_s);
        add("VAT 0 is a value", u"DefKDV=0"_s, u"kdv=0"_s);
        add("the first of two rows", u"INSERT INTO sysfrmlng(sysfrm_ID, sysfrm_nm, sysfrm_dbnm) VALUES (0, 'İkinci', 'FIRMA')"_s,
            u"name=Deneme Ticaret A.Ş."_s);

        QTest::newRow("no row") << QString() << u"!0 "_s + runtime::noCurrentRecordError().description() << u"BASKA"_s;
        QTest::newRow("apostrophe in the name") << QString() << u"!2 "_s + runtime::objectClosedError().description() << u"FIR'MA"_s;
        add("id above 32767", u"sysfrm_ID=40000"_s, overflow);
        add("NULL name", u"sysfrm_nm=NULL"_s, u"!0 "_s + runtime::invalidUseOfNullError().description());
        add("byte above 255", u"StokMinSeviye=256"_s, overflow);
        add("byte below 0", u"StokSFRSeviye=-1"_s, overflow);
        add("text in a number", u"KurVirgul:NVARCHAR(20)='iki'"_s, mismatch);
        add("no date", u"Mali_Yil_Bitis:NVARCHAR(20)='yıl sonu'"_s, mismatch);
        add("credit limit empty text", u"KrediLimiti:NVARCHAR(20)=''"_s, mismatch);

        const QString missing = u"ALTER TABLE sysfrmlng RENAME COLUMN KasaHareketListeTipi TO Eski"_s;
        add("missing column, no", missing, u"?no"_s);
        add("missing column, yes, updater there", missing, u"?yes"_s);
        add("missing column, yes, updater absent", missing, u"?yes absent"_s);
    }
    void load()
    {
        QFETCH(QString, change);
        QFETCH(QString, outcome);
        QFETCH(QString, database);
        test::FakeServices fakes;
        const bool yes = outcome.startsWith(u"?yes"), present = outcome != u"?yes absent";
        const QString updater = QDir(fakes.programDir).filePath(u"Verkon.exe"_s);
        fakes.messages.answers = {yes ? platform::MsgBox::Yes : platform::MsgBox::No};
        fakes.launcher.present = QStringList(updater).mid(present ? 0 : 1);
        test::TestInstance instance;
        test::addStandardDatabases(instance);
        const QString column = change.section(u'=', 0, 0).section(u':', 0, 0), type = change.section(u'=', 0, 0).section(u':', 1);
        const QString update = change.contains(u'=') ? u"UPDATE sysfrmlng SET %1=%2"_s.arg(column, change.section(u'=', 1)) : change;
        instance.run(u"Defination_DB"_s, {type.isEmpty() ? update : u"ALTER TABLE sysfrmlng RENAME COLUMN %1 TO old_%1; ALTER TABLE sysfrmlng "
                                                                    u"ADD COLUMN %1 %2; "_s.arg(column, type) + update});
        Program program(fakes.services(), CommandLine());
        program.vars.DatabaseName = database, program.vars.DefKDV = runtime::Currency::fromInt(18);
        program.vars.DbConnection = std::make_shared<database::Connection>();
        program.vars.DbConnection->open(instance.connectionString(u"FIRMA"_s, u"zelvan"_s, u"parola"_s));
        int exitCode = -1;
        try { LoadCompanySettings(program); } catch (const platform::ProgramEnded &ended) { exitCode = ended.exitCode; }
        const auto &shown = fakes.messages.shown;
        const Degiskenler &v = program.vars;
        const bool ends = outcome.startsWith(u'?') || outcome.startsWith(u'!');
        QCOMPARE((QList<int>{exitCode, int(shown.isEmpty())}), (QList<int>{ends ? 4 : -1, int(!ends)}));

        if (outcome.startsWith(u'?')) {
            QCOMPARE(fakes.messages.texts(), (QStringList{u"Norvent Tanımlama VeriTabanında Eksik Alanara Rastladı. güncelleştirme Çalıştırmak "
                                                          u"Gerekebilir.\rŞimdi Güncelleme Çalıştırmak İstiyormusunuz?.Lütfen Bu İşlemi program "
                                                          u"Satıcınıza Danışmadan Onaylamayınız."_s,
                                                          u"Sistem Bu Haliyle Çalışamaz Durumda ve Veritabanı Konfigürasyon Dosyasına Ulaşılamadı.\r"
                                                          u"Lütfen Pogram Satıcınızla Görüşünüz."_s}).mid(0, yes && !present ? 2 : 1));
            QVERIFY(shown[0].style == (platform::MsgBox::YesNo | platform::MsgBox::Question) && (shown.size() == 1 || shown[1].style == platform::MsgBox::OkOnly));
            QCOMPARE(fakes.launcher.started, yes && present ? QStringList{updater} : QStringList());
            QCOMPARE(v.KrediLimiti.toString(), u"50000"_s);  // every column read before the missing one is loaded
        } else if (outcome.startsWith(u'!')) {
            QVERIFY(shown.size() == outcome.mid(1, 1).toInt() + 1 && shown.last().style == platform::MsgBox::Information);
            QCOMPARE(shown.last().text, u"Norvent Tanımlam Veritabanıyla İlgili Bir Hata Tespit Etti. Sistem Bu Haliye "
                                        u"Çalışmaz.Bunun İçin Özür Dileriz. Lütfen Program Satıcınızla Görüşünüz."_s);
            QCOMPARE(shown.last().caption, u"Norvent:"_s + outcome.mid(3));
        } else {
            const QMap<QString, QString> actual{
                {u"id"_s, QString::number(v.sysfrm_ID)}, {u"name"_s, v.sysfrm_nm}, {u"end"_s, v.Mali_Yil_Bitis.date().toString(Qt::ISODate)},
                {u"formats"_s, QStringList{v.AmountFormat, v.UnitPriceFormat, v.ForeignAmountFormat, v.ForeignUnitPriceFormat, v.RateFormat}.join(u' ')},
                {u"flags"_s, u"%1%2%3%4%5"_s.arg(int(v.PosVar)).arg(int(v.BarkodVar)).arg(int(v.KDV_Dahildir)).arg(int(v.DovizVar)).arg(int(v.HareketKilit))},
                {u"levels"_s, u"%1 %2 %3 %4"_s.arg(int(v.StokMaxSeviye)).arg(v.Renk_Doviz).arg(v.StokSFRRenk).arg(v.KasaHareketListeTipi)},
                {u"kdv"_s, v.DefKDV.toString()}, {u"kredi"_s, v.KrediLimiti.toString()}, {u"ozel"_s, QString::number(v.OzelRenkli)},
                {u"amount"_s, v.AmountFormat}};
            QStringList loaded;
            for (const QString &name : outcome.section(u'=', 0, 0).split(u',')) loaded << actual.value(name);
            QCOMPARE(loaded.join(u'|'), outcome.section(u'=', 1));
        }
    }
};

QTEST_GUILESS_MAIN(TestCompanySettings)
#include "tst_companysettings.moc"
