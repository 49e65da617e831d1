#pragma once

#include <QStringList>
#include <QTest>

#include <initializer_list>

namespace zelvan::test {

// A data table whose columns are all text: one row per entry, named after
// its fields but the last (the expected result).
inline void addTextRows(std::initializer_list<const char *> columns,
                        std::initializer_list<std::initializer_list<const char16_t *>> rows)
{
    for (const char *column : columns)
        QTest::addColumn<QString>(column);
    for (const auto &row : rows) {
        if (row.size() != columns.size())
            qFatal("a row of %d fields for %d columns", int(row.size()), int(columns.size()));
        QStringList fields;
        for (const char16_t *field : row)
            fields << QString::fromUtf16(field);
        QTestData &data = QTest::newRow(qPrintable(fields.mid(0, fields.size() - 1).join(u" | ")));
        for (const QString &field : std::as_const(fields))
            data << field;
    }
}

} // namespace zelvan::test
