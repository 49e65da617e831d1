#pragma once

#include "runtime/variant.h"

#include <QHash>
#include <QString>

namespace zelvan::report {

// The values written into the report's fields, by field name. A field that
// was never written reads as Empty.
class ReportValues
{
public:
    const runtime::Variant &value(const QString &field) const;
    void setValue(const QString &field, const runtime::Variant &value) { m_values.insert(field, value); }
    bool contains(const QString &field) const { return m_values.contains(field); }

private:
    QHash<QString, runtime::Variant> m_values;
};

} // namespace zelvan::report
