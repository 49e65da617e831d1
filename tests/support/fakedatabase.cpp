#include "support/fakedatabase.h"

#include "platform/dbbackend.h"
#include "platform/err.h"

namespace zelvan::test {

namespace {

class FakeCursor : public platform::DbCursor
{
public:
    explicit FakeCursor(FakeResult result) : m_result(std::move(result)) {}
    int columnCount() const override { return int(m_result.columns.size()); }
    QString columnName(int column) const override { return m_result.columns.value(column); }
    bool fetch(std::vector<platform::Variant> &row) override
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

class FakeBackend : public platform::DbBackend
{
public:
    explicit FakeBackend(FakeDatabase &database) : m_database(database) {}
    std::unique_ptr<platform::DbCursor> execute(const QString &sql) override
    {
        m_database.executed.append(sql);
        if (!m_database.m_answers.contains(sql))
            throw platform::Err(platform::ErrNo::CommandFailed, QStringLiteral("Unexpected statement"));
        return std::make_unique<FakeCursor>(m_database.m_answers.value(sql));
    }

private:
    FakeDatabase &m_database;
};

std::shared_ptr<platform::Connection> FakeDatabase::connect()
{
    auto connection = std::make_shared<platform::Connection>();
    connection->openWith(std::make_unique<FakeBackend>(*this));
    return connection;
}

platform::Variant typedValue(const QString &column, const QString &text)
{
    using platform::Variant;
    if (text == u'N')
        return Variant::null();
    if (column.startsWith(u"FLOAT"))
        return Variant::dbl(text.toDouble());
    if (column.startsWith(u"MONEY"))
        return Variant::currency(platform::Currency::parse(text).value());
    if (column.startsWith(u"SMALLINT"))
        return Variant::integer(qint16(text.toInt()));
    if (column.startsWith(u"DECIMAL"))
        return Variant::decimal(platform::Decimal::parse(text).value());
    return Variant::longInt(text.toInt());
}

} // namespace zelvan::test
