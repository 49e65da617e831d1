#pragma once

#include "database/connection.h"
#include "runtime/variant.h"

#include <QHash>
#include <QStringList>


namespace zelvan::test {

// The rows a fake statement returns.
struct FakeResult
{
    QStringList columns;
    QList<std::vector<runtime::Variant>> rows;
};

// Answers statements from a table and records every statement sent, in order. An unknown statement is
// refused as a server refuses it, so a test notices every query it did not expect.
class FakeDatabase
{
public:
    void answer(const QString &sql, const FakeResult &result) { m_answers.insert(sql, result); }

    // A connection open on this database; the database must outlive it.
    std::shared_ptr<database::Connection> connect();
    // Opens an existing connection on this database, in place of its own back end.
    void open(database::Connection &connection);

    QStringList executed;

private:
    friend class FakeBackend;
    QHash<QString, FakeResult> m_answers;
};

// A Variant from short text: "N" is NULL; otherwise a number of the type `column` declares:
// FLOAT (Double), MONEY (Currency), DECIMAL (Decimal), SMALLINT (Integer), INT (Long).
runtime::Variant typedValue(const QString &column, const QString &text);

} // namespace zelvan::test
