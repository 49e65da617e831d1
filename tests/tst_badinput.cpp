#include "support/testinstance.h"
#include "support/zelvanrun.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString ConnectionMessage = u"Veri Tabanına Bağlanılamadı. Lütfen Service Manager Programı İle Server'ınızı "
                                  u"Başlattıktan sonra programı Tekrar Çalıştırın"_s;
const QString LaunchMessage = u"Eksik Paremetre Kullanımı "_s;
const QString RightMessage = u"Bu Raporu Görmeye Yetkiniz Yoktur. Lütfen Sistem Yöneticisi'ne Başvurun"_s;

// A change to the standard test instance before the run: "DATABASE:SQL", or
// "DATABASE:@empty" (an empty file), "DATABASE:@text" (a file of plain text),
// "DATABASE:@missing" (no file).
void applyChange(test::TestInstance &instance, const QString &change)
{
    const qsizetype colon = change.indexOf(u':');
    const QString database = change.left(colon);
    const QString what = change.mid(colon + 1);
    QFile file(QDir(instance.path()).filePath(database + u".sqlite"_s));
    if (what == u"@empty") {
        QVERIFY(file.resize(0));
    } else if (what == u"@text") {
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("this is not a database\n");
    } else if (what == u"@missing") {
        QVERIFY(file.remove());
    } else {
        instance.run(database, {what});
    }
}

} // namespace

// Every kind of bad launch line, option and database content met so far, run
// through the real binary: each gives its messages (text and icon) and exit
// code, and leaves the instance as it was.
class TestBadInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void sweep_data();
    void sweep();
};

void TestBadInput::initTestCase()
{
    QVERIFY(QFile::exists(test::binaryPath(u"zelvan"_s)));
}

void TestBadInput::sweep_data()
{
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QStringList>("arguments");  // "%1" stands for the instance's folder
    QTest::addColumn<QString>("answers");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("texts");      // an entry ending in '*' matches a prefix
    QTest::addColumn<QStringList>("icons");      // "icon", or "icon|caption" when the caption isn't the program's
    QTest::addColumn<QStringList>("fields");     // "name=text" of the JSON written, when the run succeeds

    const auto json = [](const QString &line) { return QStringList{u"--json"_s, u"--"_s, line}; };
    const QString good = u"FIRMA|%1|7|zelvan|parola"_s;
    const QStringList connection{u"information"_s, u"none"_s};
    const auto details = [](const QString &text) { return QStringList{ConnectionMessage, u"Hata Ayrıntsı :"_s + text}; };
    const QString zero = u"0,00"_s;

    // The launch line and the options.
    QTest::newRow("too few fields") << QStringList() << json(u"DB1|SRV1"_s) << QString() << 2
                                    << QStringList{LaunchMessage} << QStringList{u"critical"_s} << QStringList();
    QTest::newRow("four fields and a trailing bar") << QStringList() << json(u"FIRMA|%1|7|zelvan|"_s) << QString() << 2
                                                    << QStringList{LaunchMessage} << QStringList{u"critical"_s} << QStringList();
    QTest::newRow("user id not a number") << QStringList() << json(u"FIRMA|%1|yedi|zelvan|parola"_s) << QString() << 2
                                          << QStringList{LaunchMessage} << QStringList{u"critical"_s} << QStringList();
    QTest::newRow("user id with a fraction") << QStringList() << json(u"FIRMA|%1|7.0|zelvan|parola"_s) << QString() << 2
                                             << QStringList{LaunchMessage} << QStringList{u"critical"_s} << QStringList();
    QTest::newRow("user id above 32 bits") << QStringList() << json(u"FIRMA|%1|2147483648|zelvan|parola"_s) << QString()
                                           << 2 << QStringList{LaunchMessage} << QStringList{u"critical"_s} << QStringList();
    QTest::newRow("user id below 32 bits") << QStringList() << json(u"FIRMA|%1|-2147483649|zelvan|parola"_s) << QString()
                                           << 2 << QStringList{LaunchMessage} << QStringList{u"critical"_s} << QStringList();
    QTest::newRow("unknown option") << QStringList() << QStringList{u"--renkli"_s, u"--"_s, good} << QString() << 2
                                    << QStringList() << QStringList() << QStringList();
    QTest::newRow("pdf without a file") << QStringList() << QStringList{u"--pdf"_s} << QString() << 2 << QStringList()
                                        << QStringList() << QStringList();
    QTest::newRow("png with an empty file") << QStringList() << QStringList{u"--png="_s, u"--"_s, good} << QString() << 2
                                            << QStringList() << QStringList() << QStringList();

    // The server, the login and the database files.
    QTest::newRow("server neither folder nor reachable") << QStringList() << json(u"FIRMA|127.0.0.1,1|7|zelvan|parola"_s)
                                                         << QString() << 3 << details(u"*"_s) << connection << QStringList();
    QTest::newRow("wrong password") << QStringList() << json(u"FIRMA|%1|7|zelvan|yanlis"_s) << QString() << 3
                                    << details(u"Login failed for user 'zelvan'."_s) << connection << QStringList();
    QTest::newRow("login with quote and semicolon") << QStringList() << json(u"FIRMA|%1|7|o'ne;x|p;w"_s) << QString() << 3
                                                    << details(u"Login failed for user 'o'ne'."_s) << connection
                                                    << QStringList();
    QTest::newRow("no logins file") << QStringList{u"master:@missing"_s} << json(good) << QString() << 3
                                    << details(u"Login failed for user 'zelvan'."_s) << connection << QStringList();
    QTest::newRow("database file missing") << QStringList{u"FIRMA:@missing"_s} << json(good) << QString() << 3
                                           << details(u"Cannot open database \"FIRMA\" requested by the login. The login failed."_s)
                                           << connection << QStringList();
    QTest::newRow("database file empty") << QStringList{u"FIRMA:@empty"_s} << json(good) << QString() << 3
                                         << details(u"*"_s) << connection << QStringList();
    QTest::newRow("database file not SQLite") << QStringList{u"FIRMA:@text"_s} << json(good) << QString() << 3
                                              << details(u"*"_s) << connection << QStringList();
    QTest::newRow("Defination_DB not SQLite")
        << QStringList{u"Defination_DB:@text"_s} << json(good) << QString() << 4
        << QStringList{u"\"Defination_DB\" veritabanı açılamadı: *"_s,
                       u"SELECT * FROM Defination_DB.dbo.sysfrmlng WHERE sysfrm_dbnm='FIRMA'"_s,
                       u"Norvent Tanımlam Veritabanıyla*"_s}
        << QStringList{u"critical"_s, u"critical"_s, u"information|Norvent:Nesne kapalıyken işleme izin verilmez."_s}
        << QStringList();

    // Rights and company settings.
    QTest::newRow("no Kullanici row") << QStringList() << json(u"FIRMA|%1|77|zelvan|parola"_s) << QString() << 3
                                      << details(u"*"_s) << connection << QStringList();
    QTest::newRow("CARR false") << QStringList{u"Defination_DB:UPDATE Kullanici SET CARR=0"_s} << json(good) << QString()
                                << 5 << QStringList{RightMessage} << QStringList{u"information"_s} << QStringList();
    QTest::newRow("CARB false") << QStringList{u"Defination_DB:UPDATE Kullanici SET CARB=0"_s} << json(good) << QString()
                                << 5 << QStringList{RightMessage} << QStringList{u"information"_s} << QStringList();
    QTest::newRow("CARB NULL is allowed") << QStringList{u"Defination_DB:UPDATE Kullanici SET CARB=NULL"_s} << json(good)
                                          << QString() << 0 << QStringList() << QStringList() << QStringList();
    QTest::newRow("company lacks a column, no") << QStringList{u"Defination_DB:ALTER TABLE sysfrmlng DROP COLUMN KasaHareketListeTipi"_s}
                                                << json(good) << u"no"_s << 4 << QStringList{u"Norvent Tanımlama*"_s}
                                                << QStringList{u"question"_s} << QStringList();
    QTest::newRow("company lacks a column, yes, no updater")
        << QStringList{u"Defination_DB:ALTER TABLE sysfrmlng DROP COLUMN DefKDV"_s} << json(good) << u"yes"_s << 4
        << QStringList{u"Norvent Tanımlama*"_s, u"Sistem Bu Haliyle*"_s} << QStringList{u"question"_s, u"none"_s}
        << QStringList();
    QTest::newRow("no company row") << QStringList{u"Defination_DB:DELETE FROM sysfrmlng"_s} << json(good) << QString() << 4
                                    << QStringList{u"Norvent Tanımlam Veritabanıyla*"_s}
                                    << QStringList{u"information|Norvent:BOF veya EOF True*"_s} << QStringList();
    QTest::newRow("text in a money setting") << QStringList{u"Defination_DB:UPDATE sysfrmlng SET KrediLimiti='yok'"_s}
                                             << json(good) << QString() << 4 << QStringList{u"Norvent Tanımlam Veritabanıyla*"_s}
                                             << QStringList{u"information|Norvent:Tür uyuşmazlığı"_s} << QStringList();

    // The report's tables and amounts.
    QTest::newRow("report table missing") << QStringList{u"FIRMA:DROP TABLE KB"_s} << json(good) << QString() << 8
                                          << QStringList{u"Invalid object name 'KB'."_s,
                                                         u"SELECT  SUM(Bakiye) as Toplam FROM KB "_s}
                                          << QStringList{u"critical"_s, u"critical"_s} << QStringList();
    QTest::newRow("NULL sums") << QStringList{u"FIRMA:INSERT INTO CEKKART VALUES (1, NULL, NULL, 'Portföyde')"_s,
                                              u"FIRMA:INSERT INTO CB VALUES (1, NULL)"_s,
                                              u"FIRMA:INSERT INTO KB VALUES (1, NULL)"_s}
                               << json(good) << QString() << 0 << QStringList() << QStringList()
                               << QStringList{u"porfoydeki_cekler="_s + zero, u"acık_hesaptakı_boırclar="_s + zero,
                                              u"Kasa_bakiyeleri_toplamı="_s + zero, u"sirketin_genel_alacakları_toplamı="_s + zero};
    QTest::newRow("text in a money column") << QStringList{u"FIRMA:INSERT INTO KB VALUES (1, 'bin lira')"_s,
                                                           u"FIRMA:INSERT INTO KB VALUES (2, '12.50')"_s}
                                            << json(good) << QString() << 0 << QStringList() << QStringList()
                                            << QStringList{u"Kasa_bakiyeleri_toplamı=12,50"_s};
    QTest::newRow("text in a stock cost") << QStringList{u"FIRMA:INSERT INTO STOKKART VALUES (1, 'Çay')"_s,
                                                         u"FIRMA:INSERT INTO SB VALUES (1, 5)"_s,
                                                         u"FIRMA:INSERT INTO STOKHAREKET VALUES (1, 1, '2026-01-02 00:00:00', 5, 0, 'pahalı')"_s}
                                          << json(good) << QString() << 8 << QStringList{u"Rapor hazırlanamadı: Tür uyuşmazlığı"_s}
                                          << QStringList{u"critical"_s} << QStringList();
    // SQLite holds a MONEY value as a double, exact to 15 digits: the largest
    // whole amount of Currency is the largest value an embedded instance holds.
    QTest::newRow("largest whole Currency") << QStringList{u"FIRMA:INSERT INTO KB VALUES (1, -922337203685477)"_s}
                                            << json(good) << QString() << 0 << QStringList() << QStringList()
                                            << QStringList{u"Kasa_bakiyeleri_toplamı=922.337.203.685.477,00"_s};
    QTest::newRow("sum beyond Currency") << QStringList{u"FIRMA:INSERT INTO KB VALUES (1, 922337203685477)"_s,
                                                        u"FIRMA:INSERT INTO KB VALUES (2, 1)"_s}
                                         << json(good) << QString() << 8
                                         << QStringList{u"Taşma"_s, u"SELECT  SUM(Bakiye) as Toplam FROM KB "_s}
                                         << QStringList{u"critical"_s, u"critical"_s} << QStringList();
    QTest::newRow("total beyond Currency") << QStringList{u"FIRMA:INSERT INTO KB VALUES (1, 600000000000000)"_s,
                                                          u"FIRMA:INSERT INTO BB VALUES (1, 600000000000000)"_s}
                                           << json(good) << QString() << 8 << QStringList{u"Rapor hazırlanamadı: Taşma"_s}
                                           << QStringList{u"critical"_s} << QStringList();
}

void TestBadInput::sweep()
{
    QFETCH(QStringList, changes);
    QFETCH(QStringList, arguments);
    QFETCH(QString, answers);
    QFETCH(int, exitCode);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, icons);
    QFETCH(QStringList, fields);

    test::TestInstance instance;
    test::addStandardDatabases(instance);
    instance.addLogin(u"o'ne;x"_s, u"p;w"_s);
    for (const QString &change : std::as_const(changes)) {
        applyChange(instance, change);
        if (QTest::currentTestFailed())
            return;
    }
    const QByteArray digest = instance.digest();
    QTemporaryDir home;
    const QString registry = home.filePath(u"registry.reg"_s);
    test::writeRegistry(registry);
    QProcessEnvironment environment = test::runEnvironment(registry);
    if (!answers.isEmpty())
        environment.insert(u"ZELVAN_ANSWERS"_s, answers);
    for (QString &argument : arguments)
        argument.replace(u"%1"_s, instance.path());

    const test::ZelvanRun run = test::runZelvan(arguments, environment);
    QVERIFY2(!run.crashed, run.err.constData());
    QCOMPARE(run.exitCode, exitCode);
    const QStringList actual = run.messageTexts();
    QCOMPARE(actual.size(), texts.size());
    for (int i = 0; i < texts.size(); ++i) {
        if (texts[i].endsWith(u'*'))
            QVERIFY2(actual[i].startsWith(texts[i].chopped(1)) && actual[i].size() > texts[i].size(), qPrintable(actual[i]));
        else
            QCOMPARE(actual[i], texts[i]);
        const QString caption = icons[i].contains(u'|') ? icons[i].section(u'|', 1) : u"Zelvan"_s;
        QCOMPARE(run.messages[i].value(u"icon"_s).toString(), icons[i].section(u'|', 0, 0));
        if (caption.endsWith(u'*'))
            QVERIFY(run.messages[i].value(u"caption"_s).toString().startsWith(caption.chopped(1)));
        else
            QCOMPARE(run.messages[i].value(u"caption"_s).toString(), caption);
    }
    if (exitCode == 2 && texts.isEmpty())
        QVERIFY(run.err.contains("usage: zelvan"));  // an option error prints usage, no message
    if (exitCode == 0) {
        const QJsonObject shown = QJsonDocument::fromJson(run.out).object().value(u"fields"_s).toObject();
        QVERIFY(!shown.isEmpty());
        for (const QString &field : std::as_const(fields)) {
            const qsizetype eq = field.indexOf(u'=');
            QCOMPARE(shown.value(field.left(eq)).toString(), field.mid(eq + 1));
        }
    } else {
        QVERIFY(run.out.isEmpty());
    }
    QCOMPARE(instance.digest(), digest);
}

QTEST_GUILESS_MAIN(TestBadInput)
#include "tst_badinput.moc"
