#include "program/connectandshowreport.h"

#include "platform/endnow.h"
#include "platform/messageboxes.h"
#include "program/companysettings.h"
#include "program/exitcodes.h"
#include "program/program.h"
#include "program/regionalsettings.h"
#include "program/reportright.h"
#include "runtime/err.h"

namespace zelvan::program {

QString connectionStringFor(const Degiskenler &vars)
{
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=") + vars.DbUserName
        + QStringLiteral(";Password=") + vars.DbPassword + QStringLiteral(";Initial Catalog=") + vars.DatabaseName
        + QStringLiteral(";Data Source=") + vars.ServerName;
}

void ConnectAndShowReport(Program &program)
{
    Degiskenler &vars = program.vars;
    QString failure;
    try {
        vars.DbConnection = std::make_shared<database::Connection>();
        vars.DbConnection->open(connectionStringFor(vars));
        CheckRegionalSettings(program);
        LoadCompanySettings(program);
        vars.RightColumn1 = QStringLiteral("CARR");
        vars.RightColumn2 = QStringLiteral("CARB");
        CheckReportRight(program);
        if (!vars.ReportAllowed) {
            program.msgBox(QStringLiteral(u"Bu Raporu Görmeye Yetkiniz Yoktur. Lütfen Sistem Yöneticisi'ne Başvurun"),
                           platform::MsgBox::Information);
            program.exitCode = program::ExitCode::ReportRight;
            return;
        }
        program.showReport(program);
        return;
    } catch (const runtime::Err &e) {
        failure = e.description();
    } catch (const std::exception &e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    program.msgBox(QStringLiteral(u"Veri Tabanına Bağlanılamadı. Lütfen Service Manager Programı İle Server'ınızı "
                                  u"Başlattıktan sonra programı Tekrar Çalıştırın"),
                   platform::MsgBox::Information);
    program.msgBox(QStringLiteral(u"Hata Ayrıntsı :") + failure, platform::MsgBox::OkOnly);
    program.end(program::ExitCode::Connection);
}

} // namespace zelvan::program
