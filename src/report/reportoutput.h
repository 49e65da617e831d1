#pragma once

#include "reportengine/workbookexport.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class QIODevice;

namespace zelvan::program {
struct WorkstationFormats;
} // namespace zelvan::program

namespace zelvan::runtime {
class Variant;
} // namespace zelvan::runtime

namespace zelvan::report {

class ActiveReport1;
struct ReportIdentity;
class FigureRows;
class ReportValues;

// Puts every field's value on the page as text: amounts through their
// output format with the workstation's separators, the date and time in the
// workstation's short date and time forms.
void fillPageTexts(ActiveReport1 &report, const ReportValues &values, const program::WorkstationFormats &formats);

// How the rows behind the figures show on this workstation.
reportengine::CellFormats cellFormats(const program::WorkstationFormats &formats);

// A value as plain decimal text: '-' sign, digits, '.' point, no grouping.
QString plainDecimal(const runtime::Variant &value);

// {"title":"ZELVAN RAPORU","fields":{NAME:TEXT,...},"values":{NAME:DECIMAL,...},
//  "company":{...},"generated":DATETIME}
// fields: every field of the page in page order, as the page shows it;
// values: the amount fields as plain decimal text, in JSON strings so that
// no reader turns them into binary floating point; then whose report it is.
QByteArray reportJson(const ActiveReport1 &report, const ReportValues &values, const ReportIdentity &identity);

// ,"details":{NAME:{"caption":TEXT,"columns":[TEXT,...],"amount":INDEX,"rows":[[CELL,...],...],"total":DECIMAL},...}
// for the figures in order, to be put before the JSON object's closing brace.
// A cell is null, a number as plain decimal text, a date as
// YYYY-MM-DDTHH:MM:SS, or text; a bit is "1" or "0". Written a row at a time;
// false when a figure's rows could not be read (OpenRecordset said why).
bool writeJsonDetails(QIODevice &out, const std::vector<std::unique_ptr<FigureRows>> &figures);

// The workbook's first sheet: the page as a table, debts and their captions
// on the left, what is held or owed on the right, the totals, the date and
// the time.
reportengine::SheetCells pageSheet(const ActiveReport1 &report, const ReportValues &values);

} // namespace zelvan::report
