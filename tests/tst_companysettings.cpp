#include "platform/err.h"
#include "platform/messageboxes.h"
#include "startup/companysettings.h"
#include "startup/program.h"
#include "support/fakeservices.h"
#include "support/testinstance.h"

#include <QDir>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

namespace {

// Gives a column of the company row another type and value; the old column stays under another name.
QStringList retype(const QString &column, const QString &type, const QString &value)
{
    return {u"ALTER TABLE sysfrmlng RENAME COLUMN %1 TO old_%1"_s.arg(column),
            u"ALTER TABLE sysfrmlng ADD COLUMN %1 %2"_s.arg(column, type), u"UPDATE sysfrmlng SET %1=%2"_s.arg(column, value)};
}

QStringList set(const QString &column, const QString &value)
{
    return {u"UPDATE sysfrmlng SET %1=%2"_s.arg(column, value)};
}

// LoadCompanySettings on the standard instance changed by `statements`.
struct Load
{
    explicit Load(const QStringList &statements, const QString &database = u"FIRMA"_s, QList<int> answers = {},
                  bool updaterPresent = false)
    {
        test::TestInstance instance;
        test::addStandardDatabases(instance);
        instance.run(u"Defination_DB"_s, statements);
        fakes.messages.answers = answers;
        if (updaterPresent)
            fakes.starter.present.append(QDir(fakes.programDir).filePath(u"Verkon.exe"_s));
        Program program(fakes.services(), platform::CommandLine());
        program.vars.DatabaseName = database;
        program.vars.DefKDV = platform::Currency::fromInt(18);
        program.vars.DbConnection = std::make_shared<platform::Connection>();
        program.vars.DbConnection->open(instance.connectionString(u"FIRMA"_s, u"zelvan"_s, u"parola"_s));
        try {
            LoadCompanySettings(program);
        } catch (const platform::ProgramEnded &ended) {
            exitCode = ended.exitCode;
        }
        vars = program.vars;
    }

    test::FakeServices fakes;
    int exitCode = -1;  // -1: returned
    Degiskenler vars;
};

} // namespace

class TestCompanySettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A value as loaded, or "!N description": the general failure after N messages of the query.
    void columns_data()
    {
        QTest::addColumn<QStringList>("statements");
        for (const char *column : {"database", "variable", "expected"})
            QTest::addColumn<QString>(column);

        const auto add = [](const char *name, const QStringList &statements, const QString &variable, const QString &expected,
                            const QString &database = u"FIRMA"_s) {
            QTest::newRow(name) << statements << database << variable << expected;
        };
        const QString overflow = u"!0 "_s + platform::overflowError().description();
        const QString mismatch = u"!0 "_s + platform::typeMismatchError().description();
        const QString text = u"NVARCHAR(20)"_s;
        add("every column", set(u"AnaParaVirgul=0, KurVirgul=1, KasaHareketListeTipi"_s, u"3"_s), u"all"_s,
            u"Deneme Ticaret A.Ş.|2026-12-31|#,##0 #,##0.0000 #,##0.00 #,##0.0000 #,##0.0|11100|200 16711680 8421504 3|20 50000"_s);
        add("id text with blanks", retype(u"sysfrm_ID"_s, text, u"' 12 '"_s), u"id"_s, u"12"_s);
        add("id 12.7 rounds down", retype(u"sysfrm_ID"_s, u"FLOAT"_s, u"12.7"_s), u"id"_s, u"12"_s);
        add("id -1.5 rounds down", retype(u"sysfrm_ID"_s, u"FLOAT"_s, u"-1.5"_s), u"id"_s, u"-2"_s);
        add("name trimmed", set(u"sysfrm_nm"_s, u"'  Kaya A.Ş.  '"_s), u"name"_s, u"Kaya A.Ş."_s);
        add("decimals below 0", set(u"AnaParaVirgul"_s, u"-3"_s), u"amount"_s, u"#,##0"_s);
        add("decimals 2.5 to even", retype(u"AnaParaVirgul"_s, u"FLOAT"_s, u"2.5"_s), u"amount"_s, u"#,##0.00"_s);
        add("decimals 3.5 to even", retype(u"AnaParaVirgul"_s, u"FLOAT"_s, u"3.5"_s), u"amount"_s, u"#,##0.0000"_s);
        add("flag from a whole number", retype(u"DovizVar"_s, u"INT"_s, u"5"_s), u"doviz"_s, u"true"_s);
        add("byte 255", set(u"OzelRenkli"_s, u"255"_s), u"ozel"_s, u"255"_s);
        add("credit limit NULL is 0", set(u"KrediLimiti"_s, u"NULL"_s), u"kredi"_s, u"0"_s);
        add("cash list NULL is 1", set(u"KasaHareketListeTipi"_s, u"NULL"_s), u"kasa"_s, u"1"_s);
        add("cash list empty text is 1", retype(u"KasaHareketListeTipi"_s, text, u"''"_s), u"kasa"_s, u"1"_s);
        add("VAT NULL keeps the value", set(u"DefKDV"_s, u"NULL"_s), u"kdv"_s, u"18"_s);
        add("VAT empty text keeps the value", retype(u"DefKDV"_s, text, u"''"_s), u"kdv"_s, u"18"_s);
        add("VAT 0 is a value", set(u"DefKDV"_s, u"0"_s), u"kdv"_s, u"0"_s);
        add("the first of two rows",
            {u"INSERT INTO sysfrmlng(sysfrm_ID, sysfrm_nm, sysfrm_dbnm) VALUES (0, 'İkinci', 'FIRMA')"_s}, u"name"_s,
            u"Deneme Ticaret A.Ş."_s);

        add("no row", {}, {}, u"!0 "_s + platform::noCurrentRecordError().description(), u"BASKA"_s);
        add("apostrophe in the name", {}, {}, u"!2 "_s + platform::objectClosedError().description(), u"FIR'MA"_s);
        add("id above 32767", set(u"sysfrm_ID"_s, u"40000"_s), {}, overflow);
        add("NULL name", set(u"sysfrm_nm"_s, u"NULL"_s), {}, u"!0 "_s + platform::invalidUseOfNullError().description());
        add("byte above 255", set(u"StokMinSeviye"_s, u"256"_s), {}, overflow);
        add("byte below 0", set(u"StokSFRSeviye"_s, u"-1"_s), {}, overflow);
        add("text in a number", retype(u"KurVirgul"_s, text, u"'iki'"_s), {}, mismatch);
        add("no date", retype(u"Mali_Yil_Bitis"_s, text, u"'yıl sonu'"_s), {}, mismatch);
        add("credit limit empty text", retype(u"KrediLimiti"_s, text, u"''"_s), {}, mismatch);
    }
    void columns()
    {
        QFETCH(QStringList, statements);
        QFETCH(QString, database);
        QFETCH(QString, variable);
        QFETCH(QString, expected);
        const Load load(statements, database);
        if (expected.startsWith(u'!')) {
            QCOMPARE(load.exitCode, 4);
            const auto &shown = load.fakes.messages.shown;
            QCOMPARE(shown.size(), expected.mid(1, 1).toInt() + 1);
            QCOMPARE(shown.last().text, u"Norvent Tanımlam Veritabanıyla İlgili Bir Hata Tespit Etti. Sistem Bu Haliye "
                                        u"Çalışmaz.Bunun İçin Özür Dileriz. Lütfen Program Satıcınızla Görüşünüz."_s);
            QCOMPARE(shown.last().style, platform::MsgBox::Information);
            QCOMPARE(shown.last().caption, u"Norvent:"_s + expected.mid(3));
            return;
        }
        QCOMPARE(load.exitCode, -1);
        QVERIFY(load.fakes.messages.shown.isEmpty());
        const Degiskenler &v = load.vars;
        const QString all = QStringList({
            v.sysfrm_nm, v.Mali_Yil_Bitis.date().toString(Qt::ISODate),
            QStringList{v.AmountFormat, v.UnitPriceFormat, v.ForeignAmountFormat, v.ForeignUnitPriceFormat, v.RateFormat}.join(u' '),
            u"%1%2%3%4%5"_s.arg(int(v.PosVar)).arg(int(v.BarkodVar)).arg(int(v.KDV_Dahildir)).arg(int(v.DovizVar)).arg(int(v.HareketKilit)),
            u"%1 %2 %3 %4"_s.arg(int(v.StokMaxSeviye)).arg(v.Renk_Doviz).arg(v.StokSFRRenk).arg(v.KasaHareketListeTipi),
            v.DefKDV.toString() + u' ' + v.KrediLimiti.toString()}).join(u'|');
        const QMap<QString, QString> actual{
            {u"id"_s, QString::number(v.sysfrm_ID)}, {u"name"_s, v.sysfrm_nm}, {u"amount"_s, v.AmountFormat},
            {u"doviz"_s, v.DovizVar ? u"true"_s : u"false"_s}, {u"ozel"_s, QString::number(v.OzelRenkli)},
            {u"kredi"_s, v.KrediLimiti.toString()}, {u"kasa"_s, QString::number(v.KasaHareketListeTipi)},
            {u"kdv"_s, v.DefKDV.toString()}, {u"all"_s, all},
        };
        QCOMPARE(actual.value(variable), expected);
    }

    void missingColumnOffersTheUpdater_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("present");
        QTest::newRow("no") << int(platform::MsgBox::No) << true;
        QTest::newRow("yes, updater there") << int(platform::MsgBox::Yes) << true;
        QTest::newRow("yes, updater absent") << int(platform::MsgBox::Yes) << false;
    }
    void missingColumnOffersTheUpdater()
    {
        QFETCH(int, answer);
        QFETCH(bool, present);
        const Load load({u"ALTER TABLE sysfrmlng RENAME COLUMN KasaHareketListeTipi TO Eski"_s}, u"FIRMA"_s, {answer}, present);
        QCOMPARE(load.exitCode, 4);
        const auto &shown = load.fakes.messages.shown;
        QCOMPARE(shown.value(0).text, u"Norvent Tanımlama VeriTabanında Eksik Alanara Rastladı. güncelleştirme Çalıştırmak "
                                      u"Gerekebilir.\rŞimdi Güncelleme Çalıştırmak İstiyormusunuz?.Lütfen Bu İşlemi program "
                                      u"Satıcınıza Danışmadan Onaylamayınız."_s);
        QCOMPARE(shown.value(0).style, platform::MsgBox::YesNo | platform::MsgBox::Question);
        const bool yes = answer == platform::MsgBox::Yes;
        QCOMPARE(shown.size(), yes && !present ? 2 : 1);
        if (shown.size() == 2) {
            QCOMPARE(shown[1].text, u"Sistem Bu Haliyle Çalışamaz Durumda ve Veritabanı Konfigürasyon Dosyasına Ulaşılamadı.\r"
                                    u"Lütfen Pogram Satıcınızla Görüşünüz."_s);
            QCOMPARE(shown[1].style, platform::MsgBox::OkOnly);
        }
        const QString updater = QDir(load.fakes.programDir).filePath(u"Verkon.exe"_s);
        QCOMPARE(load.fakes.starter.started, yes && present ? QStringList{updater} : QStringList());
        QCOMPARE(load.vars.KrediLimiti.toString(), u"50000"_s);  // every column read before the missing one is loaded
    }
};

QTEST_GUILESS_MAIN(TestCompanySettings)
#include "tst_companysettings.moc"
