#include "login/passwordtext.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runDemo(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(ZELVAN_BIN_DIR "/zelvan-demo"), arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// One line per row, columns joined by "|", NULL written as NULL.
QStringList query(const QString &file, const QString &sql)
{
    QProcess process;
    process.start(u"sqlite3"_s, {u"-batch"_s, u"-readonly"_s, u"-noheader"_s, u"-nullvalue"_s, u"NULL"_s,
                                 u"-separator"_s, u"|"_s, file, sql});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {u"<sqlite3 failed: %1>"_s.arg(QString::fromUtf8(process.readAllStandardError()))};
    return QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestZelvanDemo : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_dir;  // default size, seed 11

    QString file(const QString &name) const { return QDir(m_dir).filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable(u"sqlite3"_s).isEmpty(), "the sqlite3 shell is needed (see README)");
        m_dir = m_tmp.filePath(u"instance"_s);
        const Run run = runDemo({m_dir, u"--seed"_s, u"11"_s});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty() && run.out.contains(u"NRV_DEMO_2026|"_s + m_dir + u"|1|norvent|Zelvan2026"_s));
    }

    // Rewriting a directory with the same seed gives the same bytes, whatever was there.
    void sameSeedSameBytes()
    {
        const QDir again(m_tmp.filePath(u"again"_s));
        QCOMPARE(runDemo({again.path(), u"--seed"_s, u"12"_s}).exitCode, 0);
        QVERIFY(contents(again.filePath(u"NRV_DEMO_2026.sqlite"_s)) != contents(file(u"NRV_DEMO_2026.sqlite"_s)));
        QCOMPARE(runDemo({u"--seed=11"_s, again.path()}).exitCode, 0);
        for (const QString &name : {u"master"_s, u"Defination_DB"_s, u"NRV_DEMO_2026"_s, u"NRV_ORNEK_2026"_s}) {
            const QByteArray bytes = contents(again.filePath(name + u".sqlite"_s));
            QVERIFY2(!bytes.isEmpty() && bytes == contents(file(name + u".sqlite"_s)), qPrintable(name));
        }
    }

    // The README's logins, and the suite users with the same name and password for the dialog.
    void loginsAndUsers_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("userId");  // 0: no suite user
        QTest::addColumn<QString>("userName");
        QTest::newRow("norvent") << u"norvent"_s << u"Zelvan2026"_s << 1 << u"NORVENT"_s;
        QTest::newRow("sa, no suite user") << u"sa"_s << u"Demo.1234"_s << 0 << QString();
        QTest::newRow("mehmet, empty password") << u"mehmet"_s << QString() << 3 << u"MEHMET"_s;
        QTest::newRow("ismail") << u"ismail"_s << u"9876"_s << 4 << u"İSMAİL"_s;
    }
    void loginsAndUsers()
    {
        QFETCH(QString, login);
        QFETCH(QString, password);
        QFETCH(int, userId);
        QFETCH(QString, userName);
        const QStringList row = query(file(u"master.sqlite"_s),
                                      u"SELECT salt, password_sha256 FROM sql_logins WHERE name='%1'"_s.arg(login));
        QCOMPARE(row.size(), 1);
        const QString salt = row[0].section(u'|', 0, 0);
        QCOMPARE(row[0].section(u'|', 1).toLatin1(),
                 QCryptographicHash::hash((salt + password).toUtf8(), QCryptographicHash::Sha256).toHex());
        if (userId)
            QCOMPARE(query(file(u"Defination_DB.sqlite"_s), u"SELECT sysus_nm, sysus FROM sysuslng WHERE sysus_ID=%1"_s
                                                               .arg(userId)),
                     QStringList{userName + u'|' + zelvan::EncodePassword(password)});
    }

    // The README's companies, the users' company lists and report rights (CARR|CARB).
    void companiesAndRights()
    {
        const QString defs = file(u"Defination_DB.sqlite"_s);
        QCOMPARE(query(defs, u"SELECT sysfrm_ID, sysfrm_kd, sysfrm_dbnm FROM sysfrmlng ORDER BY 1"_s),
                 (QStringList{u"1|DT01|NRV_DEMO_2026"_s, u"2|OG02|NRV_ORNEK_2026"_s}));
        QCOMPARE(query(defs, u"SELECT sysus_ID, sysfrm_ID FROM sysusfrmlng ORDER BY 1, 2"_s),
                 (QStringList{u"1|1"_s, u"1|2"_s, u"2|1"_s, u"4|2"_s}));
        QCOMPARE(query(defs, u"SELECT Kullanici_ID, Firma_ID, CARR, CARB FROM Kullanici ORDER BY 1, 2"_s),
                 (QStringList{u"1|1|1|1"_s, u"1|2|1|1"_s, u"2|1|0|1"_s, u"4|2|1|NULL"_s, u"5|1|1|0"_s}));
        // The three guarded settings are NULL in one company and set in the other.
        QCOMPARE(query(defs, u"SELECT count(DefKDV), count(KrediLimiti), count(KasaHareketListeTipi) FROM sysfrmlng"_s),
                 QStringList{u"1|1|1"_s});
    }

    // What real data holds and the report must cope with; each query gives 1 in both companies.
    void dataShape_data()
    {
        QTest::addColumn<QString>("sql");
        const auto fact = [](const QString &what, const QString &sql) { QTest::addRow("%s", qPrintable(what)) << sql; };
        for (const auto &[table, own] : {std::pair{u"CEKKART"_s, u"Kendi Çekimiz"_s}, {u"SENETKART"_s, u"Kendi Senedimiz"_s}}) {
            fact(table + u": every status"_s,
                 u"SELECT group_concat(Durum) = 'Bankada Tahsilde,Bankada Teminatta,Ciro Edildi,Karşılıksız,%2,"
                 u"Portföyde,Tahsil Edildi,İade Edildi' FROM (SELECT DISTINCT Durum FROM %1 ORDER BY Durum)"_s.arg(table, own));
        }
        fact(u"balances of both signs and NULL, a bank placeholder row"_s,
             u"SELECT (SELECT sum(Bakiye > 0) > 0 AND sum(Bakiye < 0) > 0 AND sum(Bakiye IS NULL) > 0 FROM CB) "
             u"AND (SELECT sum(Hesap_ID = 0 AND Bakiye > 0) = 1 FROM BB)"_s);
        // Only ORDER BY Tarih, Cikis reads a day's receipt entered after its sale first.
        fact(u"a sale entered before its day's receipt"_s,
             u"SELECT count(*) > 0 FROM STOKHAREKET s JOIN STOKHAREKET r ON r.Stok_ID = s.Stok_ID AND r.Tarih = s.Tarih "
             u"AND r.StokHareket_ID > s.StokHareket_ID WHERE s.Cikis > 0 AND r.Cikis = 0"_s);
        fact(u"the movements' index"_s, u"SELECT count(*) = 1 FROM pragma_index_list('STOKHAREKET') il WHERE (SELECT "
                                     u"group_concat(name) FROM (SELECT name FROM pragma_index_info(il.name) ORDER BY "
                                     u"seqno)) = 'Stok_ID,Tarih,Cikis'"_s);
    }
    void dataShape()
    {
        QFETCH(QString, sql);
        for (const QString &database : {u"NRV_DEMO_2026.sqlite"_s, u"NRV_ORNEK_2026.sqlite"_s})
            QCOMPARE(query(file(database), sql), QStringList{u"1"_s});
    }

    void optionsChangeTheSizes()
    {
        const QDir dir(m_tmp.filePath(u"sized"_s));
        QCOMPARE(runDemo({dir.path(), u"--items"_s, u"8"_s, u"--movements-per-item=3"_s}).exitCode, 0);
        QCOMPARE(query(dir.filePath(u"NRV_DEMO_2026.sqlite"_s),
                       u"SELECT (SELECT count(*) FROM STOKHAREKET), count(DISTINCT Durum) FROM CEKKART"_s),
                 QStringList{u"24|8"_s});  // even a tiny instance holds every status
        QCOMPARE(query(dir.filePath(u"NRV_ORNEK_2026.sqlite"_s), u"SELECT count(*) FROM STOKKART"_s), QStringList{u"2"_s});
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");  // one-letter arguments are directories
        QTest::newRow("no DIR") << QStringList();
        QTest::newRow("unknown option") << QStringList{u"d"_s, u"--size"_s, u"3"_s};
        QTest::newRow("items 0") << QStringList{u"d"_s, u"--items"_s, u"0"_s};
        QTest::newRow("movements too many") << QStringList{u"d"_s, u"--movements-per-item"_s, u"100000"_s};
    }
    void badArguments()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir cwd;
        for (QString &arg : arguments) {
            if (arg.size() == 1)
                arg = cwd.filePath(arg);
        }
        const Run run = runDemo(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains(u"usage: zelvan-demo DIR"_s) && run.out.isEmpty() && QDir(cwd.path()).isEmpty());
    }

    void helpAndWriteFailure()
    {
        QVERIFY(runDemo({u"--help"_s}).out.startsWith(u"usage: zelvan-demo DIR"_s));
        // A database name taken by a directory: the file can't be written.
        QTemporaryDir tmp;
        QVERIFY(QDir(tmp.path()).mkpath(u"inst/NRV_DEMO_2026.sqlite"_s));
        const Run run = runDemo({tmp.filePath(u"inst"_s)});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(u"NRV_DEMO_2026.sqlite"_s));
    }

    // The T-SQL scripts of the default instance are the committed ones.
    void tsqlScripts()
    {
        const QDir sql(m_tmp.filePath(u"sql"_s));
        QCOMPARE(runDemo({m_tmp.filePath(u"default"_s), u"--tsql"_s, sql.path()}).exitCode, 0);
        const QDir committed(QDir::cleanPath(QStringLiteral(ZELVAN_TEST_DATA_DIR "/../../tools/sqlserver")));
        const QStringList files = committed.entryList({u"*.sql"_s}, QDir::Files, QDir::Name);
        QCOMPARE(files, sql.entryList({u"*.sql"_s}, QDir::Files, QDir::Name));
        QCOMPARE(files.join(u','), u"Defination_DB.sql,NRV_DEMO_2026.sql,NRV_ORNEK_2026.sql,logins.sql"_s);
        for (const QString &name : files) {
            const QByteArray bytes = contents(sql.filePath(name));
            QVERIFY(bytes.startsWith("\xEF\xBB\xBF-- "));
            QVERIFY2(bytes == contents(committed.filePath(name)), qPrintable(name + u" differs from tools/sqlserver"_s));
        }
    }
};

QTEST_GUILESS_MAIN(TestZelvanDemo)
#include "tst_zelvandemo.moc"
