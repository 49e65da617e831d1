// The select-list hints: which result columns are aggregates over one column.
#include "fuzzsupport.h"

#include "database/embedded/selectlist.h"


namespace zelvan::fuzz {

void fuzzSelectList(QByteArrayView data)
{
    const QString sql = QString::fromUtf8(data);
    const QList<database::SelectItemHint> hints = database::selectItemHints(sql);

    check(hints.isEmpty() || sql.contains(u"select", Qt::CaseInsensitive), "only a SELECT has hints", sql);
    // Every item but the last ends at a comma.
    check(hints.size() <= sql.count(u',') + 1, "an item per comma at most", sql);
    static const QStringList Functions = {QStringLiteral("SUM"), QStringLiteral("MIN"), QStringLiteral("MAX"), QStringLiteral("AVG"), QStringLiteral("COUNT")};
    for (const database::SelectItemHint &hint : hints) {
        if (hint.function.isEmpty()) {
            check(hint.column.isEmpty() && hint.qualifier.isEmpty(), "no column without an aggregate", sql);
            continue;
        }
        check(Functions.contains(hint.function), "a known aggregate", hint.function);
        check(sql.contains(hint.function, Qt::CaseInsensitive), "the aggregate is in the text", hint.function);
        check(!hint.column.isEmpty() && sql.contains(hint.column), "the column is in the text", hint.column);
        check(!hint.allRows || (hint.column == u"*" && hint.qualifier.isEmpty()), "'*' stands alone", sql);
        check(hint.qualifier.isEmpty() || sql.contains(hint.qualifier), "the qualifier is in the text", hint.qualifier);
    }
}

} // namespace zelvan::fuzz
