#include "demoinstance.h"

#include "companydatabase.h"
#include "random.h"

#include "login/passwordtext.h"

#include <QCryptographicHash>
#include <QDir>

#include <memory>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::demo {

namespace {

enum Stream : quint64 { MasterStream = 1, FirstCompanyStream = 10 };

QString saltText(Random &random)
{
    QString salt;
    for (int i = 0; i < 16; ++i)
        salt += QChar(u"0123456789abcdef"[random.below(16)]);
    return salt;
}

QVariant nullValue()
{
    return QVariant();
}

WrittenDatabase writeMaster(const QString &path, quint64 seed)
{
    writer::SqliteWriter file(path);
    file.begin();
    DemoDatabase db{file};
    TableWriter logins(db, u"sql_logins"_s,
                       {{u"name", u"TEXT NOT NULL"}, {u"salt", u"TEXT NOT NULL"}, {u"password_sha256", u"TEXT NOT NULL"}});
    Random random(Random::streamSeed(seed, MasterStream));
    for (const SqlLogin &login : demoLogins()) {
        const QString salt = saltText(random);
        const QByteArray hash = QCryptographicHash::hash((salt + login.password).toUtf8(), QCryptographicHash::Sha256);
        logins.add({login.name, salt, QString::fromLatin1(hash.toHex())});
    }
    file.commit();
    return {u"master.sqlite"_s, {logins.count()}};
}

// Settings of one company row; the two rows differ where the loader treats
// NULL specially, so that each company exercises another path.
struct CompanySettings
{
    int decimals[5];
    bool flags[5];  // DovizVar, RenkBedenVar, PosVar, BarkodVar, HareketKilit
    int ozelRenkli;
    int colours[3];  // Renk_Ozel, Renk_TL, Renk_Doviz
    bool included[3];  // SatirISK_Dahil, FaturaAltiISK_Dahil, Masraflar_Dahil
    int stockLevels[3];  // min, max, zero level
    int stockColours[3];
    qint64 ozelKontrolCents;
    bool kdvDahil;
    QVariant defKdv;
    QVariant krediLimiti;
    QVariant kasaListeTipi;
};

// Colours are Windows colour numbers (0x00BBGGRR).
constexpr int Red = 0x0000FF;
constexpr int Black = 0x000000;
constexpr int Blue = 0xFF0000;
constexpr int Orange = 0x0080FF;
constexpr int Green = 0x008000;
constexpr int Maroon = 0x000080;

CompanySettings settingsOf(int companyId)
{
    if (companyId == 1)
        return {{2, 4, 2, 4, 4}, {true, false, true, true, false}, 1, {Red, Black, Blue}, {true, true, false},
                {10, 250, 0}, {Orange, Green, Red}, 0, false, QVariant(20), money(25000000), nullValue()};
    return {{2, 4, 2, 4, 4}, {false, false, true, true, true}, 0, {Maroon, Black, Blue}, {true, false, false},
            {5, 100, 0}, {Orange, Green, Red}, 50, true, nullValue(), nullValue(), QVariant(3)};
}

WrittenDatabase writeDefinitions(const QString &path, TsqlScript *script)
{
    writer::SqliteWriter file(path);
    file.begin();
    DemoDatabase db{file, script};

    TableWriter users(db, u"sysuslng"_s,
                      {{u"sysus_ID", u"INT PRIMARY KEY"}, {u"sysus_nm", u"NVARCHAR(26)"}, {u"sysus", u"NVARCHAR(50)"}});
    for (const SuiteUser &user : demoUsers())
        users.add({user.id, login::TurkishUpperCase(user.name), login::EncodePassword(user.password)});

    TableWriter companies(db, u"sysfrmlng"_s,
                          {{u"sysfrm_ID", u"INT PRIMARY KEY"},
                           {u"sysfrm_nm", u"NVARCHAR(50)"},
                           {u"sysfrm_kd", u"NVARCHAR(10)"},
                           {u"sysfrm_dbnm", u"NVARCHAR(50)"},
                           {u"Mali_Yil_Baslangic", u"DATETIME"},
                           {u"Mali_Yil_Bitis", u"DATETIME"},
                           {u"AnaParaVirgul", u"INT"},
                           {u"BirimFiyatVirGul", u"INT"},
                           {u"DovizVirgul", u"INT"},
                           {u"DovizBirimFiyatVirgul", u"INT"},
                           {u"KurVirgul", u"INT"},
                           {u"DovizVar", u"BIT"},
                           {u"RenkBedenVar", u"BIT"},
                           {u"PosVar", u"BIT"},
                           {u"BarkodVar", u"BIT"},
                           {u"HareketKilit", u"BIT"},
                           {u"OzelRenkli", u"TINYINT"},
                           {u"Renk_Ozel", u"INT"},
                           {u"Renk_TL", u"INT"},
                           {u"Renk_Doviz", u"INT"},
                           {u"SatirISK_Dahil", u"BIT"},
                           {u"FaturaAltiISK_Dahil", u"BIT"},
                           {u"Masraflar_Dahil", u"BIT"},
                           {u"StokMinSeviye", u"TINYINT"},
                           {u"StokMinRenk", u"INT"},
                           {u"StokMaxSeviye", u"TINYINT"},
                           {u"StokMaxRenk", u"INT"},
                           {u"StokSFRSeviye", u"TINYINT"},
                           {u"StokSFRRenk", u"INT"},
                           {u"StokSeviyeOzelKontrol", u"MONEY"},
                           {u"KDV_Dahildir", u"BIT"},
                           {u"DefKDV", u"MONEY"},
                           {u"KrediLimiti", u"MONEY"},
                           {u"KasaHareketListeTipi", u"SMALLINT"}});
    for (const DemoCompany &company : demoCompanies()) {
        const CompanySettings s = settingsOf(company.id);
        companies.add({company.id, company.name, company.code, company.database,
                       u"2026-01-01 00:00:00"_s, u"2026-12-31 00:00:00"_s,
                       s.decimals[0], s.decimals[1], s.decimals[2], s.decimals[3], s.decimals[4],
                       bit(s.flags[0]), bit(s.flags[1]), bit(s.flags[2]), bit(s.flags[3]), bit(s.flags[4]),
                       s.ozelRenkli, s.colours[0], s.colours[1], s.colours[2],
                       bit(s.included[0]), bit(s.included[1]), bit(s.included[2]),
                       s.stockLevels[0], s.stockColours[0], s.stockLevels[1], s.stockColours[1],
                       s.stockLevels[2], s.stockColours[2], money(s.ozelKontrolCents),
                       bit(s.kdvDahil), s.defKdv, s.krediLimiti, s.kasaListeTipi});
    }

    // Which user may pick which company in the login dialog.
    TableWriter userCompanies(db, u"sysusfrmlng"_s, {{u"sysus_ID", u"INT"}, {u"sysfrm_ID", u"INT"}},
                              u"PRIMARY KEY (sysus_ID, sysfrm_ID)"_s);
    for (auto [user, company] : {std::pair{1, 1}, {1, 2}, {2, 1}, {4, 2}})
        userCompanies.add({user, company});

    // Report rights. User 2 is refused by CARR, user 5 by CARB; a NULL CARB
    // does not refuse. User 3 has no row at all, and user 5 exists only here,
    // for direct starts.
    TableWriter rights(db, u"Kullanici"_s,
                       {{u"Kullanici_ID", u"INT"}, {u"Firma_ID", u"INT"}, {u"CARR", u"BIT"}, {u"CARB", u"BIT"},
                        {u"STKR", u"BIT"}, {u"FATR", u"BIT"}},
                       u"PRIMARY KEY (Firma_ID, Kullanici_ID)"_s);
    rights.add({1, 1, bit(true), bit(true), bit(true), bit(true)});
    rights.add({1, 2, bit(true), bit(true), bit(true), bit(true)});
    rights.add({2, 1, bit(false), bit(true), bit(true), bit(false)});
    rights.add({4, 2, bit(true), nullValue(), bit(false), bit(true)});
    rights.add({5, 1, bit(true), bit(false), bit(true), bit(true)});

    file.commit();
    return {u"Defination_DB.sqlite"_s, {users.count(), companies.count(), userCompanies.count(), rights.count()}};
}

} // namespace

const QList<SqlLogin> &demoLogins()
{
    // norvent, sa and rapor are the logins of direct starts. The suite users
    // also have logins of their own name and password, because the login
    // dialog opens the database with exactly what the user typed.
    static const QList<SqlLogin> logins = {
        {u"norvent"_s, u"Zelvan2026"_s}, {u"sa"_s, u"Demo.1234"_s}, {u"rapor"_s, QString()},
        {u"ayşe"_s, u"ayse1"_s},        {u"mehmet"_s, QString()},  {u"ismail"_s, u"9876"_s},
    };
    return logins;
}

const QList<SuiteUser> &demoUsers()
{
    static const QList<SuiteUser> users = {
        {1, u"Norvent"_s, u"Zelvan2026"_s},
        {2, u"Ayşe"_s, u"ayse1"_s},
        {3, u"Mehmet"_s, QString()},
        {4, u"İsmail"_s, u"9876"_s},
    };
    return users;
}

const QList<DemoCompany> &demoCompanies()
{
    static const QList<DemoCompany> companies = {
        {1, u"Demo Ticaret A.Ş."_s, u"DT01"_s, u"NRV_DEMO_2026"_s},
        {2, u"Örnek Gıda Ltd. Şti."_s, u"OG02"_s, u"NRV_ORNEK_2026"_s},
    };
    return companies;
}

int companyItems(const DemoCompany &company, const DemoOptions &options)
{
    return company.id == 1 ? options.items : qMax(1, options.items / 4);
}

namespace {

// The script of one database when T-SQL is asked for, else none.
std::unique_ptr<TsqlScript> scriptFor(const QString &tsqlDir, const QString &database)
{
    if (tsqlDir.isEmpty())
        return nullptr;
    auto script = std::make_unique<TsqlScript>(QDir(tsqlDir).filePath(database + u".sql"_s),
                                               u"The demo database %1 on a SQL Server."_s.arg(database));
    script->createDatabase(database);
    return script;
}

} // namespace

QList<WrittenDatabase> writeDemoInstance(const QString &dir, const DemoOptions &options)
{
    const QDir target(dir);
    QList<WrittenDatabase> written;
    QStringList databases{u"Defination_DB"_s};
    written.append(writeMaster(target.filePath(u"master.sqlite"_s), options.seed));
    {
        const auto script = scriptFor(options.tsqlDir, databases.first());
        written.append(writeDefinitions(target.filePath(databases.first() + u".sqlite"_s), script.get()));
        if (script)
            script->save();
    }
    for (const DemoCompany &company : demoCompanies()) {
        CompanyContent content;
        content.items = companyItems(company, options);
        content.movementsPerItem = options.movementsPerItem;
        content.trade = company.id == 1 ? Trade::Hardware : Trade::Food;
        content.seed = Random::streamSeed(options.seed, FirstCompanyStream + quint64(company.id));
        const auto script = scriptFor(options.tsqlDir, company.database);
        written.append(writeCompanyDatabase(target.filePath(company.database + u".sqlite"_s), content, script.get()));
        if (script)
            script->save();
        databases.append(company.database);
    }
    if (!options.tsqlDir.isEmpty())
        writeLoginsScript(QDir(options.tsqlDir).filePath(u"logins.sql"_s), demoLogins(), databases);
    return written;
}

} // namespace zelvan::demo
