#include "support/testinstance.h"
#include "support/zelvanrun.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

// Every kind of bad launch line, option and database content met so far, run through the real
// binary: each gives its messages and exit code, and leaves the instance as it was.
class TestBadInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sweep_data()
    {
        QTest::addColumn<QStringList>("changes");  // "DATABASE:SQL", "DATABASE:@text" (the file's text), "DATABASE:@" (no file)
        QTest::addColumn<QString>("line");         // the launch line after --json ("%1": the instance), or options
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("expected");  // messages "icon|text" or "icon|caption|text"; on success "field=text"
        const auto add = [](const char *name, const QStringList &changes, int exitCode, const QStringList &expected,
                            const QString &line = u"FIRMA|%1|7|zelvan|parola"_s) {
            QTest::newRow(name) << changes << line << exitCode << expected;
        };
        const QString general = u"Norvent Tanımlam Veritabanıyla*"_s, kbQuery = u"critical|SELECT  SUM(Bakiye) as Toplam FROM KB "_s;
        const QString connection = u"information|Veri Tabanına Bağlanılamadı. Lütfen Service Manager Programı İle Server'ınızı "
                                   u"Başlattıktan sonra programı Tekrar Çalıştırın"_s, details = u"none|Hata Ayrıntsı :"_s;
        add("too few fields", {}, 2, {u"critical|Eksik Paremetre Kullanımı "_s}, u"DB1|SRV1"_s);
        add("unknown option: usage, no message", {}, 2, {}, u"--renkli -- FIRMA|%1|7|zelvan|parola"_s);
        add("login with quote and semicolon", {}, 3, {connection, details + u"Login failed for user 'o'ne'."_s}, u"FIRMA|%1|7|o'ne;x|p;w"_s);
        add("wrong password", {}, 3, {connection, details + u"Login failed for user 'zelvan'."_s}, u"FIRMA|%1|7|zelvan|Parola"_s);
        add("no logins file", {u"master:@"_s}, 3, {connection, details + u"Login failed for user 'zelvan'."_s});
        add("database file missing", {u"FIRMA:@"_s}, 3,
            {connection, details + u"Cannot open database \"FIRMA\" requested by the login. The login failed."_s});
        add("database file not SQLite", {u"FIRMA:@this is not a database\n"_s}, 3,
            {connection, details + u"\"FIRMA\" veritabanı açılamadı: *FIRMA.sqlite: file is not a database"_s});
        add("Defination_DB not SQLite", {u"Defination_DB:@this is not a database\n"_s}, 4,
            {u"critical|\"Defination_DB\" veritabanı açılamadı: *"_s,
             u"critical|SELECT * FROM Defination_DB.dbo.sysfrmlng WHERE sysfrm_dbnm='FIRMA'"_s,
             u"information|Norvent:Nesne kapalıyken işleme izin verilmez.|"_s + general});
        add("CARR false", {u"Defination_DB:UPDATE Kullanici SET CARR=0"_s}, 5,
            {u"information|Bu Raporu Görmeye Yetkiniz Yoktur. Lütfen Sistem Yöneticisi'ne Başvurun"_s});
        add("no company row", {u"Defination_DB:DELETE FROM sysfrmlng"_s}, 4, {u"information|Norvent:BOF veya EOF True*|"_s + general});

        add("report table missing", {u"FIRMA:DROP TABLE KB"_s}, 8, {u"critical|Invalid object name 'KB'."_s, kbQuery});
        add("NULL sums",
            {u"FIRMA:INSERT INTO CEKKART VALUES (1, NULL, NULL, 'Portföyde')"_s, u"FIRMA:INSERT INTO CB VALUES (1, NULL)"_s,
             u"FIRMA:INSERT INTO KB VALUES (1, NULL)"_s}, 0,
            {u"porfoydeki_cekler=0,00"_s, u"acık_hesaptakı_boırclar=0,00"_s, u"Kasa_bakiyeleri_toplamı=0,00"_s,
             u"sirketin_genel_alacakları_toplamı=0,00"_s});
        add("text in a money column", {u"FIRMA:INSERT INTO KB VALUES (1, 'bin lira')"_s, u"FIRMA:INSERT INTO KB VALUES (2, '12.50')"_s},
            0, {u"Kasa_bakiyeleri_toplamı=12,50"_s});
        add("text in a stock cost",
            {u"FIRMA:INSERT INTO STOKKART VALUES (1, 'Çay')"_s, u"FIRMA:INSERT INTO SB VALUES (1, 5)"_s,
             u"FIRMA:INSERT INTO STOKHAREKET VALUES (1, 1, '2026-01-02 00:00:00', 5, 0, 'pahalı')"_s}, 8,
            {u"critical|Rapor hazırlanamadı: Tür uyuşmazlığı"_s});
        // SQLite holds MONEY as a double, exact to 15 digits: the largest whole Currency amount is its limit.
        add("largest whole Currency", {u"FIRMA:INSERT INTO KB VALUES (1, -922337203685477)"_s}, 0,
            {u"Kasa_bakiyeleri_toplamı=922.337.203.685.477,00"_s});
        add("sum beyond Currency", {u"FIRMA:INSERT INTO KB VALUES (1, 922337203685477)"_s, u"FIRMA:INSERT INTO KB VALUES (2, 1)"_s}, 8,
            {u"critical|Taşma"_s, kbQuery});
        add("total beyond Currency",
            {u"FIRMA:INSERT INTO KB VALUES (1, 600000000000000)"_s, u"FIRMA:INSERT INTO BB VALUES (1, 600000000000000)"_s}, 8,
            {u"critical|Rapor hazırlanamadı: Taşma"_s});
    }

    void sweep()
    {
        QFETCH(QStringList, changes); QFETCH(QString, line);
        QFETCH(int, exitCode); QFETCH(QStringList, expected);
        test::TestInstance instance;
        test::addStandardDatabases(instance);
        instance.addLogin(u"o'ne;x"_s, u"p;w"_s);
        for (const QString &change : std::as_const(changes)) {
            const QString database = change.section(u':', 0, 0), what = change.section(u':', 1);
            const QString file = QDir(instance.path()).filePath(database + u".sqlite"_s);
            if (what.startsWith(u'@'))
                QVERIFY(what.size() == 1 ? QFile::remove(file) : test::writeFile(file, what.mid(1).toUtf8()));
            else
                instance.run(database, {what});
        }
        const QByteArray digest = instance.digest();
        QTemporaryDir home;
        test::writeRegistry(home.filePath(u"registry.reg"_s));
        line.replace(u"%1"_s, instance.path());
        const QStringList arguments = line.startsWith(u"--") ? line.split(u' ') : QStringList{u"--json"_s, u"--"_s, line};
        const test::ZelvanRun run = test::runZelvan(arguments, test::runEnvironment(home.filePath(u"registry.reg"_s)));
        QVERIFY2(!run.crashed, run.err.constData());
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(exitCode != 2 || !expected.isEmpty() || run.err.contains("usage: zelvan"));
        // The messages as "icon|text", with the caption when it is not the program's; then the fields asked for.
        QStringList actual;
        for (const QJsonObject &box : run.messages) {
            const QString caption = box.value(u"caption"_s).toString();
            actual << box.value(u"icon"_s).toString() + u'|' + (caption == u"Zelvan" ? QString() : caption + u'|') + box.value(u"text"_s).toString();
        }
        const QJsonObject shown = QJsonDocument::fromJson(run.out).object().value(u"fields"_s).toObject();
        QVERIFY(exitCode == 0 ? !shown.isEmpty() : run.out.isEmpty());
        for (int i = 0; exitCode == 0 && i < expected.size(); ++i)
            actual << expected[i].section(u'=', 0, 0) + u'=' + shown.value(expected[i].section(u'=', 0, 0)).toString();
        QCOMPARE(actual.size(), expected.size());
        for (int i = 0; i < actual.size(); ++i) {  // a '*' stands for some text
            const QString pattern = QRegularExpression::escape(expected[i]).replace(u"\\*"_s, u".+"_s);
            QVERIFY2(QRegularExpression(u'^' + pattern + u'$', QRegularExpression::DotMatchesEverythingOption).match(actual[i]).hasMatch(),
                     qPrintable(actual[i]));
        }
        QCOMPARE(instance.digest(), digest);
    }
};

QTEST_GUILESS_MAIN(TestBadInput)
#include "tst_badinput.moc"
