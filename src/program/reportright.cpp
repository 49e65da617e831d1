#include "program/reportright.h"

#include "database/recordset.h"
#include "program/openrecordset.h"
#include "program/program.h"

namespace zelvan::program {

namespace {

const runtime::Variant &rightValue(Program &program, const QString &column)
{
    Degiskenler &vars = program.vars;
    const QString sql = QStringLiteral("SELECT ") + column + QStringLiteral(" FROM Defination_DB.dbo.Kullanici WHERE Firma_ID=")
        + QString::number(vars.sysfrm_ID) + QStringLiteral(" AND Kullanici_ID=") + QString::number(vars.UserId);
    if (!vars.SharedRecordset)
        vars.SharedRecordset = std::make_shared<database::Recordset>();
    OpenRecordset(program, *vars.SharedRecordset, sql);
    return vars.SharedRecordset->field(column);
}

} // namespace

void CheckReportRight(Program &program)
{
    using runtime::Variant;
    Degiskenler &vars = program.vars;
    vars.ReportAllowed = true;

    if (runtime::Variant::equals(rightValue(program, vars.RightColumn1), runtime::Variant::boolean(true)) != true) {
        vars.ReportAllowed = false;
        return;
    }
    if (runtime::Variant::equals(rightValue(program, vars.RightColumn2), runtime::Variant::boolean(false)) == true)
        vars.ReportAllowed = false;
}

} // namespace zelvan::program
