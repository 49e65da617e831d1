#include "report/reportvalues.h"

namespace zelvan::report {

const runtime::Variant &ReportValues::value(const QString &field) const
{
    static const runtime::Variant empty;
    const auto it = m_values.constFind(field);
    return it == m_values.constEnd() ? empty : *it;
}

} // namespace zelvan::report
