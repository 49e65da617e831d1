#include "companydatabase.h"

#include "random.h"

#include <QDate>
#include <QFileInfo>

#include <algorithm>
#include <initializer_list>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::demo {

namespace {

// Every table group draws from its own stream, so that changing one table's
// size leaves the others' values as they were.
enum Stream : quint64 { Accounts = 1, Cheques, Notes, Banks, Pos, Stock };

constexpr int BankAccounts = 6;
constexpr int FirstDay = -365;  // dates are days from 2026-01-01
constexpr int LastDay = 730;

// Day texts are formatted once: millions of movements share a few hundred dates.
const QString &dayText(int day)
{
    static const std::vector<QString> texts = [] {
        std::vector<QString> all;
        const QDate origin(2026, 1, 1);
        for (int d = FirstDay; d <= LastDay; ++d)
            all.push_back(origin.addDays(d).toString(u"yyyy-MM-dd"_s) + u" 00:00:00"_s);
        return all;
    }();
    return texts.at(std::size_t(std::clamp(day, FirstDay, LastDay) - FirstDay));
}

QString dayAndTime(int day, int minuteOfDay)
{
    QString text = dayText(day);
    text.replace(11, 5, QString::number(minuteOfDay / 60).rightJustified(2, u'0') + u':'
                            + QString::number(minuteOfDay % 60).rightJustified(2, u'0'));
    return text;
}

QString numbered(const QString &prefix, qint64 number, int width)
{
    return prefix + QString::number(number).rightJustified(width, u'0');
}

QVariant quantity(qint64 thousandths)
{
    return QVariant(double(thousandths) / 1000.0);
}

// An amount in kuruş (cents) between the two lira bounds: first a decade,
// then a value in it, so that small and large amounts both occur. Larger
// amounts are often round, as cheques and notes are.
qint64 amountCents(Random &random, qint64 minLira, qint64 maxLira)
{
    int decades = 0;
    for (qint64 d = minLira; d < maxLira; d *= 10)
        ++decades;
    qint64 low = minLira;
    for (quint64 k = random.below(quint64(decades)); k > 0; --k)
        low *= 10;
    const qint64 high = std::min(low * 10, maxLira);
    qint64 cents = random.between(low * 100, high * 100 - 1);
    if (low >= 1000 && random.percent(40))
        cents -= cents % 10000;
    return cents;
}

int weighted(Random &random, std::initializer_list<int> weights)
{
    int total = 0;
    for (int w : weights)
        total += w;
    int r = int(random.below(quint64(total)));
    int index = 0;
    for (int w : weights) {
        if (r < w)
            return index;
        r -= w;
        ++index;
    }
    return index - 1;
}

QList<TableRows> writeAccounts(DemoDatabase &db, int count, Random random)
{
    TableWriter cards(db, u"CARIKART"_s,
                      {{u"Cari_ID", u"INT PRIMARY KEY"}, {u"Cari_Kodu", u"NVARCHAR(20)"}, {u"Unvan", u"NVARCHAR(100)"},
                       {u"Sehir", u"NVARCHAR(30)"}});
    TableWriter balances(db, u"CB"_s, {{u"Cari_ID", u"INT PRIMARY KEY"}, {u"Bakiye", u"MONEY"}});
    int customers = 0;
    int suppliers = 0;
    for (int i = 0; i < count; ++i) {
        const bool customer = random.percent(60);
        const QString code = customer ? numbered(u"120.01."_s, ++customers, 6) : numbered(u"320.01."_s, ++suppliers, 6);
        cards.add({i + 1, code, tradeName(random), cityName(random)});

        // Positive: owed to the company (mostly customers); negative: owed
        // by it (mostly suppliers). The first rows hold one of each case.
        enum { Owed, Owing, Zero, Null };
        int balance = i < 4 ? i : weighted(random, {75, 10, 12, 3});
        if (i >= 4 && !customer && (balance == Owed || balance == Owing))
            balance = balance == Owed ? Owing : Owed;
        const qint64 cents = amountCents(random, 10, 1000000);
        QVariant value;
        if (balance == Owed)
            value = money(cents);
        else if (balance == Owing)
            value = money(-cents);
        else if (balance == Zero)
            value = money(0);
        balances.add({i + 1, value});
    }
    return {cards.count(), balances.count()};
}

// Cheques and promissory notes share their shape; the company's own papers
// carry Borc, the others Alacak.
struct PaperKind
{
    QString table;
    const char16_t *idColumn;
    const char16_t *numberColumn;
    QString numberPrefix;
    QString ownStatus;
    bool hasBank;
    QString partTable;
    const char16_t *partIdColumn;
    const char16_t *remainderType;
    qint64 maxLira;
};

const char16_t *const sharedStatuses[] = {u"Portföyde", u"Bankada Tahsilde", u"Bankada Teminatta", u"Karşılıksız"};
const char16_t *const settledStatuses[] = {u"Tahsil Edildi", u"Ciro Edildi", u"İade Edildi"};
constexpr int StatusCount = 8;
constexpr int OwnStatus = 4;

QString statusText(const PaperKind &kind, int status)
{
    if (status < OwnStatus)
        return QString::fromUtf16(sharedStatuses[status]);
    if (status == OwnStatus)
        return kind.ownStatus;
    return QString::fromUtf16(settledStatuses[status - OwnStatus - 1]);
}

QList<TableRows> writePapers(DemoDatabase &db, const PaperKind &kind, int count, int accounts, Random random)
{
    QList<ColumnDef> columns = {{kind.idColumn, u"INT PRIMARY KEY"}, {kind.numberColumn, u"NVARCHAR(20)"},
                                {u"Cari_ID", u"INT"}};
    if (kind.hasBank)
        columns.append(ColumnDef{u"Banka", u"NVARCHAR(50)"});
    columns += QList<ColumnDef>{{u"Vade", u"DATETIME"}, {u"Borc", u"MONEY"}, {u"Alacak", u"MONEY"}, {u"Durum", u"NVARCHAR(30)"}};
    TableWriter papers(db, kind.table, columns);
    TableWriter parts(db, kind.partTable, {{kind.partIdColumn, u"INT PRIMARY KEY"}, {u"Kalan", kind.remainderType}});

    const QList<BankName> &banks = bankNames();
    for (int i = 0; i < count; ++i) {
        // The first rows hold every status once, then a NULL amount and a
        // NULL in the column that is normally 0.
        const int status = i < StatusCount ? i : weighted(random, {28, 12, 7, 4, 20, 14, 10, 5});
        const qint64 cents = amountCents(random, 500, kind.maxLira);
        const bool nullAmount = i == StatusCount || random.perMille(10);
        const bool nullOther = i == StatusCount + 1 || random.perMille(5);
        const QVariant amount = nullAmount ? QVariant() : money(cents);
        const QVariant other = nullOther ? QVariant() : money(0);
        const bool own = status == OwnStatus;
        const QVariant borc = own ? amount : other;
        const QVariant alacak = own ? other : amount;
        const QString number = numbered(kind.numberPrefix, random.between(1, 9999999), 7);
        const int account = int(random.between(1, accounts));
        const QString &vade = dayText(int(random.between(-90, 450)));
        const QString durum = statusText(kind, status);
        if (kind.hasBank)
            papers.add({i + 1, number, account, banks.at(qsizetype(random.below(quint64(banks.size())))).name, vade,
                        borc, alacak, durum});
        else
            papers.add({i + 1, number, account, vade, borc, alacak, durum});

        // Part-paid papers still held: what remains of them.
        if (status < OwnStatus && !nullAmount && (i < 2 || random.percent(8))) {
            const bool nullRemainder = i == 1 || random.perMille(20);
            parts.add({i + 1, nullRemainder ? QVariant() : money(cents * random.between(10, 90) / 100)});
        }
    }
    return {papers.count(), parts.count()};
}

QList<TableRows> writeBanksAndCash(DemoDatabase &db, Random random)
{
    TableWriter cards(db, u"BANKAKART"_s,
                      {{u"Hesap_ID", u"INT PRIMARY KEY"}, {u"Banka_Adi", u"NVARCHAR(50)"}, {u"Sube", u"NVARCHAR(50)"},
                       {u"IBAN", u"NVARCHAR(34)"}});
    TableWriter balances(db, u"BB"_s, {{u"Hesap_ID", u"INT PRIMARY KEY"}, {u"Bakiye", u"MONEY"}});
    // Account 0 is the suite's placeholder; it holds a balance that no
    // total may include.
    balances.add({0, money(125000)});
    const QList<BankName> &banks = bankNames();
    for (int id = 1; id <= BankAccounts; ++id) {
        const BankName &bank = banks.at(qsizetype(random.below(quint64(banks.size()))));
        cards.add({id, bank.name, branchName(random), iban(bank.code, random)});
        // Account 3 is overdrawn.
        balances.add({id, money(id == 3 ? -random.between(500000, 15000000) : amountCents(random, 10000, 3000000))});
    }

    TableWriter tills(db, u"KASAKART"_s, {{u"Kasa_ID", u"INT PRIMARY KEY"}, {u"Kasa_Adi", u"NVARCHAR(50)"}});
    TableWriter tillBalances(db, u"KB"_s, {{u"Kasa_ID", u"INT PRIMARY KEY"}, {u"Bakiye", u"MONEY"}});
    const QString tillNames[] = {u"Merkez Kasa"_s, u"Mağaza Kasası"_s, u"Döviz Kasası"_s};
    for (int id = 1; id <= 3; ++id) {
        tills.add({id, tillNames[id - 1]});
        tillBalances.add({id, money(id == 3 ? 0 : amountCents(random, 1000, 250000))});
    }
    return {cards.count(), balances.count(), tills.count(), tillBalances.count()};
}

TableRows writePos(DemoDatabase &db, int count, Random random)
{
    TableWriter pos(db, u"POSHAREKET"_s,
                    {{u"PosHareket_ID", u"INT PRIMARY KEY"}, {u"Hesap_ID", u"INT"}, {u"Tarih", u"DATETIME"},
                     {u"Hesaba_Gececek_Tutar", u"MONEY"}, {u"Hesaba_Aktarildi", u"BIT"}});
    for (int i = 0; i < count; ++i) {
        const bool transferred = i < 2 ? i == 1 : random.percent(55);
        const qint64 cents = amountCents(random, 50, 25000);
        const QVariant amount = i == 2 || random.perMille(10) ? QVariant() : money(cents);
        pos.add({i + 1, int(random.between(1, BankAccounts)),
                 dayAndTime(int(random.between(0, 364)), int(random.between(9 * 60, 21 * 60))), amount,
                 bit(transferred)});
    }
    return pos.count();
}

// One stock movement. Quantities are in thousandths; a NULL quantity column
// makes the row count nowhere, as the valuation skips it too.
struct Movement
{
    int day;
    bool receipt;
    qint64 giris;
    qint64 cikis;
    bool girisNull;
    bool cikisNull;
    QVariant maliyet;
    QString aciklama;
};

enum class ItemHistory { Normal, SaleFirst, EndsAtZero, EndsNegative };

class StockWriter
{
public:
    StockWriter(DemoDatabase &db, const CompanyContent &content)
        : m_content(content)
        , m_random(Random::streamSeed(content.seed, Stock))
        , m_cards(db, u"STOKKART"_s,
                  {{u"Stok_ID", u"INT PRIMARY KEY"}, {u"Stok_Kodu", u"NVARCHAR(30)"}, {u"Stok_Adi", u"NVARCHAR(100)"},
                   {u"Birim", u"NVARCHAR(10)"}})
        , m_remaining(db, u"SB"_s, {{u"Stok_ID", u"INT PRIMARY KEY"}, {u"Kalan", u"FLOAT"}})
        , m_movements(db, u"STOKHAREKET"_s,
                      {{u"StokHareket_ID", u"INT PRIMARY KEY"}, {u"Stok_ID", u"INT"}, {u"Tarih", u"DATETIME"},
                       {u"Giris", u"FLOAT"}, {u"Cikis", u"FLOAT"}, {u"Maliyet", u"MONEY"},
                       {u"Aciklama", u"NVARCHAR(100)"}})
    {
    }

    QList<TableRows> write()
    {
        for (int item = 1; item <= m_content.items; ++item)
            writeItem(item);
        return {m_cards.count(), m_remaining.count(), m_movements.count()};
    }

private:
    ItemHistory historyOf(int item)
    {
        // The first items hold each kind of history once.
        switch (item) {
        case 2:
            return ItemHistory::SaleFirst;
        case 3:
            return ItemHistory::EndsAtZero;
        case 4:
            return ItemHistory::EndsNegative;
        default:
            break;
        }
        const int r = int(m_random.below(100));
        return r < 3 ? ItemHistory::SaleFirst
                     : r < 9 ? ItemHistory::EndsAtZero : r < 11 ? ItemHistory::EndsNegative : ItemHistory::Normal;
    }

    // Dates never go down; about a third of the movements share the date of
    // the one before, so that the order within a day matters.
    void planDates(ItemHistory history)
    {
        const int count = m_content.movementsPerItem;
        const int maxGap = std::max(1, 600 / count);
        int day = int(m_random.between(0, 40));
        m_plan.clear();
        for (int m = 0; m < count; ++m) {
            const bool sameDay = m > 0 && m_random.percent(35) && !(m == 1 && history == ItemHistory::SaleFirst);
            if (m > 0 && !sameDay)
                day = std::min(364, day + int(m_random.between(1, maxGap)));
            const bool receipt = m == 0 ? history != ItemHistory::SaleFirst : m_random.percent(35);
            m_plan.push_back({day, receipt, 0, 0, false, false, QVariant(), QString()});
        }
        // The order in which the valuation reads them: a day's receipts
        // (Cikis 0) before its sales.
        std::stable_sort(m_plan.begin(), m_plan.end(), [](const Movement &a, const Movement &b) {
            return a.day != b.day ? a.day < b.day : a.receipt > b.receipt;
        });
    }

    void writeItem(int item)
    {
        const Goods g = goods(m_content.trade, m_random);
        const bool weighed = g.weighed;
        // Unit costs: four decimals for goods sold by weight, whole kuruş otherwise.
        const qint64 baseCost = weighed ? m_random.between(50000, 9000000) : m_random.between(200, 250000) * 100;
        const ItemHistory history = historyOf(item);
        planDates(history);

        qint64 onHand = 0;
        qint64 lastCost = 0;
        const auto units = [&](qint64 low, qint64 high) {
            return weighed ? m_random.between(low * 1000, high * 1000) : m_random.between(low, high) * 1000;
        };
        const qsizetype count = qsizetype(m_plan.size());
        for (qsizetype m = 0; m < count; ++m) {
            Movement &mv = m_plan[std::size_t(m)];
            const bool last = m == count - 1;
            const int document = ++m_documents;
            // The opening sale of a SaleFirst item must count.
            bool mayBeNull = !(m == 0 && history == ItemHistory::SaleFirst);
            qint64 quantityMoved = 0;
            if (last && history == ItemHistory::EndsAtZero) {
                mayBeNull = false;
                if (onHand > 0) {
                    mv.receipt = false;
                    quantityMoved = onHand;
                } else if (onHand < 0) {
                    mv.receipt = true;
                    quantityMoved = -onHand;
                } else {
                    mv.receipt = false;
                    mv.aciklama = u"Sayım Düzeltme"_s;
                }
            } else if (last && history == ItemHistory::EndsNegative) {
                mayBeNull = false;
                mv.receipt = false;
                quantityMoved = std::max<qint64>(onHand, 0) + units(1, 5);
            } else if (mv.receipt) {
                quantityMoved = units(5, 200);
            } else if (onHand > 0) {
                const qint64 share = onHand * m_random.between(5, 45) / 100;
                quantityMoved = weighed ? std::max<qint64>(share, 1) : std::max<qint64>(share / 1000, 1) * 1000;
            } else {
                quantityMoved = units(1, 10);
            }

            if (mv.receipt) {
                qint64 cost = baseCost * m_random.between(90, 115) / 100;
                if (!weighed)
                    cost -= cost % 100;
                lastCost = cost;
                mv.giris = quantityMoved;
                mv.maliyet = m_random.perMille(30) ? QVariant() : money4(cost);
                if (mv.aciklama.isEmpty())
                    mv.aciklama = numbered(u"Alış Faturası A-"_s, document, 6);
            } else {
                mv.cikis = quantityMoved;
                // A sale carries the cost of the moment, unless none is known yet or it was left out.
                mv.maliyet = lastCost == 0 || m_random.percent(30) ? QVariant() : money4(lastCost);
                if (mv.aciklama.isEmpty())
                    mv.aciklama = m_random.percent(20) ? u"Perakende Satış"_s : numbered(u"Satış Faturası S-"_s, document, 6);
            }
            if (mayBeNull && m_random.perMille(12)) {
                mv.girisNull = !mv.receipt;
                mv.cikisNull = mv.receipt;
            }
            if (!mv.girisNull && !mv.cikisNull)
                onHand += mv.giris - mv.cikis;
        }

        m_cards.add({item, numbered(u"ST-"_s, item, 6), g.name, g.unit});
        m_remaining.add({item, quantity(onHand)});
        writeMovements(item);
    }

    // Entered day by day, but a day's sales before its receipts, and now and
    // then one movement entered late: the ids alone do not give the order in
    // which the valuation must read the rows.
    void writeMovements(int item)
    {
        m_order.clear();
        std::size_t begin = 0;
        while (begin < m_plan.size()) {
            std::size_t end = begin;
            while (end < m_plan.size() && m_plan[end].day == m_plan[begin].day)
                ++end;
            for (std::size_t k = end; k > begin; --k)
                m_order.push_back(k - 1);
            begin = end;
        }
        if (m_order.size() >= 4 && m_random.perMille(40)) {
            const auto middle = m_order.begin() + std::ptrdiff_t(m_order.size() / 2);
            std::rotate(middle, middle + 1, m_order.end());
        }
        for (std::size_t index : m_order) {
            const Movement &mv = m_plan[index];
            m_movements.add({++m_movementId, item, dayText(mv.day), mv.girisNull ? QVariant() : quantity(mv.giris),
                             mv.cikisNull ? QVariant() : quantity(mv.cikis), mv.maliyet, mv.aciklama});
        }
    }

    const CompanyContent &m_content;
    Random m_random;
    TableWriter m_cards;
    TableWriter m_remaining;
    TableWriter m_movements;
    std::vector<Movement> m_plan;
    std::vector<std::size_t> m_order;
    int m_documents = 0;
    int m_movementId = 0;
};

} // namespace

int accountCount(int items)
{
    return std::max(40, 2 * items);
}

int chequeCount(int items)
{
    return std::max(16, 2 * items);
}

int posCount(int items)
{
    return std::max(24, items / 2);
}

WrittenDatabase writeCompanyDatabase(const QString &path, const CompanyContent &content, TsqlScript *script)
{
    writer::SqliteWriter file(path);
    // A lost file is simply written again: no need to wait for the disk.
    file.exec(u"PRAGMA synchronous=OFF"_s);
    file.exec(u"PRAGMA cache_size=-262144"_s);
    file.begin();
    DemoDatabase db{file, script};

    WrittenDatabase written{QFileInfo(path).fileName(), {}};
    const int accounts = accountCount(content.items);
    written.tables.append(writeAccounts(db, accounts, Random(Random::streamSeed(content.seed, Accounts))));

    const PaperKind cheques{u"CEKKART"_s, u"Cek_ID", u"Cek_No", QString(), u"Kendi Çekimiz"_s, true,
                            u"CEKPARCALISONUC"_s, u"Cek_ID", u"MONEY", 500000};
    const PaperKind notes{u"SENETKART"_s, u"Senet_ID", u"Senet_No", u"SN"_s, u"Kendi Senedimiz"_s, false,
                          u"SENETPARCALISONUC"_s, u"Senet_ID", u"DECIMAL(18,2)", 250000};
    written.tables.append(writePapers(db, cheques, chequeCount(content.items), accounts,
                                      Random(Random::streamSeed(content.seed, Cheques))));
    written.tables.append(writePapers(db, notes, chequeCount(content.items), accounts,
                                      Random(Random::streamSeed(content.seed, Notes))));
    written.tables.append(writeBanksAndCash(db, Random(Random::streamSeed(content.seed, Banks))));
    written.tables.append(writePos(db, posCount(content.items), Random(Random::streamSeed(content.seed, Pos))));
    {
        StockWriter stock(db, content);
        written.tables.append(stock.write());
    }

    // Secondary indexes after the rows: one sort instead of a million page splits.
    db.exec(u"CREATE INDEX IX_CEKKART_Durum ON CEKKART (Durum)"_s);
    db.exec(u"CREATE INDEX IX_SENETKART_Durum ON SENETKART (Durum)"_s);
    db.exec(u"CREATE INDEX IX_POSHAREKET_Hesaba_Aktarildi ON POSHAREKET (Hesaba_Aktarildi)"_s);
    db.exec(u"CREATE INDEX IX_STOKHAREKET_Stok_ID_Tarih_Cikis ON STOKHAREKET (Stok_ID, Tarih, Cikis)"_s);
    file.commit();
    return written;
}

} // namespace zelvan::demo
