// Runs the real zelvan-demo and reads what it wrote with the sqlite3 shell.

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
    Run run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// One line per row, columns joined by "|", NULL written as NULL.
QStringList query(const QString &file, const QString &sql)
{
    QProcess process;
    process.start(u"sqlite3"_s, {u"-batch"_s, u"-readonly"_s, u"-noheader"_s, u"-nullvalue"_s, u"NULL"_s,
                                 u"-separator"_s, u"|"_s, file, sql});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning("sqlite3 failed on %s: %s", qPrintable(sql), process.readAllStandardError().constData());
        return {u"<sqlite3 failed>"_s};
    }
    return QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

QString one(const QString &file, const QString &sql)
{
    const QStringList rows = query(file, sql);
    return rows.size() == 1 ? rows.first() : u"<%1 rows>"_s.arg(rows.size());
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The rows of a table's INSERT statements in a T-SQL script, one per line.
QStringList scriptRows(const QString &script, const QString &table)
{
    QStringList rows;
    bool inside = false;
    for (const QString &line : script.split(u'\n')) {
        if (line.startsWith(u"INSERT INTO "_s + table + u" ("_s)) {
            inside = true;
        } else if (inside && line.startsWith(u'(')) {
            rows.append(line);
            inside = line.endsWith(u',');
        } else {
            inside = false;
        }
    }
    return rows;
}

const QStringList instanceFiles = {u"master.sqlite"_s, u"Defination_DB.sqlite"_s, u"NRV_DEMO_2026.sqlite"_s,
                                   u"NRV_ORNEK_2026.sqlite"_s};

} // namespace

class TestZelvanDemo : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_tmp;
    QString m_dir;  // default size, seed 11
    Run m_run;
    Run m_tsqlRun;

    QString file(const QString &name) const { return QDir(m_dir).filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable(u"sqlite3"_s).isEmpty(), "the sqlite3 shell is needed (see README)");
        QVERIFY(m_tmp.isValid());
        m_dir = m_tmp.filePath(u"instance"_s);
        m_run = runDemo({m_dir, u"--seed"_s, u"11"_s});
        QCOMPARE(m_run.exitCode, 0);
        // The default instance with its T-SQL scripts.
        m_tsqlRun = runDemo({m_tmp.filePath(u"default"_s), u"--tsql"_s, m_tmp.filePath(u"sql"_s)});
        QCOMPARE(m_tsqlRun.exitCode, 0);
    }

    void writesTheFilesAndALaunchLine()
    {
        for (const QString &name : instanceFiles) {
            QVERIFY2(QFile::exists(file(name)), qPrintable(name));
            QVERIFY2(m_run.out.contains(name), qPrintable(name));
        }
        QVERIFY(m_run.out.contains(u"NRV_DEMO_2026|"_s + m_dir + u"|1|norvent|Zelvan2026"_s));
        QVERIFY(m_run.err.isEmpty());
    }

    void sameSeedSameBytes()
    {
        // The second directory first gets another seed, then is rewritten
        // with the first one: rewriting leaves nothing of the old instance.
        const QString again = m_tmp.filePath(u"again"_s);
        QCOMPARE(runDemo({again, u"--seed"_s, u"12"_s}).exitCode, 0);
        for (const QString &name : {u"master.sqlite"_s, u"NRV_DEMO_2026.sqlite"_s, u"NRV_ORNEK_2026.sqlite"_s})
            QVERIFY2(contents(QDir(again).filePath(name)) != contents(file(name)), qPrintable(name));

        QCOMPARE(runDemo({u"--seed=11"_s, again}).exitCode, 0);
        for (const QString &name : instanceFiles) {
            const QByteArray bytes = contents(QDir(again).filePath(name));
            QVERIFY(!bytes.isEmpty());
            QVERIFY2(bytes == contents(file(name)), qPrintable(name));
        }
    }

    void loginsVerify_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("password");
        QTest::newRow("norvent") << u"norvent"_s << u"Zelvan2026"_s;
        QTest::newRow("sa") << u"sa"_s << u"Demo.1234"_s;
        QTest::newRow("rapor, empty password") << u"rapor"_s << QString();
    }
    void loginsVerify()
    {
        QFETCH(QString, login);
        QFETCH(QString, password);
        const QStringList row = one(file(u"master.sqlite"_s),
                                    u"SELECT salt, password_sha256 FROM sql_logins WHERE name='%1'"_s.arg(login))
                                    .split(u'|');
        QCOMPARE(row.size(), 2);
        const auto hash = [&](const QString &pw) {
            return QString::fromLatin1(
                QCryptographicHash::hash((row.at(0) + pw).toUtf8(), QCryptographicHash::Sha256).toHex());
        };
        QCOMPARE(row.at(1), hash(password));
        QVERIFY(row.at(1) != hash(password + u'x'));
    }

    void suiteUsers_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("encoded");  // the suite's encoding of the password
        QTest::newRow("NORVENT, Zelvan2026") << 1 << u"NORVENT"_s << u"µÌÛğÇâkhmv"_s;
        QTest::newRow("AYŞE, ayse1") << 2 << u"AYŞE"_s << u"ÃôéÎg"_s;
        QTest::newRow("MEHMET, empty") << 3 << u"MEHMET"_s << QString();
        QTest::newRow("İSMAİL, 9876") << 4 << u"İSMAİL"_s << u"srqp"_s;
    }
    void suiteUsers()
    {
        QFETCH(int, id);
        QFETCH(QString, name);
        QFETCH(QString, encoded);
        QCOMPARE(one(file(u"Defination_DB.sqlite"_s),
                     u"SELECT sysus_nm || '|' || sysus FROM sysuslng WHERE sysus_ID=%1"_s.arg(id)),
                 name + u'|' + encoded);
    }

    void companiesAndRights_data()
    {
        QTest::addColumn<int>("user");
        QTest::addColumn<int>("company");
        QTest::addColumn<bool>("listed");   // in the user's company list
        QTest::addColumn<QString>("right");  // CARR|CARB, or no row
        QTest::newRow("1 in 1") << 1 << 1 << true << u"1|1"_s;
        QTest::newRow("1 in 2") << 1 << 2 << true << u"1|1"_s;
        QTest::newRow("2 in 1: CARR refuses") << 2 << 1 << true << u"0|1"_s;
        QTest::newRow("2 in 2: not listed") << 2 << 2 << false << u"<0 rows>"_s;
        QTest::newRow("3: no company, no right") << 3 << 1 << false << u"<0 rows>"_s;
        QTest::newRow("4 in 2: CARB NULL allows") << 4 << 2 << true << u"1|NULL"_s;
        QTest::newRow("5 in 1: CARB refuses") << 5 << 1 << false << u"1|0"_s;
    }
    void companiesAndRights()
    {
        QFETCH(int, user);
        QFETCH(int, company);
        QFETCH(bool, listed);
        QFETCH(QString, right);
        const QString defs = file(u"Defination_DB.sqlite"_s);
        QCOMPARE(query(defs, u"SELECT 1 FROM sysusfrmlng WHERE sysus_ID=%1 AND sysfrm_ID=%2"_s.arg(user).arg(company))
                     .size(),
                 listed ? 1 : 0);
        QCOMPARE(one(defs, u"SELECT CARR, CARB FROM Kullanici WHERE Firma_ID=%1 AND Kullanici_ID=%2"_s.arg(company).arg(user)),
                 right);
    }

    void companySettingsColumns()
    {
        const QString defs = file(u"Defination_DB.sqlite"_s);
        QCOMPARE(query(defs, u"SELECT name || ' ' || type FROM pragma_table_info('sysfrmlng')"_s).join(u", "_s),
                 u"sysfrm_ID INT, sysfrm_nm NVARCHAR(50), sysfrm_kd NVARCHAR(10), sysfrm_dbnm NVARCHAR(50), "
                 u"Mali_Yil_Baslangic DATETIME, Mali_Yil_Bitis DATETIME, AnaParaVirgul INT, BirimFiyatVirGul INT, "
                 u"DovizVirgul INT, DovizBirimFiyatVirgul INT, KurVirgul INT, DovizVar BIT, RenkBedenVar BIT, PosVar BIT, "
                 u"BarkodVar BIT, HareketKilit BIT, OzelRenkli TINYINT, Renk_Ozel INT, Renk_TL INT, Renk_Doviz INT, "
                 u"SatirISK_Dahil BIT, FaturaAltiISK_Dahil BIT, Masraflar_Dahil BIT, StokMinSeviye TINYINT, "
                 u"StokMinRenk INT, StokMaxSeviye TINYINT, StokMaxRenk INT, StokSFRSeviye TINYINT, StokSFRRenk INT, "
                 u"StokSeviyeOzelKontrol MONEY, KDV_Dahildir BIT, DefKDV MONEY, KrediLimiti MONEY, "
                 u"KasaHareketListeTipi SMALLINT"_s);
        QCOMPARE(query(defs, u"SELECT sysfrm_ID, sysfrm_kd, sysfrm_dbnm, Mali_Yil_Baslangic FROM sysfrmlng ORDER BY 1"_s),
                 QStringList({u"1|DT01|NRV_DEMO_2026|2026-01-01 00:00:00"_s, u"2|OG02|NRV_ORNEK_2026|2026-01-01 00:00:00"_s}));
        // The three guarded settings are NULL in one company and set in the other.
        for (const QString &column : {u"DefKDV"_s, u"KrediLimiti"_s, u"KasaHareketListeTipi"_s})
            QCOMPARE(one(defs, u"SELECT count(%1), count(*) FROM sysfrmlng"_s.arg(column)), u"1|2"_s);
    }

    void sizesFollowTheItems_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("rows");
        const QString demo = u"NRV_DEMO_2026.sqlite"_s;
        const QString other = u"NRV_ORNEK_2026.sqlite"_s;
        QTest::newRow("items") << demo << u"STOKKART"_s << 200;
        QTest::newRow("remaining") << demo << u"SB"_s << 200;
        QTest::newRow("movements") << demo << u"STOKHAREKET"_s << 200 * 12;
        QTest::newRow("cheques") << demo << u"CEKKART"_s << 400;
        QTest::newRow("notes") << demo << u"SENETKART"_s << 400;
        QTest::newRow("accounts") << demo << u"CARIKART"_s << 400;
        QTest::newRow("balances") << demo << u"CB"_s << 400;
        QTest::newRow("second company: a quarter") << other << u"STOKKART"_s << 50;
        QTest::newRow("second company movements") << other << u"STOKHAREKET"_s << 50 * 12;
    }
    void sizesFollowTheItems()
    {
        QFETCH(QString, database);
        QFETCH(QString, table);
        QFETCH(int, rows);
        QCOMPARE(one(file(database), u"SELECT count(*) FROM "_s + table), QString::number(rows));
    }

    void optionsChangeTheSizes()
    {
        const QString dir = m_tmp.filePath(u"sized"_s);
        QCOMPARE(runDemo({dir, u"--items"_s, u"8"_s, u"--movements-per-item=3"_s}).exitCode, 0);
        const QString demo = QDir(dir).filePath(u"NRV_DEMO_2026.sqlite"_s);
        QCOMPARE(one(demo, u"SELECT count(*) FROM STOKHAREKET"_s), u"24"_s);
        QCOMPARE(one(QDir(dir).filePath(u"NRV_ORNEK_2026.sqlite"_s), u"SELECT count(*) FROM STOKKART"_s), u"2"_s);
        // Even a tiny instance holds every status.
        QCOMPARE(one(demo, u"SELECT count(DISTINCT Durum) FROM CEKKART"_s), u"8"_s);
    }

    void everyStatusOccurs_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("own");
        for (const QString &database : {u"NRV_DEMO_2026.sqlite"_s, u"NRV_ORNEK_2026.sqlite"_s}) {
            QTest::addRow("%s cheques", qPrintable(database)) << database << u"CEKKART"_s << u"Kendi Çekimiz"_s;
            QTest::addRow("%s notes", qPrintable(database)) << database << u"SENETKART"_s << u"Kendi Senedimiz"_s;
        }
    }
    void everyStatusOccurs()
    {
        QFETCH(QString, database);
        QFETCH(QString, table);
        QFETCH(QString, own);
        QStringList expected = {u"Portföyde"_s, u"Bankada Tahsilde"_s, u"Bankada Teminatta"_s, u"Karşılıksız"_s, own,
                                u"Tahsil Edildi"_s, u"Ciro Edildi"_s, u"İade Edildi"_s};
        expected.sort();
        QStringList found = query(file(database), u"SELECT DISTINCT Durum FROM "_s + table);
        found.sort();
        QCOMPARE(found, expected);
        // Own papers carry Borc, the others Alacak; the other column is 0 or NULL.
        QCOMPARE(one(file(database), u"SELECT count(*) FROM %1 WHERE (Durum='%2' AND Alacak<>0) OR (Durum<>'%2' AND Borc<>0)"_s
                                          .arg(table, own)),
                 u"0"_s);
        QVERIFY(one(file(database), u"SELECT count(*) FROM %1 WHERE Borc IS NULL OR Alacak IS NULL"_s.arg(table)) != u"0"_s);
    }

    void moneyColumnsSum_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("sign");  // of the sum
        QTest::newRow("own cheques") << u"SELECT SUM(Borc) FROM CEKKART WHERE Durum='Kendi Çekimiz'"_s << 1;
        QTest::newRow("own notes") << u"SELECT SUM(Borc) FROM SENETKART WHERE Durum='Kendi Senedimiz'"_s << 1;
        QTest::newRow("accounts owing") << u"SELECT SUM(Bakiye) FROM CB WHERE Bakiye<0"_s << -1;
        QTest::newRow("accounts owed") << u"SELECT SUM(Bakiye) FROM CB WHERE Bakiye>0"_s << 1;
        QTest::newRow("cheques held") << u"SELECT SUM(Alacak) FROM CEKKART WHERE Durum='Portföyde'"_s << 1;
        QTest::newRow("notes at the bank")
            << u"SELECT SUM(Alacak) FROM SENETKART WHERE Durum='Bankada Tahsilde' OR Durum='Bankada Teminatta'"_s << 1;
        QTest::newRow("bounced cheques") << u"SELECT SUM(Alacak) FROM CEKKART WHERE Durum='Karşılıksız'"_s << 1;
        QTest::newRow("part-paid cheques") << u"SELECT SUM(Kalan) FROM CEKPARCALISONUC"_s << 1;
        QTest::newRow("part-paid notes") << u"SELECT SUM(Kalan) FROM SENETPARCALISONUC"_s << 1;
        QTest::newRow("POS not transferred") << u"SELECT SUM(Hesaba_Gececek_Tutar) FROM POSHAREKET WHERE Hesaba_Aktarildi=0"_s << 1;
        QTest::newRow("banks") << u"SELECT SUM(Bakiye) FROM BB WHERE Hesap_ID>0"_s << 1;
        QTest::newRow("bank placeholder") << u"SELECT SUM(Bakiye) FROM BB WHERE Hesap_ID=0"_s << 1;
        QTest::newRow("overdrawn bank") << u"SELECT SUM(Bakiye) FROM BB WHERE Bakiye<0"_s << -1;
        QTest::newRow("cash") << u"SELECT SUM(Bakiye) FROM KB"_s << 1;
    }
    void moneyColumnsSum()
    {
        QFETCH(QString, sql);
        QFETCH(int, sign);
        for (const QString &database : {u"NRV_DEMO_2026.sqlite"_s, u"NRV_ORNEK_2026.sqlite"_s}) {
            const QString sum = one(file(database), sql);
            bool ok = false;
            const double value = sum.toDouble(&ok);
            QVERIFY2(ok && value * sign > 0, qPrintable(database + u": "_s + sum));
        }
    }

    void moneyIsWholeKurus_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::newRow("CEKKART.Borc") << u"CEKKART"_s << u"Borc"_s;
        QTest::newRow("CEKKART.Alacak") << u"CEKKART"_s << u"Alacak"_s;
        QTest::newRow("SENETKART.Alacak") << u"SENETKART"_s << u"Alacak"_s;
        QTest::newRow("SENETPARCALISONUC.Kalan") << u"SENETPARCALISONUC"_s << u"Kalan"_s;
        QTest::newRow("CB.Bakiye") << u"CB"_s << u"Bakiye"_s;
        QTest::newRow("POSHAREKET.Hesaba_Gececek_Tutar") << u"POSHAREKET"_s << u"Hesaba_Gececek_Tutar"_s;
    }
    void moneyIsWholeKurus()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QCOMPARE(one(file(u"NRV_DEMO_2026.sqlite"_s),
                     u"SELECT count(*) FROM %1 WHERE abs(%2*100 - round(%2*100)) > 1e-6"_s.arg(table, column)),
                 u"0"_s);
    }

    void stockMatchesItsMovements()
    {
        const QString demo = file(u"NRV_DEMO_2026.sqlite"_s);
        // SB.Kalan is what the movements add up to (rows with a NULL quantity count nowhere).
        QCOMPARE(one(demo, u"SELECT count(*) FROM SB LEFT JOIN (SELECT Stok_ID, SUM(Giris-Cikis) AS q FROM STOKHAREKET "
                           u"WHERE Giris IS NOT NULL AND Cikis IS NOT NULL GROUP BY Stok_ID) m USING (Stok_ID) "
                           u"WHERE abs(SB.Kalan - ifnull(m.q, 0)) > 1e-6"_s),
                 u"0"_s);
        QCOMPARE(one(demo, u"SELECT min(sum(Kalan > 0), sum(Kalan = 0), sum(Kalan < 0)) > 0 FROM SB"_s), u"1"_s);
        QCOMPARE(one(demo, u"SELECT count(*) > 0 FROM STOKHAREKET WHERE Giris IS NULL OR Cikis IS NULL"_s), u"1"_s);
        QCOMPARE(one(demo, u"SELECT count(*) > 0 FROM STOKHAREKET WHERE Maliyet IS NULL AND Giris > 0"_s), u"1"_s);
    }

    void movementsOrderedByTheirDate()
    {
        const QString demo = file(u"NRV_DEMO_2026.sqlite"_s);
        // A day's sale entered before its receipt: only ORDER BY Tarih,Cikis reads the receipt first.
        QCOMPARE(one(demo, u"SELECT count(*) > 0 FROM STOKHAREKET s JOIN STOKHAREKET r ON r.Stok_ID = s.Stok_ID "
                           u"AND r.Tarih = s.Tarih AND r.StokHareket_ID > s.StokHareket_ID WHERE s.Cikis > 0 AND r.Cikis = 0"_s),
                 u"1"_s);
        // Some items sell before their first receipt.
        QCOMPARE(one(demo, u"SELECT count(*) > 0 FROM STOKKART k WHERE (SELECT Cikis FROM STOKHAREKET h "
                           u"WHERE h.Stok_ID = k.Stok_ID ORDER BY Tarih, Cikis LIMIT 1) > 0"_s),
                 u"1"_s);
        // Weighed goods move in fractions, the others in whole units.
        QCOMPARE(one(demo, u"SELECT sum(Birim = 'kg') > 0, sum(Birim <> 'kg') FROM STOKHAREKET JOIN STOKKART USING (Stok_ID) "
                           u"WHERE Giris + Cikis <> round(Giris + Cikis)"_s),
                 u"1|0"_s);
        QVERIFY(query(demo, u"SELECT (SELECT group_concat(name) FROM (SELECT name FROM pragma_index_info(il.name) "
                            u"ORDER BY seqno)) FROM pragma_index_list('STOKHAREKET') il"_s)
                    .contains(u"Stok_ID,Tarih,Cikis"_s));
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no DIR") << QStringList();
        QTest::newRow("two DIRs") << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("unknown option") << QStringList{u"d"_s, u"--size"_s, u"3"_s};
        QTest::newRow("items missing") << QStringList{u"d"_s, u"--items"_s};
        QTest::newRow("items 0") << QStringList{u"d"_s, u"--items"_s, u"0"_s};
        QTest::newRow("items not a number") << QStringList{u"d"_s, u"--items=12x"_s};
        QTest::newRow("negative seed") << QStringList{u"d"_s, u"--seed"_s, u"-1"_s};
        QTest::newRow("movements too many") << QStringList{u"d"_s, u"--movements-per-item"_s, u"100000"_s};
        QTest::newRow("tsql without SQLDIR") << QStringList{u"d"_s, u"--tsql"_s};
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
        QVERIFY(run.err.contains(u"usage: zelvan-demo DIR"_s));
        QVERIFY(run.out.isEmpty());
        QVERIFY(QDir(cwd.path()).isEmpty());
    }

    void tsqlScriptsAreTheCommittedOnes()
    {
        const QString sql = m_tmp.filePath(u"sql"_s);
        QVERIFY(m_tsqlRun.out.contains(u"Defination_DB.sql,NRV_DEMO_2026.sql,NRV_ORNEK_2026.sql,logins.sql"_s));
        const QDir committed(QDir::cleanPath(QStringLiteral(ZELVAN_TEST_DATA_DIR "/../../tools/sqlserver")));
        const QStringList files = committed.entryList({u"*.sql"_s}, QDir::Files, QDir::Name);
        QCOMPARE(files, (QStringList{u"Defination_DB.sql"_s, u"NRV_DEMO_2026.sql"_s, u"NRV_ORNEK_2026.sql"_s,
                                     u"logins.sql"_s}));
        for (const QString &name : files) {
            const QByteArray bytes = contents(QDir(sql).filePath(name));
            QVERIFY(bytes.startsWith("\xEF\xBB\xBF-- "));
            QVERIFY2(bytes == contents(committed.filePath(name)), qPrintable(name + u" differs from tools/sqlserver"_s));
        }
    }

    void tsqlRowsAreTheInstanceRows_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("byValue");  // else only counted
        QTest::newRow("users") << u"Defination_DB"_s << u"sysuslng"_s << true;
        QTest::newRow("rights") << u"Defination_DB"_s << u"Kullanici"_s << true;
        QTest::newRow("balances") << u"NRV_DEMO_2026"_s << u"CB"_s << true;
        QTest::newRow("cheques") << u"NRV_DEMO_2026"_s << u"CEKKART"_s << false;
        QTest::newRow("movements, several INSERTs") << u"NRV_DEMO_2026"_s << u"STOKHAREKET"_s << false;
        QTest::newRow("second company") << u"NRV_ORNEK_2026"_s << u"STOKKART"_s << false;
    }

    void tsqlRowsAreTheInstanceRows()
    {
        QFETCH(QString, database);
        QFETCH(QString, table);
        QFETCH(bool, byValue);
        const QString instance = m_tmp.filePath(u"default"_s);
        const QString script = QString::fromUtf8(contents(QDir(m_tmp.filePath(u"sql"_s)).filePath(database + u".sql"_s)));
        QVERIFY(!script.isEmpty());
        const QString file = QDir(instance).filePath(database + u".sqlite"_s);
        const QStringList rows = scriptRows(script, table);
        QCOMPARE(QString::number(rows.size()), one(file, u"SELECT COUNT(*) FROM "_s + table));
        if (!byValue)
            return;
        QStringList values;
        for (const QString &row : rows) {
            QString text = row.mid(1, row.size() - 3);  // without "(" and ")," or ");"
            text.replace(u","_s, u"|"_s).replace(u"N'"_s, QString()).remove(u'\'');
            values.append(text);
        }
        QCOMPARE(values, query(file, u"SELECT * FROM "_s + table + u" ORDER BY rowid"_s));
    }

    void help()
    {
        const Run run = runDemo({u"--help"_s});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith(u"usage: zelvan-demo DIR"_s));
    }

    void writeFailure()
    {
        QTemporaryDir tmp;
        const QString notADir = tmp.filePath(u"plain-file"_s);
        QFile plain(notADir);
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        Run run = runDemo({notADir});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(notADir));

        // A database name taken by a directory: the file can't be written.
        QVERIFY(QDir(tmp.path()).mkpath(u"inst/NRV_DEMO_2026.sqlite"_s));
        run = runDemo({tmp.filePath(u"inst"_s)});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(u"NRV_DEMO_2026.sqlite"_s));
    }
};

QTEST_GUILESS_MAIN(TestZelvanDemo)
#include "tst_zelvandemo.moc"
