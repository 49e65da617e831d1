#include "support/testinstance.h"

#include "sqlitewriter/sqlitewriter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>



using namespace Qt::Literals::StringLiterals;

namespace zelvan::test {

void TestInstance::addLogin(const QString &name, const QString &password, const QString &salt)
{
    writer::SqliteWriter db(QDir(path()).filePath(u"master.sqlite"_s), false);
    db.exec(u"CREATE TABLE IF NOT EXISTS sql_logins(name TEXT NOT NULL, salt TEXT NOT NULL, password_sha256 TEXT NOT NULL)"_s);
    const QByteArray hash = QCryptographicHash::hash((salt + password).toUtf8(), QCryptographicHash::Sha256).toHex();
    db.prepare(u"INSERT INTO sql_logins VALUES (?1, ?2, ?3)"_s).bind(1, name).bind(2, salt).bind(3, QString::fromLatin1(hash)).run();
}

void TestInstance::createDatabase(const QString &name, const QStringList &statements)
{
    writer::SqliteWriter db(QDir(path()).filePath(name + u".sqlite"_s), true);
    db.begin();
    for (const QString &statement : statements)
        db.exec(statement);
    db.commit();
}

void TestInstance::run(const QString &name, const QStringList &statements)
{
    writer::SqliteWriter db(QDir(path()).filePath(name + u".sqlite"_s), false);
    for (const QString &statement : statements)
        db.exec(statement);
}

QString TestInstance::connectionString(const QString &database, const QString &user, const QString &password) const
{
    return u"Provider=SQLOLEDB.1;Persist Security Info=False;User ID=%1;Password=%2;Initial Catalog=%3;Data Source=%4"_s
        .arg(user, password, database, path());
}

QByteArray directoryDigest(const QString &dir)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QStringList files;
    for (QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories); it.hasNext();)
        files.append(it.next());
    files.sort();
    for (const QString &file : std::as_const(files)) {
        QFile f(file);
        hash.addData(file.toUtf8() + (f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray()));
    }
    return hash.result().toHex();
}

void addStandardDatabases(TestInstance &instance)
{
    instance.addLogin(u"zelvan"_s, u"parola"_s);
    instance.createDatabase(u"Defination_DB"_s, {
        QStringLiteral("CREATE TABLE Kullanici(Kullanici_ID INT, Firma_ID INT, CARR BIT, CARB BIT)"),
        QStringLiteral("INSERT INTO Kullanici VALUES (7, 1, 1, 1)"),
        QStringLiteral("CREATE TABLE sysfrmlng(sysfrm_ID INT PRIMARY KEY, sysfrm_nm NVARCHAR(50), sysfrm_kd NVARCHAR(10), "
                       "sysfrm_dbnm NVARCHAR(50), Mali_Yil_Baslangic DATETIME, Mali_Yil_Bitis DATETIME, "
                       "AnaParaVirgul INT, BirimFiyatVirGul INT, DovizVirgul INT, DovizBirimFiyatVirgul INT, "
                       "KurVirgul INT, DovizVar BIT, RenkBedenVar BIT, PosVar BIT, BarkodVar BIT, HareketKilit BIT, "
                       "OzelRenkli TINYINT, Renk_Ozel INT, Renk_TL INT, Renk_Doviz INT, SatirISK_Dahil BIT, "
                       "FaturaAltiISK_Dahil BIT, Masraflar_Dahil BIT, StokMinSeviye TINYINT, StokMinRenk INT, "
                       "StokMaxSeviye TINYINT, StokMaxRenk INT, StokSFRSeviye TINYINT, StokSFRRenk INT, "
                       "StokSeviyeOzelKontrol MONEY, KDV_Dahildir BIT, DefKDV MONEY, KrediLimiti MONEY, "
                       "KasaHareketListeTipi SMALLINT)"),
        QStringLiteral(u"INSERT INTO sysfrmlng VALUES (1, 'Deneme Ticaret A.Ş.', 'DT', 'FIRMA', '2026-01-01 00:00:00', "
                       u"'2026-12-31 00:00:00', 2, 4, 2, 4, 4, 0, 0, 1, 1, 0, 0, 255, 0, 16711680, 0, 0, 0, 5, 255, "
                       u"200, 65280, 0, 8421504, 0, 1, 20, 50000, 1)"),
    });
    instance.createDatabase(u"FIRMA"_s, {
        QStringLiteral("CREATE TABLE CEKKART(Cek_ID INT PRIMARY KEY, Borc MONEY, Alacak MONEY, Durum NVARCHAR(30))"),
        QStringLiteral("CREATE TABLE SENETKART(Senet_ID INT PRIMARY KEY, Borc MONEY, Alacak MONEY, Durum NVARCHAR(30))"),
        QStringLiteral("CREATE TABLE CEKPARCALISONUC(Cek_ID INT PRIMARY KEY, Kalan MONEY)"),
        QStringLiteral("CREATE TABLE SENETPARCALISONUC(Senet_ID INT PRIMARY KEY, Kalan DECIMAL(18,2))"),
        QStringLiteral("CREATE TABLE CB(Cari_ID INT PRIMARY KEY, Bakiye MONEY)"),
        QStringLiteral("CREATE TABLE BB(Hesap_ID INT PRIMARY KEY, Bakiye MONEY)"),
        QStringLiteral("CREATE TABLE KB(Kasa_ID INT PRIMARY KEY, Bakiye MONEY)"),
        QStringLiteral("CREATE TABLE POSHAREKET(PosHareket_ID INT PRIMARY KEY, Hesaba_Gececek_Tutar MONEY, "
                       "Hesaba_Aktarildi BIT)"),
        QStringLiteral("CREATE TABLE STOKKART(Stok_ID INT PRIMARY KEY, Stok_Adi NVARCHAR(100))"),
        QStringLiteral("CREATE TABLE SB(Stok_ID INT PRIMARY KEY, Kalan FLOAT)"),
        QStringLiteral("CREATE TABLE STOKHAREKET(StokHareket_ID INT PRIMARY KEY, Stok_ID INT, Tarih DATETIME, "
                       "Giris FLOAT, Cikis FLOAT, Maliyet MONEY)"),
        QStringLiteral("CREATE INDEX IX_STOKHAREKET ON STOKHAREKET(Stok_ID, Tarih, Cikis)"),
    });
}

} // namespace zelvan::test
