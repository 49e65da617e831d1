#pragma once

#include "database/connection.h"
#include "database/recordset.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace zelvan::program {

// The program record: everything that lives for the whole run.
struct Degiskenler
{
    // The fields of the launch line; entry 1 is LaunchParams[1] (index 0 unused).
    QStringList LaunchParams;

    QString DatabaseName;
    QString ServerName;
    qint32 UserId = 0;
    QString DbUserName;
    QString DbPassword;

    std::shared_ptr<database::Connection> DbConnection;
    std::shared_ptr<database::Recordset> SharedRecordset;

    QString RightColumn1;
    QString RightColumn2;
    bool ReportAllowed = false;

    qint16 sysfrm_ID = 0;
    QString ComputerName;
    QString RegionalMismatch;
};

} // namespace zelvan::program
