#include "database/connectionstring.h"

namespace zelvan::database {

ConnectionString ConnectionString::parse(QStringView text)
{
    ConnectionString result;
    for (QStringView piece : text.tokenize(u';')) {
        const qsizetype eq = piece.indexOf(u'=');
        if (eq < 0)
            continue;  // a piece without '=' names nothing; ADO ignores it too
        const QString keyword = piece.left(eq).trimmed().toString();
        if (keyword.isEmpty())
            continue;
        const QString value = piece.mid(eq + 1).toString();
        bool replaced = false;
        for (auto &pair : result.m_pairs) {
            if (pair.first.compare(keyword, Qt::CaseInsensitive) == 0) {
                pair.second = value;
                replaced = true;
                break;
            }
        }
        if (!replaced)
            result.m_pairs.append({keyword, value});
    }
    return result;
}

QString ConnectionString::value(QStringView keyword) const
{
    for (const auto &pair : m_pairs) {
        if (QStringView(pair.first).compare(keyword, Qt::CaseInsensitive) == 0)
            return pair.second;
    }
    return {};
}

bool ConnectionString::contains(QStringView keyword) const
{
    for (const auto &pair : m_pairs) {
        if (QStringView(pair.first).compare(keyword, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace zelvan::database
