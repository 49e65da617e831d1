#pragma once

#include <QByteArray>
#include <QString>

namespace zelvan::program {
struct WorkstationFormats;
} // namespace zelvan::program

namespace zelvan::runtime {
class Variant;
} // namespace zelvan::runtime

namespace zelvan::report {

class ActiveReport1;
struct ReportIdentity;
class ReportValues;

// Puts every field's value on the page as text: amounts through their
// output format with the workstation's separators, the date and time in the
// workstation's short date and time forms.
void fillPageTexts(ActiveReport1 &report, const ReportValues &values, const program::WorkstationFormats &formats);

// A value as plain decimal text: '-' sign, digits, '.' point, no grouping.
QString plainDecimal(const runtime::Variant &value);

// {"title":"ZELVAN RAPORU","fields":{NAME:TEXT,...},"values":{NAME:DECIMAL,...},
//  "company":{...},"generated":DATETIME}
// fields: every field of the page in page order, as the page shows it;
// values: the amount fields as plain decimal text, in JSON strings so that
// no reader turns them into binary floating point; then whose report it is.
QByteArray reportJson(const ActiveReport1 &report, const ReportValues &values, const ReportIdentity &identity);

} // namespace zelvan::report
