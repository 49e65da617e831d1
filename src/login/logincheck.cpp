#include "login/logincheck.h"

#include "database/connection.h"
#include "database/recordset.h"
#include "login/passwordtext.h"
#include "platform/messageboxes.h"
#include "program/connectandshowreport.h"
#include "program/exitcodes.h"
#include "program/openrecordset.h"
#include "program/program.h"
#include "runtime/asciitext.h"
#include "runtime/err.h"

namespace zelvan::login {

using namespace Qt::Literals::StringLiterals;

QString trimBlanks(const QString &text)
{
    return runtime::trimBlanks(text, runtime::Blanks::Spaces).toString();
}

LoginCheck::LoginCheck(program::Program &program)
    : openConnection([](database::Connection &connection, const QString &text) { connection.open(text); })
    , m_program(program)
{
}

LoginOutcome LoginCheck::findUser(const TypedLogin &typed, database::Recordset &rs)
{
    program::Degiskenler &vars = m_program.vars;
    try {
        vars.DbUserName = typed.user;
        vars.DbPassword = typed.password;
        vars.ServerName = trimBlanks(typed.server);
        vars.DbConnection = std::make_shared<database::Connection>();
        openConnection(*vars.DbConnection, program::connectionStringFor(vars));

        // A quote in the user name is doubled: the name is looked up as typed
        // instead of breaking the query. Names without quotes are unchanged.
        const QString userName = TurkishUpperCase(typed.user).replace(u'\'', u"''"_s);
        program::OpenRecordset(m_program, rs,
                               u"SELECT sysus_ID FROM sysuslng WHERE sysus_nm='"_s + userName + u"' and sysus='"_s
                                   + EncodePassword(typed.password) + u"'"_s);
        // A lookup that failed left `rs` closed: counting it raises 3704.
        if (rs.recordCount() == 0)
            return refused();
        return LoginOutcome::UserFound;
    } catch (const runtime::Err &e) {
        if (e.number() == runtime::ErrNo::LoginFailed)
            return refused();
        return notConnected(e.number(), e.description());
    }
}

LoginOutcome LoginCheck::listCompanies(database::Recordset &rs)
{
    program::Degiskenler &vars = m_program.vars;
    try {
        vars.UserId = rs.field(u"sysus_ID"_s).toLong();
        program::OpenRecordset(m_program, rs,
                               u"SELECT sysfrmlng.sysfrm_nm,sysfrmlng.sysfrm_kd,sysfrmlng.sysfrm_dbnm,sysfrmlng.sysfrm_ID,"
                               u"sysfrmlng.Mali_Yil_Baslangic,sysfrmlng.Mali_Yil_Bitis FROM sysfrmlng,sysusfrmlng WHERE "
                               u"sysfrmlng.sysfrm_ID=sysusfrmlng.sysfrm_ID and sysusfrmlng.sysus_ID="_s
                                   + QString::number(vars.UserId) + u" ORDER BY sysfrmlng.sysfrm_ID DESC"_s);
        // A list that breaks off while being read counts as a failed connection,
        // before the grid shows any of it. A rejected query leaves `rs` closed:
        // the grid stays empty.
        if (rs.state() == database::Recordset::StateOpen)
            rs.materialize();
        return LoginOutcome::CompaniesListed;
    } catch (const runtime::Err &e) {
        if (e.number() == runtime::ErrNo::LoginFailed)
            return refused();
        return notConnected(e.number(), e.description());
    }
}

LoginOutcome LoginCheck::refused()
{
    ++m_failedAttempts;
    if (m_failedAttempts >= 3) {
        m_program.msgBox(u"Giriş Hatası Böyle Bir Kullanıcı Tanımlı Değil.Deneme Sayınız Bitmiştir."_s,
                         platform::MsgBox::Critical);
        m_program.end(program::ExitCode::TooManyLogins);
    }
    m_program.msgBox(u"Kullanıcı adınızı ve şifrenizi kontrol ediniz."_s, platform::MsgBox::Critical);
    return LoginOutcome::Refused;
}

LoginOutcome LoginCheck::notConnected(qint32 number, const QString &description)
{
    m_program.msgBox(u"Veri Tabanına Bağlanılamadı "_s, platform::MsgBox::Critical);
    m_program.msgBox(description, platform::MsgBox::OkOnly);
    m_program.msgBox(QString::number(number), platform::MsgBox::OkOnly);
    return LoginOutcome::NotConnected;
}

} // namespace zelvan::login
