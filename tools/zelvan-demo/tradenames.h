#pragma once

#include "random.h"

#include <QList>
#include <QString>

namespace zelvan::demo {

// Turkish trade names, cities, banks and goods for the demo instance, built
// from word lists so that large instances still read like real data.

QString tradeName(Random &random);  // "Yıldız İnşaat Ltd. Şti."
QString cityName(Random &random);

struct BankName
{
    QString name;
    QString code;  // five-digit bank code of the IBAN
};
const QList<BankName> &bankNames();
QString branchName(Random &random);
// A Turkish IBAN (26 characters) with valid check digits.
QString iban(const QString &bankCode, Random &random);

enum class Trade { Hardware, Food };

struct Goods
{
    QString name;
    QString unit;  // "Adet", "kg", "Metre", "Litre", "Paket", "Koli"
    bool weighed;  // sold in fractional quantities
};
Goods goods(Trade trade, Random &random);

} // namespace zelvan::demo
