#pragma once

#include "platform/variant.h"

#include <QHash>
#include <QString>

namespace zelvan {

// The values written into the report's fields, by field name. A field that
// was never written reads as Empty.
class ReportValues
{
public:
    const platform::Variant &value(const QString &field) const;
    void setValue(const QString &field, const platform::Variant &value) { m_values.insert(field, value); }
    bool contains(const QString &field) const { return m_values.contains(field); }

private:
    QHash<QString, platform::Variant> m_values;
};

} // namespace zelvan
