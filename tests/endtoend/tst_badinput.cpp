#include "support/testinstance.h"
#include "support/zelvanrun.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

// Each row names only the members it sets; GCC 12 warns about the others even in designated initializers.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

enum class FileChange { None, Removed, NotADatabase };

// What is changed before the run, how the program is started, and what must come of it.
struct BadInput
{
    QString database = u"FIRMA"_s;  // the database that the statements or the file change go to
    QStringList statements;
    FileChange file = FileChange::None;
    bool registryFile = true;  // one with the settings the program needs; false: none at all
    QString answers;   // ZELVAN_ANSWERS
    QString line = u"FIRMA|%1|7|zelvan|parola"_s;  // the launch line after --json ("%1": the instance), or options
    int exitCode = 0;
    QStringList messages;  // "icon|text", or "icon|caption|text" when not the program's; a '*' stands for some text
    QMap<QString, QString> fields;  // some fields' page texts
    QJsonObject company;            // some members of the JSON's company
    QByteArray printed;             // a text of the standard output or error
    bool settingsWritten = false;   // the registry file then holds the settings; else it stays as it was
    QByteArray registryBytes;       // the registry file's bytes, in place of the usual one
    QByteArray registryAfter;       // the whole registry file after the run, in place of `settingsWritten`
};

} // namespace

// Every kind of bad launch line, option, workstation setting and database content met so far, run
// through the real binary: each gives its messages and exit code, and leaves the instance as it was.
class TestBadInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sweep_data()
    {
        QTest::addColumn<BadInput>("input");
        const auto add = [](const char *name, const BadInput &input) { QTest::newRow(name) << input; };
        const QString general = u"Norvent Tanımlam Veritabanıyla*"_s;
        const QString kbQuery = u"critical|SELECT  SUM(Bakiye) as Toplam FROM KB "_s;
        const QString connection = u"information|Veri Tabanına Bağlanılamadı. Lütfen Service Manager Programı İle Server'ınızı "
                                   u"Başlattıktan sonra programı Tekrar Çalıştırın"_s;
        const QString details = u"none|Hata Ayrıntsı :"_s;
        const QString question = u"question|Programın Çalışabilmesi için Sistemin Ayarlanması Gerekiyor.\rEğer Onaylarsanız Bu ayarlar "
                                 u"Yapılacaktır.\rOnaylıyormusunuz ?"_s;
        const QString launch = u"critical|Eksik Paremetre Kullanımı "_s;
        add("too few fields", {.line = u"DB1|SRV1"_s, .exitCode = 2, .messages = {launch}});
        add("a trailing bar: no password", {.line = u"FIRMA|%1|7|zelvan|"_s, .exitCode = 2, .messages = {launch}});
        add("id with a fraction", {.line = u"FIRMA|%1|7.5|zelvan|parola"_s, .exitCode = 2, .messages = {launch}});
        add("id above the Long range", {.line = u"FIRMA|%1|2147483648|zelvan|parola"_s, .exitCode = 2, .messages = {launch}});
        add("unknown option: usage, no message", {.line = u"--renkli -- FIRMA|%1|7|zelvan|parola"_s, .exitCode = 2, .printed = "usage: zelvan"});
        add("no registry file, answered Yes", {.registryFile = false, .answers = u"yes"_s, .messages = {question},
                                               .fields = {{u"Kasa_bakiyeleri_toplamı"_s, u"0,00"_s}}, .settingsWritten = true});
        add("login with quote and semicolon",
            {.line = u"FIRMA|%1|7|o'ne;x|p;w"_s, .exitCode = 3, .messages = {connection, details + u"Login failed for user 'o'ne'."_s}});
        add("database file missing", {.file = FileChange::Removed, .exitCode = 3,
                                      .messages = {connection, details + u"Cannot open database \"FIRMA\" requested by the login. The login failed."_s}});
        add("Defination_DB not SQLite", {.database = u"Defination_DB"_s, .file = FileChange::NotADatabase, .exitCode = 4,
                                         .messages = {u"critical|\"Defination_DB\" veritabanı açılamadı: *"_s,
                                                      u"critical|SELECT * FROM Defination_DB.dbo.sysfrmlng WHERE sysfrm_dbnm='FIRMA'"_s,
                                                      u"information|Norvent:Nesne kapalıyken işleme izin verilmez.|"_s + general}});
        // Blanks trimmed; the id rounded down (to 2 the rights row of company 1 would be missed); no code is needed.
        add("company name and code trimmed", {.database = u"Defination_DB"_s,
                                              .statements = {u"UPDATE sysfrmlng SET sysfrm_nm = '  Kaya A.Ş.  ', sysfrm_kd = ' K-01 '"_s},
                                              .company = {{u"name"_s, u"Kaya A.Ş."_s}, {u"code"_s, u"K-01"_s}, {u"fiscalYearEnd"_s, u"2026-12-31"_s}}});
        add("company id 1.7", {.database = u"Defination_DB"_s,
                               .statements = {u"ALTER TABLE sysfrmlng RENAME COLUMN sysfrm_ID TO eski"_s, u"ALTER TABLE sysfrmlng ADD COLUMN sysfrm_ID FLOAT"_s,
                                              u"UPDATE sysfrmlng SET sysfrm_ID = 1.7"_s}});
        add("no company code column", {.database = u"Defination_DB"_s, .statements = {u"ALTER TABLE sysfrmlng DROP COLUMN sysfrm_kd"_s},
                                       .company = {{u"code"_s, QJsonValue::Null}}});
        add("company credit limit NULL", {.database = u"Defination_DB"_s, .statements = {u"UPDATE sysfrmlng SET KrediLimiti = NULL"_s}});
        add("no company row", {.database = u"Defination_DB"_s, .statements = {u"DELETE FROM sysfrmlng"_s}, .exitCode = 4,
                               .messages = {u"information|Norvent:BOF veya EOF True*|"_s + general}});
        // The updater is offered; none stands beside the program.
        add("a company column missing, answered Yes", {.database = u"Defination_DB"_s,
                                                       .statements = {u"ALTER TABLE sysfrmlng RENAME COLUMN KasaHareketListeTipi TO Eski"_s},
                                                       .answers = u"yes"_s, .exitCode = 4,
                                                       .messages = {u"question|Norvent Tanımlama VeriTabanında Eksik Alanara Rastladı. "
                                                                    u"güncelleştirme Çalıştırmak Gerekebilir.\rŞimdi Güncelleme Çalıştırmak "
                                                                    u"İstiyormusunuz?.Lütfen Bu İşlemi program Satıcınıza Danışmadan Onaylamayınız."_s,
                                                                    u"none|Sistem Bu Haliyle Çalışamaz Durumda ve Veritabanı Konfigürasyon Dosyasına "
                                                                    u"Ulaşılamadı.\rLütfen Pogram Satıcınızla Görüşünüz."_s}});
        add("no rights row", {.database = u"Defination_DB"_s, .statements = {u"DELETE FROM Kullanici"_s}, .exitCode = 3,
                              .messages = {connection, details + u"BOF veya EOF True*"_s}});
        add("report right refused by CARB", {.database = u"Defination_DB"_s, .statements = {u"UPDATE Kullanici SET CARB = 0"_s}, .exitCode = 5,
                                             .messages = {u"information|Bu Raporu Görmeye Yetkiniz Yoktur. Lütfen Sistem Yöneticisi'ne Başvurun"_s}});

        add("report table missing", {.statements = {u"DROP TABLE KB"_s}, .exitCode = 8, .messages = {u"critical|Invalid object name 'KB'."_s, kbQuery}});
        add("NULL sums", {.statements = {u"INSERT INTO CEKKART VALUES (1, NULL, NULL, 'Portföyde')"_s, u"INSERT INTO CB VALUES (1, NULL)"_s,
                                         u"INSERT INTO KB VALUES (1, NULL)"_s},
                          .fields = {{u"porfoydeki_cekler"_s, u"0,00"_s}, {u"acık_hesaptakı_boırclar"_s, u"0,00"_s},
                                     {u"Kasa_bakiyeleri_toplamı"_s, u"0,00"_s}, {u"sirketin_genel_alacakları_toplamı"_s, u"0,00"_s}}});
        add("text in a money column", {.statements = {u"INSERT INTO KB VALUES (2, '12.50')"_s},
                                       .fields = {{u"Kasa_bakiyeleri_toplamı"_s, u"12,50"_s}}});
        add("text in a stock cost", {.statements = {u"INSERT INTO STOKKART VALUES (1, 'Çay')"_s, u"INSERT INTO SB VALUES (1, 5)"_s,
                                                    u"INSERT INTO STOKHAREKET VALUES (1, 1, '2026-01-02 00:00:00', 5, 0, 'pahalı')"_s},
                                     .exitCode = 8, .messages = {u"critical|Rapor hazırlanamadı: Tür uyuşmazlığı"_s}});
        // SQLite holds MONEY as a double, exact to 15 digits: the largest whole Currency amount is its limit.
        add("largest whole Currency", {.statements = {u"INSERT INTO KB VALUES (1, -922337203685477)"_s},
                                       .fields = {{u"Kasa_bakiyeleri_toplamı"_s, u"922.337.203.685.477,00"_s}}});
        add("sum beyond Currency", {.statements = {u"INSERT INTO KB VALUES (1, 922337203685477)"_s, u"INSERT INTO KB VALUES (2, 1)"_s},
                                    .exitCode = 8, .messages = {u"critical|Taşma"_s, kbQuery}});
        add("total beyond Currency", {.statements = {u"INSERT INTO KB VALUES (1, 600000000000000)"_s, u"INSERT INTO BB VALUES (1, 600000000000000)"_s},
                                      .exitCode = 8, .messages = {u"critical|Rapor hazırlanamadı: Taşma"_s}});
        add("grouped digits in a money column", {.statements = {u"INSERT INTO KB VALUES (1, '1.234,56')"_s}, .exitCode = 8,
                                                 .messages = {u"critical|Error converting data type nvarchar to numeric."_s, kbQuery}});
        // The rows are read after the figures: a figure that sums, rows that cannot be read. Nothing is
        // written, not even into the instance's folder, where the workbook was asked for.
        const QStringList unreadableRows{u"INSERT INTO CEKKART VALUES (1, 10, 0, 'Kendi Çekimiz')"_s, u"ALTER TABLE CEKKART RENAME TO CEKKART0"_s,
                                         u"CREATE VIEW CEKKART AS SELECT *, json('bozuk') AS Bozuk FROM CEKKART0"_s};
        add("rows behind a figure unreadable, workbook", {.statements = unreadableRows, .line = u"--xlsx %1/rapor.xlsx -- FIRMA|%1|7|zelvan|parola"_s,
                                                          .exitCode = 8, .messages = {u"critical|malformed JSON"_s,
                                                                                      u"critical|SELECT * FROM CEKKART WHERE Durum='Kendi Çekimiz' ORDER BY 1"_s}});
        const QString windows = u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\International]\r\n"
                                u"\"sDecimal\"=\"%1\"\r\n\"sThousand\"=\".\"\r\n\"sDate\"=\".\"\r\n\"sShortDate\"=\"%2\"\r\n\r\n"
                                u"[HKEY_CURRENT_USER\\DEF_NORVENT]\r\n\"DEF_KUL\"=\"Şükrü\"\r\n"_s;
        add("Windows export, answered Yes", {.statements = {u"INSERT INTO KB VALUES (1, -1238591.98)"_s}, .answers = u"yes"_s,
                                             .messages = {question}, .fields = {{u"Kasa_bakiyeleri_toplamı"_s, u"1.238.591,98"_s}},
                                             .registryBytes = test::utf16File(windows.arg(u",", u"d.M.yyyy")),
                                             .registryAfter = test::utf16File(windows.arg(u",", u"dd.MM.yyyy"))});
        add("decimal point, answered No", {.exitCode = 6, .messages = {question}, .registryBytes = test::utf16File(windows.arg(u".", u"dd.MM.yyyy"))});
        // Writes that do not take: the settings read back otherwise.
        add("registry file unreadable, answered Yes", {.answers = u"yes"_s, .exitCode = 6,
                                                      .messages = {question, u"critical|Bölge ayarları kaydedilemedi: *"_s},
                                                      .registryBytes = test::utf16File(windows.arg(u",", u"d.M.yyyy")) + '\0'});
    }

    void sweep()
    {
        QFETCH(BadInput, input);
        test::TestInstance instance;
        test::addStandardDatabases(instance);
        instance.addLogin(u"o'ne;x"_s, u"p;w"_s);
        instance.run(input.database, input.statements);
        const QString file = QDir(instance.path()).filePath(input.database + u".sqlite"_s);
        if (input.file == FileChange::Removed)
            QVERIFY(QFile::remove(file));
        if (input.file == FileChange::NotADatabase)
            QVERIFY(test::writeFile(file, "this is not a database\n"));
        const QByteArray digest = instance.digest();
        QTemporaryDir home;
        const QString registry = home.filePath(u"registry.reg"_s);
        if (input.registryFile)
            test::writeRegistry(registry);
        if (!input.registryBytes.isEmpty())
            QVERIFY(test::writeFile(registry, input.registryBytes));
        const QByteArray settings = test::readFile(registry);
        QProcessEnvironment environment = test::runEnvironment(registry);
        environment.insert(u"ZELVAN_ANSWERS"_s, input.answers);
        const QString line = QString(input.line).replace(u"%1"_s, instance.path());
        const QStringList arguments = line.startsWith(u"--") ? line.split(u' ') : QStringList{u"--json"_s, u"--"_s, line};
        const test::ZelvanRun run = test::runZelvan(arguments, environment);
        QVERIFY2(!run.crashed, run.err.constData());
        QCOMPARE(run.exitCode, input.exitCode);
        QVERIFY2(run.out.contains(input.printed) || run.err.contains(input.printed), input.printed.constData());
        QCOMPARE(run.out.isEmpty(), input.exitCode != 0);
        QCOMPARE(run.messages.size(), input.messages.size());
        for (int i = 0; i < run.messages.size(); ++i) {
            // The caption only when it is not the program's.
            const QString caption = run.messages[i].value(u"caption"_s).toString();
            const QString actual = run.messages[i].value(u"icon"_s).toString() + u'|' + (caption == u"Zelvan" ? QString() : caption + u'|')
                                   + run.messages[i].value(u"text"_s).toString();
            const QString pattern = QRegularExpression::escape(input.messages[i]).replace(u"\\*"_s, u".+"_s);
            QVERIFY2(QRegularExpression(u'^' + pattern + u'$', QRegularExpression::DotMatchesEverythingOption).match(actual).hasMatch(),
                     qPrintable(actual));
        }
        const QJsonObject shown = QJsonDocument::fromJson(run.out).object().value(u"fields"_s).toObject();
        for (auto field = input.fields.cbegin(); field != input.fields.cend(); ++field)
            QCOMPARE(shown.value(field.key()).toString(), field.value());
        const QJsonObject company = QJsonDocument::fromJson(run.out).object().value(u"company"_s).toObject();
        for (auto member = input.company.constBegin(); member != input.company.constEnd(); ++member)
            QCOMPARE(company.value(member.key()), member.value());
        if (!input.registryAfter.isEmpty())
            QCOMPARE(test::readFile(registry), input.registryAfter);
        else if (input.settingsWritten)
            QVERIFY(test::readFile(registry).contains("\"sShortDate\"=\"dd.MM.yyyy\""));
        else
            QCOMPARE(test::readFile(registry), settings);
        QCOMPARE(instance.digest(), digest);
    }
};

QTEST_GUILESS_MAIN(TestBadInput)
#include "tst_badinput.moc"
