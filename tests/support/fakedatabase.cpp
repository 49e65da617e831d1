#include "support/fakedatabase.h"

#include "database/backend.h"
#include "runtime/err.h"



namespace zelvan::test {

namespace {

class FakeCursor : public database::DbCursor
{
public:
    explicit FakeCursor(FakeResult result) : m_result(std::move(result)) {}
    int columnCount() const override { return int(m_result.columns.size()); }
    QString columnName(int column) const override { return m_result.columns.value(column); }
    bool fetch(std::vector<runtime::Variant> &row) override
    {
        if (m_result.rows.isEmpty())
            return false;
        row = m_result.rows.takeFirst();
        row.resize(size_t(columnCount()));
        return true;
    }

private:
    FakeResult m_result;
};

} // namespace

class FakeBackend : public database::DbBackend
{
public:
    explicit FakeBackend(FakeDatabase &database) : m_database(database) {}
    std::unique_ptr<database::DbCursor> execute(const QString &sql) override
    {
        m_database.executed.append(sql);
        if (!m_database.m_answers.contains(sql))
            throw runtime::Err(runtime::ErrNo::CommandFailed, QStringLiteral("Unexpected statement"));
        return std::make_unique<FakeCursor>(m_database.m_answers.value(sql));
    }

private:
    FakeDatabase &m_database;
};

std::shared_ptr<database::Connection> FakeDatabase::connect()
{
    auto connection = std::make_shared<database::Connection>();
    open(*connection);
    return connection;
}

void FakeDatabase::open(database::Connection &connection)
{
    connection.openWith(std::make_unique<FakeBackend>(*this));
}

runtime::Variant typedValue(const QString &column, const QString &text)
{
    using runtime::Variant;
    if (text == u'N')
        return runtime::Variant::null();
    if (column.startsWith(u"FLOAT"))
        return runtime::Variant::dbl(text.toDouble());
    if (column.startsWith(u"MONEY"))
        return runtime::Variant::currency(runtime::Currency::parse(text).value());
    if (column.startsWith(u"SMALLINT"))
        return runtime::Variant::integer(qint16(text.toInt()));
    if (column.startsWith(u"DECIMAL"))
        return runtime::Variant::decimal(runtime::Decimal::parse(text).value());
    return runtime::Variant::longInt(text.toInt());
}

} // namespace zelvan::test
