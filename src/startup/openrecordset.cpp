#include "startup/openrecordset.h"

#include "platform/err.h"
#include "platform/messageboxes.h"
#include "platform/recordset.h"
#include "startup/program.h"

namespace zelvan {

void OpenRecordset(Program &program, platform::Recordset &rs, const QString &sql)
{
    using platform::Recordset;
    try {
        if (rs.state() == Recordset::StateOpen)
            rs.close();
        if (!program.vars.DbConnection)
            program.vars.DbConnection = std::make_shared<platform::Connection>();
        rs.setActiveConnection(program.vars.DbConnection);
        rs.setCursorType(Recordset::OpenKeyset);
        rs.setLockType(Recordset::LockReadOnly);
        rs.setSource(sql);
        program.putOnClipboard(sql);
        rs.open();
    } catch (const platform::Err &e) {
        rs.close();
        program.msgBox(e.description(), platform::MsgBox::Critical);
        program.msgBox(sql, platform::MsgBox::Critical);
    } catch (const std::exception &e) {
        rs.close();
        program.msgBox(QString::fromLocal8Bit(e.what()), platform::MsgBox::Critical);
        program.msgBox(sql, platform::MsgBox::Critical);
    }
}

} // namespace zelvan
