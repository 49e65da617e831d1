#pragma once

#include "platform/connection.h"
#include "platform/variant.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace zelvan::test {

// The rows a fake statement returns.
struct FakeResult
{
    QStringList columns;
    QList<std::vector<platform::Variant>> rows;
};

// A database that answers statements from a table and records every
// statement it is sent, in order. An unknown statement is refused as a server
// refuses it, so a test notices every query it did not expect.
class FakeDatabase
{
public:
    void answer(const QString &sql, const FakeResult &result) { m_answers.insert(sql, result); }
    void refuse(const QString &sql) { m_answers.remove(sql); }

    // A connection open on this database; the database must outlive it.
    std::shared_ptr<platform::Connection> connect();

    QStringList executed;

private:
    friend class FakeBackend;
    QHash<QString, FakeResult> m_answers;
};

// One row with a single column `Toplam`, as an aggregate query returns it.
FakeResult sumResult(const platform::Variant &value);

// A Variant from short text: "N" is NULL; otherwise the text is a number of
// the type that `column` names as the database declares it: FLOAT (Double),
// MONEY (Currency), DECIMAL (Decimal), SMALLINT (Integer), INT (Long).
platform::Variant typedValue(const QString &column, const QString &text);

} // namespace zelvan::test
