#include "startup/reportright.h"

#include "platform/recordset.h"
#include "startup/openrecordset.h"
#include "startup/program.h"

namespace zelvan {

namespace {

const platform::Variant &rightValue(Program &program, const QString &column)
{
    Degiskenler &vars = program.vars;
    const QString sql = QStringLiteral("SELECT ") + column + QStringLiteral(" FROM Defination_DB.dbo.Kullanici WHERE Firma_ID=")
        + QString::number(vars.sysfrm_ID) + QStringLiteral(" AND Kullanici_ID=") + QString::number(vars.UserId);
    if (!vars.SharedRecordset)
        vars.SharedRecordset = std::make_shared<platform::Recordset>();
    OpenRecordset(program, *vars.SharedRecordset, sql);
    return vars.SharedRecordset->field(column);
}

} // namespace

void CheckReportRight(Program &program)
{
    using platform::Variant;
    Degiskenler &vars = program.vars;
    vars.ReportAllowed = true;

    if (Variant::equals(rightValue(program, vars.RightColumn1), Variant::boolean(true)) != true) {
        vars.ReportAllowed = false;
        return;
    }
    if (Variant::equals(rightValue(program, vars.RightColumn2), Variant::boolean(false)) == true)
        vars.ReportAllowed = false;
}

} // namespace zelvan
