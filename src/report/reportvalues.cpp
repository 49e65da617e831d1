#include "report/reportvalues.h"

namespace zelvan {

const platform::Variant &ReportValues::value(const QString &field) const
{
    static const platform::Variant empty;
    const auto it = m_values.constFind(field);
    return it == m_values.constEnd() ? empty : *it;
}

} // namespace zelvan
