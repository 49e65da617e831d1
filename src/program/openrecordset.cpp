#include "program/openrecordset.h"

#include "database/recordset.h"
#include "platform/messageboxes.h"
#include "program/program.h"
#include "runtime/err.h"

namespace zelvan::program {

void OpenRecordset(Program &program, database::Recordset &rs, const QString &sql)
{
    try {
        if (rs.state() == database::Recordset::StateOpen)
            rs.close();
        if (!program.vars.DbConnection)
            program.vars.DbConnection = std::make_shared<database::Connection>();
        rs.setActiveConnection(program.vars.DbConnection);
        rs.setSource(sql);
        program.putOnClipboard(sql);
        rs.open();
    } catch (const runtime::Err &e) {
        rs.close();
        program.msgBox(e.description(), platform::MsgBox::Critical);
        program.msgBox(sql, platform::MsgBox::Critical);
    } catch (const std::exception &e) {
        rs.close();
        program.msgBox(QString::fromLocal8Bit(e.what()), platform::MsgBox::Critical);
        program.msgBox(sql, platform::MsgBox::Critical);
    }
}

} // namespace zelvan::program
