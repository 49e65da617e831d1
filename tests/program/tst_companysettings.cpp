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

namespace {

// Sets a column of the company row; with a type, the column first takes that type (the old one stays under
// another name).
QString setColumn(const QString &column, const QString &value, const QString &type = {})
{
    const QString update = u"UPDATE sysfrmlng SET %1=%2"_s.arg(column, value);
    if (type.isEmpty())
        return update;
    return u"ALTER TABLE sysfrmlng RENAME COLUMN %1 TO old_%1; ALTER TABLE sysfrmlng ADD COLUMN %1 %2; "_s.arg(column, type) + update;
}

// The standard instance after `statement` ran on Defination_DB, and a program connected to it.
struct Company
{
    explicit Company(const QString &statement) : program(fakes.services(), CommandLine())
    {
        test::addStandardDatabases(instance);
        if (!statement.isEmpty())
            instance.run(u"Defination_DB"_s, {statement});
        program.vars.DatabaseName = u"FIRMA"_s;
        program.vars.DbConnection = std::make_shared<database::Connection>();
        program.vars.DbConnection->open(instance.connectionString(u"FIRMA"_s, u"zelvan"_s, u"parola"_s));
    }
    int load()
    {
        return test::exitCodeOf([this] { LoadCompanySettings(program); });
    }

    test::FakeServices fakes;
    test::TestInstance instance;
    Program program;
};

} // namespace

// Of the settings loaded, the login dialog uses the company's id, name and year end; the others count only
// by the errors their conversions raise. A company without a row is tst_badinput's.
class TestCompanySettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loads_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("code");
        const QString standard = u"Deneme Ticaret A.Ş."_s;
        QTest::newRow("standard row") << QString() << 1 << standard << u"DT"_s;
        QTest::newRow("id 12.7 rounds down") << setColumn(u"sysfrm_ID"_s, u"12.7"_s, u"FLOAT"_s) << 12 << standard << u"DT"_s;
        QTest::newRow("id -1.5 rounds down") << setColumn(u"sysfrm_ID"_s, u"-1.5"_s, u"FLOAT"_s) << -2 << standard << u"DT"_s;
        QTest::newRow("name trimmed") << setColumn(u"sysfrm_nm"_s, u"'  Kaya A.Ş.  '"_s) << 1 << u"Kaya A.Ş."_s << u"DT"_s;
        QTest::newRow("credit limit NULL") << setColumn(u"KrediLimiti"_s, u"NULL"_s) << 1 << standard << u"DT"_s;
        QTest::newRow("code trimmed") << setColumn(u"sysfrm_kd"_s, u"' K-01 '"_s) << 1 << standard << u"K-01"_s;
        // The report needs no code: a row without it is no missing column.
        QTest::newRow("no code column") << u"ALTER TABLE sysfrmlng DROP COLUMN sysfrm_kd"_s << 1 << standard << QString();
    }
    void loads()
    {
        QFETCH(QString, statement);
        Company company(statement);
        QCOMPARE(company.load(), -1);
        QCOMPARE(company.fakes.messages.texts(), QStringList());
        QTEST(int(company.program.vars.sysfrm_ID), "id");
        QTEST(company.program.vars.sysfrm_nm, "name");
        QTEST(company.program.vars.sysfrm_kd, "code");
        QCOMPARE(company.program.vars.Mali_Yil_Bitis.date(), QDate(2026, 12, 31));
    }

    // The general failure, with the error in its caption, after the messages of a rejected query.
    void failures_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<int>("queryMessages");
        QTest::addColumn<QString>("error");
        QTest::newRow("apostrophe in the database name") << u"FIR'MA"_s << QString() << 2 << runtime::objectClosedError().description();
        QTest::newRow("id above 32767") << u"FIRMA"_s << setColumn(u"sysfrm_ID"_s, u"40000"_s) << 0 << runtime::overflowError().description();
        QTest::newRow("credit limit empty text") << u"FIRMA"_s << setColumn(u"KrediLimiti"_s, u"''"_s, u"NVARCHAR(20)"_s) << 0
                                                 << runtime::typeMismatchError().description();
    }
    void failures()
    {
        QFETCH(QString, database);
        QFETCH(QString, statement);
        QFETCH(int, queryMessages);
        QFETCH(QString, error);
        Company company(statement);
        company.program.vars.DatabaseName = database;
        QCOMPARE(company.load(), 4);
        const auto &shown = company.fakes.messages.shown;
        QCOMPARE(shown.size(), queryMessages + 1);
        QCOMPARE(shown.last().style, MsgBox::Information);
        QCOMPARE(shown.last().text, u"Norvent Tanımlam Veritabanıyla İlgili Bir Hata Tespit Etti. Sistem Bu Haliye "
                                    u"Çalışmaz.Bunun İçin Özür Dileriz. Lütfen Program Satıcınızla Görüşünüz."_s);
        QCOMPARE(shown.last().caption, u"Norvent:"_s + error);
    }

    // A column missing offers the updater, which starts when it is there.
    void missingColumn_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("updaterThere");
        QTest::addColumn<bool>("started");
        QTest::addColumn<bool>("unreachable");  // the message that the configuration can't be reached
        QTest::newRow("no") << false << true << false << false;
        QTest::newRow("yes, updater there") << true << true << true << false;
        QTest::newRow("yes, updater absent") << true << false << false << true;
    }
    void missingColumn()
    {
        QFETCH(bool, yes);
        QFETCH(bool, updaterThere);
        QFETCH(bool, started);
        QFETCH(bool, unreachable);
        Company company(u"ALTER TABLE sysfrmlng RENAME COLUMN KasaHareketListeTipi TO Eski"_s);
        test::FakeServices &fakes = company.fakes;
        const QString updater = QDir(fakes.programDir).filePath(u"Verkon.exe"_s);
        fakes.messages.answers = {yes ? MsgBox::Yes : MsgBox::No};
        if (updaterThere)
            fakes.launcher.present = {updater};
        QCOMPARE(company.load(), 4);
        QCOMPARE(fakes.messages.shown.size(), unreachable ? 2 : 1);
        QCOMPARE(fakes.messages.shown[0].text, u"Norvent Tanımlama VeriTabanında Eksik Alanara Rastladı. güncelleştirme Çalıştırmak "
                                               u"Gerekebilir.\rŞimdi Güncelleme Çalıştırmak İstiyormusunuz?.Lütfen Bu İşlemi program "
                                               u"Satıcınıza Danışmadan Onaylamayınız."_s);
        QCOMPARE(fakes.messages.shown[0].style, MsgBox::YesNo | MsgBox::Question);
        QCOMPARE(fakes.launcher.started, started ? QStringList{updater} : QStringList());
        if (!unreachable)
            return;
        QCOMPARE(fakes.messages.shown[1].text, u"Sistem Bu Haliyle Çalışamaz Durumda ve Veritabanı Konfigürasyon Dosyasına "
                                               u"Ulaşılamadı.\rLütfen Pogram Satıcınızla Görüşünüz."_s);
        QCOMPARE(fakes.messages.shown[1].style, MsgBox::OkOnly);
    }
};

QTEST_GUILESS_MAIN(TestCompanySettings)
#include "tst_companysettings.moc"
