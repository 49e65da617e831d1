#pragma once

#include "tablewriter.h"
#include "tradenames.h"

#include <QString>

namespace zelvan::demo {

struct CompanyContent
{
    int items = 0;
    int movementsPerItem = 0;
    Trade trade = Trade::Hardware;
    quint64 seed = 0;
};

// Sizes that follow the number of stock items.
int accountCount(int items);
int chequeCount(int items);  // cheques, and as many promissory notes
int posCount(int items);

// Writes one company database with every table the report reads, and the
// same into `script` when one is given.
WrittenDatabase writeCompanyDatabase(const QString &path, const CompanyContent &content, TsqlScript *script = nullptr);

} // namespace zelvan::demo
