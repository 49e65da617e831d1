#pragma once

#include "platform/reportlayout.h"

#include <QString>

namespace zelvan::test {

// The report's page as Detail_Format leaves it: every amount field showing
// `amountText`, the date 05.12.2026 and the time 14:30:15.
platform::ReportPage filledReportPage(const QString &amountText);

} // namespace zelvan::test
