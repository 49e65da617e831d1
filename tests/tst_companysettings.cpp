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

// The columns of the company table in reading order: name, declared type, stored value.
struct Column
{
    QString name;
    QString type;
    QString value;
};

QList<Column> standardRow()
{
    return {
        {u"sysfrm_ID"_s, u"INT"_s, u"1"_s},
        {u"sysfrm_nm"_s, u"NVARCHAR(50)"_s, u"'Deneme Ticaret A.Ş.'"_s},
        {u"sysfrm_kd"_s, u"NVARCHAR(10)"_s, u"'DT'"_s},
        {u"sysfrm_dbnm"_s, u"NVARCHAR(50)"_s, u"'FIRMA'"_s},
        {u"Mali_Yil_Baslangic"_s, u"DATETIME"_s, u"'2026-01-01 00:00:00'"_s},
        {u"Mali_Yil_Bitis"_s, u"DATETIME"_s, u"'2026-12-31 00:00:00'"_s},
        {u"AnaParaVirgul"_s, u"INT"_s, u"2"_s},
        {u"BirimFiyatVirGul"_s, u"INT"_s, u"4"_s},
        {u"DovizVirgul"_s, u"INT"_s, u"2"_s},
        {u"DovizBirimFiyatVirgul"_s, u"INT"_s, u"4"_s},
        {u"KurVirgul"_s, u"INT"_s, u"4"_s},
        {u"DovizVar"_s, u"BIT"_s, u"0"_s},
        {u"RenkBedenVar"_s, u"BIT"_s, u"0"_s},
        {u"PosVar"_s, u"BIT"_s, u"1"_s},
        {u"BarkodVar"_s, u"BIT"_s, u"1"_s},
        {u"HareketKilit"_s, u"BIT"_s, u"0"_s},
        {u"OzelRenkli"_s, u"TINYINT"_s, u"0"_s},
        {u"Renk_Ozel"_s, u"INT"_s, u"255"_s},
        {u"Renk_TL"_s, u"INT"_s, u"0"_s},
        {u"Renk_Doviz"_s, u"INT"_s, u"16711680"_s},
        {u"SatirISK_Dahil"_s, u"BIT"_s, u"0"_s},
        {u"FaturaAltiISK_Dahil"_s, u"BIT"_s, u"0"_s},
        {u"Masraflar_Dahil"_s, u"BIT"_s, u"0"_s},
        {u"StokMinSeviye"_s, u"TINYINT"_s, u"5"_s},
        {u"StokMinRenk"_s, u"INT"_s, u"255"_s},
        {u"StokMaxSeviye"_s, u"TINYINT"_s, u"200"_s},
        {u"StokMaxRenk"_s, u"INT"_s, u"65280"_s},
        {u"StokSFRSeviye"_s, u"TINYINT"_s, u"0"_s},
        {u"StokSFRRenk"_s, u"INT"_s, u"8421504"_s},
        {u"StokSeviyeOzelKontrol"_s, u"MONEY"_s, u"0"_s},
        {u"KDV_Dahildir"_s, u"BIT"_s, u"1"_s},
        {u"DefKDV"_s, u"MONEY"_s, u"20"_s},
        {u"KrediLimiti"_s, u"MONEY"_s, u"50000"_s},
        {u"KasaHareketListeTipi"_s, u"SMALLINT"_s, u"3"_s},
    };
}

// "column=TYPE:value" changes one column; "column=-" drops it.
void writeCompanyTable(test::TestInstance &instance, const QStringList &changes, int rows = 1)
{
    QList<Column> columns = standardRow();
    for (const QString &change : changes) {
        const QString name = change.section(u'=', 0, 0);
        const QString rest = change.section(u'=', 1);
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (columns[i].name != name)
                continue;
            if (rest == u"-") {
                columns.removeAt(i);
            } else {
                columns[i].type = rest.section(u':', 0, 0);
                columns[i].value = rest.section(u':', 1);
            }
            break;
        }
    }
    QStringList definitions, values;
    for (const Column &c : std::as_const(columns)) {
        definitions.append(c.name + u' ' + c.type);
        values.append(c.value);
    }
    QStringList statements{u"CREATE TABLE sysfrmlng("_s + definitions.join(u", ") + u')'};
    for (int i = 0; i < rows; ++i)
        statements.append(u"INSERT INTO sysfrmlng VALUES ("_s + values.join(u", ") + u')');
    statements.append(u"CREATE TABLE Kullanici(Kullanici_ID INT, Firma_ID INT, CARR BIT, CARB BIT)"_s);
    instance.createDatabase(u"Defination_DB"_s, statements);
}

const QString GeneralFailure = u"Norvent Tanımlam Veritabanıyla İlgili Bir Hata Tespit Etti. Sistem Bu Haliye "
                               u"Çalışmaz.Bunun İçin Özür Dileriz. Lütfen Program Satıcınızla Görüşünüz."_s;
const QString UpdaterQuestion = u"Norvent Tanımlama VeriTabanında Eksik Alanara Rastladı. güncelleştirme Çalıştırmak "
                                u"Gerekebilir.\rŞimdi Güncelleme Çalıştırmak İstiyormusunuz?.Lütfen Bu İşlemi program "
                                u"Satıcınıza Danışmadan Onaylamayınız."_s;
const QString UpdaterMissing = u"Sistem Bu Haliyle Çalışamaz Durumda ve Veritabanı Konfigürasyon Dosyasına "
                               u"Ulaşılamadı.\rLütfen Pogram Satıcınızla Görüşünüz."_s;

struct Outcome
{
    int exitCode = -1;
    Degiskenler vars;
    QList<test::RecordingMessageBoxes::Shown> shown;
    QStringList started;
};

} // namespace

class TestCompanySettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void numberFormats_data();
    void numberFormats();
    void loadsEveryColumn();
    void conversions_data();
    void conversions();
    void generalFailures_data();
    void generalFailures();
    void missingColumnOffersTheUpdater_data();
    void missingColumnOffersTheUpdater();
    void firstOfTwoRowsCounts();

private:
    Outcome load(test::TestInstance &instance, const QString &database = u"FIRMA"_s, const QList<int> &answers = {},
                 bool updaterPresent = false, const platform::Currency &defKdvBefore = platform::Currency());
};

Outcome TestCompanySettings::load(test::TestInstance &instance, const QString &database, const QList<int> &answers,
                                  bool updaterPresent, const platform::Currency &defKdvBefore)
{
    test::FakeServices fakes;
    fakes.messages.answers = answers;
    const QString updater = QDir(fakes.programDir).filePath(u"Verkon.exe"_s);
    if (updaterPresent)
        fakes.starter.present.append(updater);
    Program program(fakes.services(), platform::CommandLine());
    program.vars.DatabaseName = database;
    program.vars.DefKDV = defKdvBefore;
    program.vars.DbConnection = std::make_shared<platform::Connection>();
    program.vars.DbConnection->open(instance.connectionString(u"FIRMA"_s, u"zelvan"_s, u"parola"_s));
    Outcome outcome;
    try {
        LoadCompanySettings(program);
    } catch (const platform::ProgramEnded &ended) {
        outcome.exitCode = ended.exitCode;
    }
    outcome.vars = program.vars;
    outcome.shown = fakes.messages.shown;
    outcome.started = fakes.starter.started;
    return outcome;
}

static test::TestInstance *newInstance(const QStringList &changes, int rows = 1)
{
    auto *instance = new test::TestInstance;
    test::addStandardDatabases(*instance);
    writeCompanyTable(*instance, changes, rows);
    return instance;
}

void TestCompanySettings::numberFormats_data()
{
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("format");
    QTest::newRow("2") << 2 << u"#,##0.00"_s;
    QTest::newRow("0") << 0 << u"#,##0"_s;
    QTest::newRow("-3") << -3 << u"#,##0"_s;
    QTest::newRow("1") << 1 << u"#,##0.0"_s;
    QTest::newRow("4") << 4 << u"#,##0.0000"_s;
}

void TestCompanySettings::numberFormats()
{
    QFETCH(int, decimals);
    QTEST(numberFormatFor(decimals), "format");
}

void TestCompanySettings::loadsEveryColumn()
{
    std::unique_ptr<test::TestInstance> instance(newInstance({u"AnaParaVirgul=INT:-3"_s, u"KurVirgul=INT:1"_s}));
    const Outcome o = load(*instance);
    QCOMPARE(o.exitCode, -1);
    QVERIFY(o.shown.isEmpty());
    QCOMPARE(o.vars.sysfrm_ID, qint16(1));
    QCOMPARE(o.vars.sysfrm_nm, u"Deneme Ticaret A.Ş."_s);
    QCOMPARE(o.vars.Mali_Yil_Bitis.date(), QDate(2026, 12, 31));
    QCOMPARE(o.vars.AmountFormat, u"#,##0"_s);
    QCOMPARE(o.vars.UnitPriceFormat, u"#,##0.0000"_s);
    QCOMPARE(o.vars.ForeignAmountFormat, u"#,##0.00"_s);
    QCOMPARE(o.vars.RateFormat, u"#,##0.0"_s);
    QVERIFY(o.vars.PosVar && o.vars.BarkodVar && o.vars.KDV_Dahildir && !o.vars.DovizVar);
    QCOMPARE(o.vars.StokMaxSeviye, quint8(200));
    QCOMPARE(o.vars.Renk_Doviz, 16711680);
    QCOMPARE(o.vars.DefKDV.raw(), 20 * 10000);
    QCOMPARE(o.vars.KrediLimiti.raw(), qint64(50000) * 10000);
    QCOMPARE(o.vars.KasaHareketListeTipi, qint16(3));
}

void TestCompanySettings::conversions_data()
{
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("expected");

    QTest::newRow("id text with blanks") << QStringList{u"sysfrm_ID=NVARCHAR(10):' 12 '"_s} << u"id"_s << u"12"_s;
    QTest::newRow("id 12.7 rounds down") << QStringList{u"sysfrm_ID=FLOAT:12.7"_s} << u"id"_s << u"12"_s;
    QTest::newRow("id -1.5 rounds down") << QStringList{u"sysfrm_ID=FLOAT:-1.5"_s} << u"id"_s << u"-2"_s;
    QTest::newRow("name trimmed") << QStringList{u"sysfrm_nm=NVARCHAR(50):'  Kaya A.Ş.  '"_s} << u"name"_s
                                  << u"Kaya A.Ş."_s;
    QTest::newRow("decimals 2.5 to even") << QStringList{u"AnaParaVirgul=FLOAT:2.5"_s} << u"amount"_s << u"#,##0.00"_s;
    QTest::newRow("decimals 3.5 to even") << QStringList{u"AnaParaVirgul=FLOAT:3.5"_s} << u"amount"_s
                                          << u"#,##0.0000"_s;
    QTest::newRow("flag from a whole number") << QStringList{u"DovizVar=INT:5"_s} << u"doviz"_s << u"true"_s;
    QTest::newRow("credit limit NULL is 0") << QStringList{u"KrediLimiti=MONEY:NULL"_s} << u"kredi"_s << u"0"_s;
    QTest::newRow("cash list NULL is 1") << QStringList{u"KasaHareketListeTipi=SMALLINT:NULL"_s} << u"kasa"_s
                                         << u"1"_s;
    QTest::newRow("cash list empty text is 1") << QStringList{u"KasaHareketListeTipi=NVARCHAR(5):''"_s} << u"kasa"_s
                                               << u"1"_s;
    QTest::newRow("VAT NULL keeps the value") << QStringList{u"DefKDV=MONEY:NULL"_s} << u"kdv"_s << u"18"_s;
    QTest::newRow("VAT empty text keeps the value") << QStringList{u"DefKDV=NVARCHAR(5):''"_s} << u"kdv"_s << u"18"_s;
    QTest::newRow("VAT 0 is a value") << QStringList{u"DefKDV=MONEY:0"_s} << u"kdv"_s << u"0"_s;
    QTest::newRow("byte 255") << QStringList{u"OzelRenkli=INT:255"_s} << u"ozel"_s << u"255"_s;
}

void TestCompanySettings::conversions()
{
    QFETCH(QStringList, changes);
    QFETCH(QString, variable);
    QFETCH(QString, expected);
    std::unique_ptr<test::TestInstance> instance(newInstance(changes));
    const Outcome o = load(*instance, u"FIRMA"_s, {}, false, platform::Currency::fromInt(18));
    QCOMPARE(o.exitCode, -1);
    const QMap<QString, QString> actual{
        {u"id"_s, QString::number(o.vars.sysfrm_ID)},
        {u"name"_s, o.vars.sysfrm_nm},
        {u"amount"_s, o.vars.AmountFormat},
        {u"doviz"_s, o.vars.DovizVar ? u"true"_s : u"false"_s},
        {u"kredi"_s, o.vars.KrediLimiti.toString()},
        {u"kasa"_s, QString::number(o.vars.KasaHareketListeTipi)},
        {u"kdv"_s, o.vars.DefKDV.toString()},
        {u"ozel"_s, QString::number(o.vars.OzelRenkli)},
    };
    QCOMPARE(actual.value(variable), expected);
}

void TestCompanySettings::generalFailures_data()
{
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QString>("database");
    QTest::addColumn<int>("queryMessages");  // shown by OpenRecordset before the failure message
    QTest::addColumn<QString>("description");

    QTest::newRow("no row") << QStringList() << u"BASKA"_s << 0 << platform::noCurrentRecordError().description();
    QTest::newRow("apostrophe in the name") << QStringList() << u"FIR'MA"_s << 2
                                            << platform::objectClosedError().description();
    QTest::newRow("id above 32767") << QStringList{u"sysfrm_ID=INT:40000"_s} << u"FIRMA"_s << 0
                                    << platform::overflowError().description();
    QTest::newRow("NULL name") << QStringList{u"sysfrm_nm=NVARCHAR(50):NULL"_s} << u"FIRMA"_s << 0
                               << platform::invalidUseOfNullError().description();
    QTest::newRow("byte above 255") << QStringList{u"StokMinSeviye=INT:256"_s} << u"FIRMA"_s << 0
                                    << platform::overflowError().description();
    QTest::newRow("byte below 0") << QStringList{u"StokSFRSeviye=INT:-1"_s} << u"FIRMA"_s << 0
                                  << platform::overflowError().description();
    QTest::newRow("text in a number") << QStringList{u"KurVirgul=NVARCHAR(5):'iki'"_s} << u"FIRMA"_s << 0
                                      << platform::typeMismatchError().description();
    QTest::newRow("no date") << QStringList{u"Mali_Yil_Bitis=NVARCHAR(20):'yıl sonu'"_s} << u"FIRMA"_s << 0
                             << platform::typeMismatchError().description();
    QTest::newRow("credit limit empty text") << QStringList{u"KrediLimiti=NVARCHAR(5):''"_s} << u"FIRMA"_s << 0
                                             << platform::typeMismatchError().description();
}

void TestCompanySettings::generalFailures()
{
    QFETCH(QStringList, changes);
    QFETCH(QString, database);
    QFETCH(int, queryMessages);
    QFETCH(QString, description);
    std::unique_ptr<test::TestInstance> instance(newInstance(changes));
    const Outcome o = load(*instance, database);
    QCOMPARE(o.exitCode, 4);
    QCOMPARE(o.shown.size(), queryMessages + 1);
    const auto &last = o.shown.last();
    QCOMPARE(last.text, GeneralFailure);
    QCOMPARE(last.style, platform::MsgBox::Information);
    QCOMPARE(last.caption, u"Norvent:"_s + description);
}

void TestCompanySettings::missingColumnOffersTheUpdater_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("present");
    QTest::addColumn<bool>("started");
    QTest::addColumn<bool>("missingMessage");
    QTest::newRow("no") << int(platform::MsgBox::No) << true << false << false;
    QTest::newRow("yes, updater there") << int(platform::MsgBox::Yes) << true << true << false;
    QTest::newRow("yes, updater absent") << int(platform::MsgBox::Yes) << false << false << true;
}

void TestCompanySettings::missingColumnOffersTheUpdater()
{
    QFETCH(int, answer);
    QFETCH(bool, present);
    QFETCH(bool, started);
    QFETCH(bool, missingMessage);
    std::unique_ptr<test::TestInstance> instance(newInstance({u"KasaHareketListeTipi=-"_s}));
    const Outcome o = load(*instance, u"FIRMA"_s, {answer}, present);
    QCOMPARE(o.exitCode, 4);
    QCOMPARE(o.shown.value(0).text, UpdaterQuestion);
    QCOMPARE(o.shown.value(0).style, platform::MsgBox::YesNo | platform::MsgBox::Question);
    QCOMPARE(o.shown.size(), missingMessage ? 2 : 1);
    if (missingMessage) {
        QCOMPARE(o.shown[1].text, UpdaterMissing);
        QCOMPARE(o.shown[1].style, platform::MsgBox::OkOnly);
    }
    QCOMPARE(o.started.size(), started ? 1 : 0);
    // Every column read before the missing one is loaded.
    QCOMPARE(o.vars.KrediLimiti.raw(), qint64(50000) * 10000);
}

void TestCompanySettings::firstOfTwoRowsCounts()
{
    std::unique_ptr<test::TestInstance> instance(newInstance({}, 2));
    instance->run(u"Defination_DB"_s, {u"UPDATE sysfrmlng SET sysfrm_ID=2, sysfrm_nm='İkinci' WHERE rowid=2"_s});
    const Outcome o = load(*instance);
    QCOMPARE(o.vars.sysfrm_nm, u"Deneme Ticaret A.Ş."_s);
}

QTEST_GUILESS_MAIN(TestCompanySettings)
#include "tst_companysettings.moc"
