#include "support/testinstance.h"
#include "support/zelvanrun.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString Launch = u"critical|Eksik Paremetre Kullanımı "_s;
const QString Right = u"information|Bu Raporu Görmeye Yetkiniz Yoktur. Lütfen Sistem Yöneticisi'ne Başvurun"_s;
const QString General = u"Norvent Tanımlam Veritabanıyla*"_s;
const QString KbQuery = u"critical|SELECT  SUM(Bakiye) as Toplam FROM KB "_s;

// The two messages of a failed connection: the notice, then the driver's text.
QStringList connection(const QString &details)
{
    return {u"information|Veri Tabanına Bağlanılamadı. Lütfen Service Manager Programı İle Server'ınızı "
            u"Başlattıktan sonra programı Tekrar Çalıştırın"_s,
            u"none|Hata Ayrıntsı :"_s + details};
}

// A change before the run: "DATABASE:SQL", "DATABASE:@text" (a file of plain text),
// "DATABASE:@missing" (no file), or "@answers:no" (ZELVAN_ANSWERS).
void applyChange(test::TestInstance &instance, const QString &change, QProcessEnvironment &environment)
{
    const QString database = change.section(u':', 0, 0), what = change.section(u':', 1);
    QFile file(QDir(instance.path()).filePath(database + u".sqlite"_s));
    if (database == u"@answers")
        environment.insert(u"ZELVAN_ANSWERS"_s, what);
    else if (what == u"@text")
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write("this is not a database\n") > 0);
    else if (what == u"@missing")
        QVERIFY(file.remove());
    else
        instance.run(database, {what});
}

// Text equal, or starting with what precedes a final '*' and going on.
void matches(const QString &actual, const QString &expected)
{
    if (expected.endsWith(u'*'))
        QVERIFY2(actual.startsWith(expected.chopped(1)) && actual.size() > expected.size(), qPrintable(actual));
    else
        QCOMPARE(actual, expected);
}

} // namespace

// Every kind of bad launch line, option and database content met so far, run through the real
// binary: each gives its messages and exit code, and leaves the instance as it was.
class TestBadInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sweep_data()
    {
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<QStringList>("arguments");  // "%1" stands for the instance's folder
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("messages");   // "icon|text" or "icon|caption|text"
        QTest::addColumn<QStringList>("fields");     // "name=text" of the JSON written, when the run succeeds

        const auto add = [](const char *name, const QStringList &changes, const QString &line, int exitCode,
                            const QStringList &messages, const QStringList &fields = {}) {
            QTest::newRow(name) << changes << QStringList{u"--json"_s, u"--"_s, line} << exitCode << messages << fields;
        };
        const QString good = u"FIRMA|%1|7|zelvan|parola"_s, failed = u"Login failed for user 'zelvan'."_s;

        add("too few fields", {}, u"DB1|SRV1"_s, 2, {Launch});
        add("user id above 32 bits", {}, u"FIRMA|%1|2147483648|zelvan|parola"_s, 2, {Launch});
        QTest::newRow("unknown option") << QStringList() << QStringList{u"--renkli"_s, u"--"_s, good} << 2
                                        << QStringList() << QStringList();

        add("server neither folder nor reachable", {}, u"FIRMA|127.0.0.1,1|7|zelvan|parola"_s, 3, connection(u"*"_s));
        add("wrong password", {}, u"FIRMA|%1|7|zelvan|yanlis"_s, 3, connection(failed));
        add("login with quote and semicolon", {}, u"FIRMA|%1|7|o'ne;x|p;w"_s, 3,
            connection(u"Login failed for user 'o'ne'."_s));
        add("no logins file", {u"master:@missing"_s}, good, 3, connection(failed));
        add("database file missing", {u"FIRMA:@missing"_s}, good, 3,
            connection(u"Cannot open database \"FIRMA\" requested by the login. The login failed."_s));
        add("database file not SQLite", {u"FIRMA:@text"_s}, good, 3, connection(u"*"_s));
        add("Defination_DB not SQLite", {u"Defination_DB:@text"_s}, good, 4,
            {u"critical|\"Defination_DB\" veritabanı açılamadı: *"_s,
             u"critical|SELECT * FROM Defination_DB.dbo.sysfrmlng WHERE sysfrm_dbnm='FIRMA'"_s,
             u"information|Norvent:Nesne kapalıyken işleme izin verilmez.|"_s + General});

        add("no Kullanici row", {}, u"FIRMA|%1|77|zelvan|parola"_s, 3, connection(u"*"_s));
        add("CARR false", {u"Defination_DB:UPDATE Kullanici SET CARR=0"_s}, good, 5, {Right});
        add("company lacks a column, yes, no updater",
            {u"Defination_DB:ALTER TABLE sysfrmlng DROP COLUMN DefKDV"_s, u"@answers:yes"_s}, good, 4,
            {u"question|Norvent Tanımlama*"_s, u"none|Sistem Bu Haliyle*"_s});
        add("no company row", {u"Defination_DB:DELETE FROM sysfrmlng"_s}, good, 4,
            {u"information|Norvent:BOF veya EOF True*|"_s + General});

        add("report table missing", {u"FIRMA:DROP TABLE KB"_s}, good, 8,
            {u"critical|Invalid object name 'KB'."_s, KbQuery});
        add("NULL sums",
            {u"FIRMA:INSERT INTO CEKKART VALUES (1, NULL, NULL, 'Portföyde')"_s, u"FIRMA:INSERT INTO CB VALUES (1, NULL)"_s,
             u"FIRMA:INSERT INTO KB VALUES (1, NULL)"_s}, good, 0, {},
            {u"porfoydeki_cekler=0,00"_s, u"acık_hesaptakı_boırclar=0,00"_s, u"Kasa_bakiyeleri_toplamı=0,00"_s,
             u"sirketin_genel_alacakları_toplamı=0,00"_s});
        add("text in a money column",
            {u"FIRMA:INSERT INTO KB VALUES (1, 'bin lira')"_s, u"FIRMA:INSERT INTO KB VALUES (2, '12.50')"_s}, good, 0,
            {}, {u"Kasa_bakiyeleri_toplamı=12,50"_s});
        add("text in a stock cost",
            {u"FIRMA:INSERT INTO STOKKART VALUES (1, 'Çay')"_s, u"FIRMA:INSERT INTO SB VALUES (1, 5)"_s,
             u"FIRMA:INSERT INTO STOKHAREKET VALUES (1, 1, '2026-01-02 00:00:00', 5, 0, 'pahalı')"_s}, good, 8,
            {u"critical|Rapor hazırlanamadı: Tür uyuşmazlığı"_s});
        // SQLite holds MONEY as a double, exact to 15 digits: the largest whole Currency amount is its limit.
        add("largest whole Currency", {u"FIRMA:INSERT INTO KB VALUES (1, -922337203685477)"_s}, good, 0, {},
            {u"Kasa_bakiyeleri_toplamı=922.337.203.685.477,00"_s});
        add("sum beyond Currency",
            {u"FIRMA:INSERT INTO KB VALUES (1, 922337203685477)"_s, u"FIRMA:INSERT INTO KB VALUES (2, 1)"_s}, good, 8,
            {u"critical|Taşma"_s, KbQuery});
        add("total beyond Currency",
            {u"FIRMA:INSERT INTO KB VALUES (1, 600000000000000)"_s, u"FIRMA:INSERT INTO BB VALUES (1, 600000000000000)"_s},
            good, 8, {u"critical|Rapor hazırlanamadı: Taşma"_s});
    }

    void sweep()
    {
        QFETCH(QStringList, changes);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, fields);

        test::TestInstance instance;
        test::addStandardDatabases(instance);
        instance.addLogin(u"o'ne;x"_s, u"p;w"_s);
        QTemporaryDir home;
        const QString registry = home.filePath(u"registry.reg"_s);
        test::writeRegistry(registry);
        QProcessEnvironment environment = test::runEnvironment(registry);
        for (const QString &change : std::as_const(changes)) {
            applyChange(instance, change, environment);
            if (QTest::currentTestFailed())
                return;
        }
        const QByteArray digest = instance.digest();
        for (QString &argument : arguments)
            argument.replace(u"%1"_s, instance.path());

        const test::ZelvanRun run = test::runZelvan(arguments, environment);
        QVERIFY2(!run.crashed, run.err.constData());
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.messages.size(), messages.size());
        for (int i = 0; i < messages.size(); ++i) {
            const QStringList parts = messages[i].split(u'|');
            QCOMPARE(run.messages[i].value(u"icon"_s).toString(), parts.first());
            matches(run.messageTexts()[i], parts.last());
            matches(run.messages[i].value(u"caption"_s).toString(), parts.size() == 3 ? parts[1] : u"Zelvan"_s);
        }
        if (exitCode == 2 && messages.isEmpty())
            QVERIFY(run.err.contains("usage: zelvan"));  // an option error prints usage, no message
        if (exitCode == 0) {
            const QJsonObject shown = QJsonDocument::fromJson(run.out).object().value(u"fields"_s).toObject();
            QVERIFY(!shown.isEmpty());
            for (const QString &field : std::as_const(fields))
                QCOMPARE(shown.value(field.section(u'=', 0, 0)).toString(), field.section(u'=', 1));
        } else {
            QVERIFY(run.out.isEmpty());
        }
        QCOMPARE(instance.digest(), digest);
    }
};

QTEST_GUILESS_MAIN(TestBadInput)
#include "tst_badinput.moc"
