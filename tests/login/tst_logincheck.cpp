#include "database/recordset.h"
#include "login/logincheck.h"
#include "program/exitcodes.h"
#include "program/program.h"
#include "runtime/err.h"
#include "support/fakedatabase.h"
#include "support/fakeservices.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::login;
using namespace Qt::Literals::StringLiterals;
using runtime::Variant;

Q_DECLARE_METATYPE(zelvan::login::LoginOutcome)

const QString Critical = u"16: "_s;  // a message as noted: its style, then its text
const QString CheckMessage = Critical + u"Kullanıcı adınızı ve şifrenizi kontrol ediniz."_s;
const QString Unexpected = Critical + u"Unexpected statement"_s;  // the fake database's refusal

// The user lookup; password "ab" is "ÃÆ" once encoded, "a" is "Ã".
QString userSql(const QString &name, const QString &encodedPassword)
{
    return u"SELECT sysus_ID FROM sysuslng WHERE sysus_nm='"_s + name + u"' and sysus='"_s + encodedPassword + u"'"_s;
}

QString companySql(int userId)
{
    return u"SELECT sysfrmlng.sysfrm_nm,sysfrmlng.sysfrm_kd,sysfrmlng.sysfrm_dbnm,sysfrmlng.sysfrm_ID,"
           u"sysfrmlng.Mali_Yil_Baslangic,sysfrmlng.Mali_Yil_Bitis FROM sysfrmlng,sysusfrmlng WHERE "
           u"sysfrmlng.sysfrm_ID=sysusfrmlng.sysfrm_ID and sysusfrmlng.sysus_ID="_s
        + QString::number(userId) + u" ORDER BY sysfrmlng.sysfrm_ID DESC"_s;
}

// One check on fake services and a fake Defination_DB: users 7 and 11 with companies, 12 whose list is refused.
struct Check
{
    Check()
    {
        check.openConnection = [this](database::Connection &connection, const QString &text) {
            connectionStrings.append(text);
            if (connectError != 0)
                throw runtime::Err(connectError, u"[driver] no answer"_s);
            database.open(connection);
        };
        for (const auto &[name, password, userId] : {std::tuple{u"ZELVAN"_s, u"ÃÆ"_s, 7}, {u"ZELVAN"_s, u"Ã"_s, 0}, {u"KİMSE"_s, u"ÃÆ"_s, 0},
                 {u"RET"_s, u"ÃÆ"_s, 12}, {u"ŞÜKRÜ''NÜN İĞNESİ"_s, u"ÃÆ"_s, 11}}) {
            test::FakeResult user{{u"sysus_ID"_s}, {}};  // no row: no such user and password
            if (userId != 0)
                user.rows.append({Variant::longInt(userId)});
            database.answer(userSql(name, password), user);
        }
        const std::vector<Variant> company{Variant::string(u"Deneme"_s), Variant::string(u"DT"_s), Variant::string(u"FIRMA"_s),
                                           Variant::longInt(1), Variant::null(), Variant::null()};
        const QStringList columns{u"sysfrm_nm"_s, u"sysfrm_kd"_s, u"sysfrm_dbnm"_s, u"sysfrm_ID"_s, u"Mali_Yil_Baslangic"_s, u"Mali_Yil_Bitis"_s};
        database.answer(companySql(7), {columns, {company, company}});
        database.answer(companySql(11), {columns, {company}});
    }
    // Both steps, as the OK button takes them.
    LoginOutcome login(const QString &user, const QString &password)
    {
        const LoginOutcome found = check.findUser({user, password, u" SRV\\A  "_s}, rs);
        return found == LoginOutcome::UserFound ? check.listCompanies(rs) : found;
    }

    test::FakeServices fakes;
    test::FakeDatabase database;
    program::Program program{fakes.services(), program::CommandLine()};
    LoginCheck check{program};
    database::Recordset rs;
    QStringList connectionStrings;
    qint32 connectError = 0;
};

class TestLoginCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One press of OK: where it ends, what it shows, what the recordset holds for the grid, whether it counts as a refusal.
    void login_data()
    {
        const QString Connection = Critical + u"Veri Tabanına Bağlanılamadı "_s;
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<qint32>("connectError");  // what opening the connection raises; 0: nothing
        QTest::addColumn<LoginOutcome>("outcome");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("rows");  // in the recordset at the end; -1: it is closed
        QTest::addColumn<int>("refusals");
        QTest::newRow("user found, right password") << u"zelvan"_s << u"ab"_s << 0 << LoginOutcome::CompaniesListed << QStringList() << 2 << 0;
        QTest::newRow("unknown user") << u"kimse"_s << u"ab"_s << 0 << LoginOutcome::Refused << QStringList{CheckMessage} << 0 << 1;
        QTest::newRow("login refused by the server") << u"zelvan"_s << u"ab"_s << runtime::ErrNo::LoginFailed << LoginOutcome::Refused
                                                     << QStringList{CheckMessage} << -1 << 1;
        QTest::newRow("server unreachable") << u"zelvan"_s << u"ab"_s << runtime::ErrNo::OpenFailed << LoginOutcome::NotConnected
                                            << QStringList{Connection, u"0: [driver] no answer"_s, u"0: -2147467259"_s} << -1 << 0;
        QTest::newRow("user query rejected") << u"yok"_s << u"ab"_s << 0 << LoginOutcome::NotConnected
                                             << QStringList{Unexpected, Critical + userSql(u"YOK"_s, u"ÃÆ"_s), Connection,
                                                            u"0: "_s + runtime::objectClosedError().description(), u"0: 3704"_s} << -1 << 0;
        QTest::newRow("company query rejected") << u"ret"_s << u"ab"_s << 0 << LoginOutcome::CompaniesListed
                                                << QStringList{Unexpected, Critical + companySql(12)} << -1 << 0;
    }
    void login()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(qint32, connectError);
        Check c;
        c.connectError = connectError;
        QTEST(c.login(user, password), "outcome");
        QTEST(c.fakes.messages.noted(), "messages");
        QTEST(c.rs.state() == database::Recordset::StateOpen ? int(c.rs.recordCount()) : -1, "rows");
        QTEST(int(c.check.failedAttempts()), "refusals");
    }

    // The texts sent for a name with Turkish letters and a quote, and what the program keeps of the login.
    void sentTexts()
    {
        Check c;
        QCOMPARE(c.login(u"şükrü'nün iğnesi"_s, u"ab"_s), LoginOutcome::CompaniesListed);
        QCOMPARE(c.connectionStrings, QStringList{u"Provider=SQLOLEDB.1;Persist Security Info=False;User ID=şükrü'nün iğnesi;"
                                                  u"Password=ab;Initial Catalog=;Data Source=SRV\\A"_s});
        const QString lookup = u"SELECT sysus_ID FROM sysuslng WHERE sysus_nm='ŞÜKRÜ''NÜN İĞNESİ' and sysus='ÃÆ'"_s;
        QCOMPARE(c.database.executed, (QStringList{lookup, companySql(11)}));
        QCOMPARE(c.fakes.clipboard.text, companySql(11));
        QCOMPARE(c.program.vars.UserId, 11);
    }

    // Refusals add up across presses, a found user in between resets nothing, and the third ends the program.
    void thirdRefusalEnds()
    {
        Check c;
        QCOMPARE(c.login(u"kimse"_s, u"ab"_s), LoginOutcome::Refused);
        QCOMPARE(c.login(u"zelvan"_s, u"ab"_s), LoginOutcome::CompaniesListed);
        QCOMPARE(c.login(u"zelvan"_s, u"a"_s), LoginOutcome::Refused);
        c.fakes.messages.shown.clear();
        c.connectError = runtime::ErrNo::LoginFailed;
        QCOMPARE(test::exitCodeOf([&] { c.login(u"zelvan"_s, u"ab"_s); }), program::ExitCode::TooManyLogins);
        QCOMPARE(c.fakes.messages.noted(), QStringList{Critical + u"Giriş Hatası Böyle Bir Kullanıcı Tanımlı Değil.Deneme Sayınız Bitmiştir."_s});
    }
};

QTEST_GUILESS_MAIN(TestLoginCheck)
#include "tst_logincheck.moc"
