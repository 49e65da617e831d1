#pragma once

#include "tablewriter.h"

#include <QList>
#include <QString>

namespace zelvan::demo {

struct DemoOptions
{
    int items = 200;
    int movementsPerItem = 12;
    quint64 seed = 2026;
    QString tsqlDir;  // when set, T-SQL scripts of the same databases go there
};

// The people and companies of every demo instance; only the trade data
// depends on the options.
struct SqlLogin
{
    QString name;
    QString password;
};
struct SuiteUser
{
    int id;
    QString name;      // as a person writes it; stored upper-cased
    QString password;  // as typed; stored encoded
};
struct DemoCompany
{
    int id;
    QString name;
    QString code;
    QString database;
};

const QList<SqlLogin> &demoLogins();
const QList<SuiteUser> &demoUsers();
const QList<DemoCompany> &demoCompanies();

// Items of each company: the second one carries a quarter of the first's.
int companyItems(const DemoCompany &company, const DemoOptions &options);

// Writes master.sqlite, Defination_DB.sqlite and one file per company into
// `dir` (which must exist), replacing files of the same names; with a T-SQL
// directory (which must exist) also <database>.sql for each database but
// master and logins.sql. Throws std::runtime_error.
QList<WrittenDatabase> writeDemoInstance(const QString &dir, const DemoOptions &options);

} // namespace zelvan::demo
