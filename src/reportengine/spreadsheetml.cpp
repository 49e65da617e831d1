#include "reportengine/spreadsheetml.h"

#include "runtime/err.h"

#include <charconv>
#include <cmath>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::reportengine::spreadsheetml {

using runtime::Variant;

namespace {

constexpr int MaxText = 32767;  // characters in one cell
constexpr double DayMs = 86400000.0;

const QByteArray Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"_ba;
const QByteArray MainNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"_ba;
const QByteArray RelationshipNamespace = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"_ba;

bool isHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// "_x0001_": how a cell keeps a character that XML cannot hold.
void appendCharacterEscape(QByteArray &xml, uint code)
{
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", code);
    xml += "_x";
    xml += hex;
    xml += '_';
}

// Text for an element or an attribute: XML's five characters as entities;
// in cell text also control characters, U+FFFE/U+FFFF and a literal "_xHHHH_"
// (which a reader would take for such an escape) in the cell format's escape.
void appendEscaped(QByteArray &xml, const QByteArray &utf8, bool cellText)
{
    const char *p = utf8.constData();
    const qsizetype n = utf8.size();
    qsizetype plain = 0;  // the start of the characters that go as they are
    const auto flush = [&](qsizetype end) { xml.append(p + plain, end - plain); };
    for (qsizetype i = 0; i < n; ++i) {
        const char c = p[i];
        const auto u = uchar(c);
        const char *entity = c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;"
                           : (c == '"' && !cellText) ? "&quot;" : nullptr;
        if (entity) {
            flush(i);
            xml += entity;
        } else if (u < 0x20 && c != '\t' && c != '\n' && c != '\r') {
            flush(i);
            appendCharacterEscape(xml, u);
        } else if (cellText && u == 0xEF && i + 2 < n && uchar(p[i + 1]) == 0xBF && (uchar(p[i + 2]) & 0xFE) == 0xBE) {
            flush(i);
            appendCharacterEscape(xml, 0xFFFE + (uchar(p[i + 2]) & 1));
            i += 2;
        } else if (cellText && c == '_' && i + 6 < n && p[i + 1] == 'x' && isHex(p[i + 2]) && isHex(p[i + 3])
                   && isHex(p[i + 4]) && isHex(p[i + 5]) && p[i + 6] == '_') {
            flush(i);
            xml += "_x005F";  // the '_' itself follows as plain text
            plain = i;
            continue;
        } else {
            continue;
        }
        plain = i + 1;
    }
    flush(n);
}

void appendCellStart(QByteArray &xml, QByteArrayView reference, Style style)
{
    xml += "<c r=\"";
    xml += reference;
    xml += '"';
    if (style != Style::Plain) {
        xml += " s=\"";
        xml += char('0' + int(style));
        xml += '"';
    }
}

void appendNumber(QByteArray &xml, QByteArrayView reference, QByteArrayView number, Style style)
{
    appendCellStart(xml, reference, style);
    xml += "><v>";
    xml += number;
    xml += "</v></c>";
}

// A cell's number in a buffer of its own, since a workbook writes millions of them.
class Digits
{
public:
    explicit Digits(double value) { m_size = std::to_chars(m_text, m_text + sizeof m_text, value).ptr - m_text; }
    explicit Digits(qint64 value) { m_size = std::to_chars(m_text, m_text + sizeof m_text, value).ptr - m_text; }
    explicit Digits(runtime::Currency money) { m_size = money.writeText(m_text); }
    QByteArrayView view() const { return {m_text, m_size}; }

private:
    char m_text[runtime::Currency::MaxTextLength];
    qsizetype m_size = 0;
};

// A date as a spreadsheet's day number: days since 31 December 1899, counting
// the 29 February 1900 that never was, as every spreadsheet does for Lotus 1-2-3.
void appendDate(QByteArray &xml, QByteArrayView reference, const Variant &cell)
{
    const double ole = cell.doubleValue();
    if (ole >= 0 && ole < 1) {
        appendNumber(xml, reference, Digits(ole).view(), Style::Time);
        return;
    }
    if (ole < 2) {  // before 1 January 1900
        appendText(xml, reference, cell.toString(), Style::Plain);
        return;
    }
    const double serial = ole < 61 ? ole - 1 : ole;
    const auto ms = std::llround((ole - std::floor(ole)) * DayMs);
    const bool midnight = ms == 0 || ms == qint64(DayMs);
    appendNumber(xml, reference, Digits(serial).view(), midnight ? Style::Date : Style::DateTime);
}

void appendValue(QByteArray &xml, QByteArrayView reference, const Variant &cell, bool bold)
{
    const Style amount = bold ? Style::BoldAmount : Style::Amount;
    switch (cell.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        return;
    case Variant::Type::Boolean:
        appendCellStart(xml, reference, Style::Plain);
        xml += cell.boolValue() ? " t=\"b\"><v>1</v></c>" : " t=\"b\"><v>0</v></c>";
        return;
    case Variant::Type::Byte:
    case Variant::Type::Integer:
    case Variant::Type::Long:
        appendNumber(xml, reference, Digits(cell.intValue()).view(), Style::Plain);
        return;
    case Variant::Type::Currency:
        appendNumber(xml, reference, Digits(cell.currencyValue()).view(), amount);
        return;
    case Variant::Type::Decimal:
        appendNumber(xml, reference, cell.decimalValue().toString().toLatin1(), amount);
        return;
    case Variant::Type::Double:
        if (std::isfinite(cell.doubleValue()))
            appendNumber(xml, reference, Digits(cell.doubleValue()).view(), amount);
        else
            appendText(xml, reference, cell.toString(), Style::Plain);
        return;
    case Variant::Type::Date:
        appendDate(xml, reference, cell);
        return;
    case Variant::Type::String:
        appendText(xml, reference, cell.stringValue(), bold ? Style::Bold : Style::Plain);
        return;
    }
}

} // namespace

QByteArray columnName(int column)
{
    QByteArray name;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        name.prepend(char('A' + (n - 1) % 26));
    return name;
}

QByteArray columnRange(int firstRow, int lastRow, int column)
{
    const QByteArray name = columnName(column);
    return name + QByteArray::number(firstRow + 1) + ':' + name + QByteArray::number(lastRow + 1);
}

void appendCell(QByteArray &xml, QByteArrayView reference, const Variant &cell, bool bold)
{
    try {
        appendValue(xml, reference, cell, bold);
    } catch (const runtime::Err &) {
        // A value the runtime cannot show as text stays a blank cell.
    }
}

void appendText(QByteArray &xml, QByteArrayView reference, const QString &text, Style style)
{
    appendCellStart(xml, reference, style);
    const QString kept = text.left(MaxText);
    const bool spaced = !kept.isEmpty() && (kept.front().isSpace() || kept.back().isSpace());
    xml += spaced ? " t=\"inlineStr\"><is><t xml:space=\"preserve\">" : " t=\"inlineStr\"><is><t>";
    appendEscaped(xml, kept.toUtf8(), true);
    xml += "</t></is></c>";
}

void appendFormula(QByteArray &xml, QByteArrayView reference, const QByteArray &formula, const Variant &value,
                   Style style)
{
    appendCellStart(xml, reference, style);
    xml += "><f>";
    appendEscaped(xml, formula, false);
    xml += "</f><v>";
    xml += Digits(value.toDouble()).view();
    xml += "</v></c>";
}

QByteArray worksheetStart(const QList<double> &widths, int frozenRows)
{
    QByteArray xml = Declaration + "<worksheet xmlns=\"" + MainNamespace + "\" xmlns:r=\"" + RelationshipNamespace
                     + "\"><sheetViews><sheetView workbookViewId=\"0\">";
    if (frozenRows > 0) {
        const QByteArray rows = QByteArray::number(frozenRows);
        xml += "<pane ySplit=\"" + rows + "\" topLeftCell=\"A" + QByteArray::number(frozenRows + 1)
               + "\" activePane=\"bottomLeft\" state=\"frozen\"/><selection pane=\"bottomLeft\"/>";
    }
    xml += "</sheetView></sheetViews><sheetFormatPr defaultRowHeight=\"15\"/>";
    if (!widths.isEmpty()) {
        xml += "<cols>";
        for (qsizetype i = 0; i < widths.size(); ++i) {
            const QByteArray n = QByteArray::number(i + 1);
            xml += "<col min=\"" + n + "\" max=\"" + n + "\" width=\"" + Digits(widths[i]).view().toByteArray()
                   + "\" customWidth=\"1\"/>";
        }
        xml += "</cols>";
    }
    return xml + "<sheetData>";
}

QByteArray worksheetEnd()
{
    return "</sheetData><pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" "
           "footer=\"0.3\"/></worksheet>"_ba;
}

QByteArray worksheetPath(qsizetype sheet)
{
    return "xl/worksheets/sheet" + QByteArray::number(sheet) + ".xml";
}

QByteArray contentTypes(qsizetype sheets)
{
    const QByteArray type = "application/vnd.openxmlformats-officedocument.spreadsheetml.";
    QByteArray xml = Declaration
                     + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                       "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                       "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                       "<Override PartName=\"/xl/workbook.xml\" ContentType=\""
                     + type + "sheet.main+xml\"/><Override PartName=\"/xl/styles.xml\" ContentType=\"" + type
                     + "styles+xml\"/>";
    for (qsizetype i = 1; i <= sheets; ++i)
        xml += "<Override PartName=\"/" + worksheetPath(i) + "\" ContentType=\"" + type + "worksheet+xml\"/>";
    return xml + "</Types>";
}

QByteArray packageRelationships()
{
    return Declaration
           + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
             "<Relationship Id=\"rId1\" Type=\"" + RelationshipNamespace
           + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
}

QByteArray workbook(const QStringList &sheetNames)
{
    QByteArray xml = Declaration + "<workbook xmlns=\"" + MainNamespace + "\" xmlns:r=\"" + RelationshipNamespace
                     + "\"><bookViews><workbookView/></bookViews><sheets>";
    for (qsizetype i = 0; i < sheetNames.size(); ++i) {
        const QByteArray n = QByteArray::number(i + 1);
        xml += "<sheet name=\"";
        appendEscaped(xml, sheetNames[i].toUtf8(), false);
        xml += "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
    }
    return xml + "</sheets></workbook>";
}

QByteArray workbookRelationships(qsizetype sheets)
{
    QByteArray xml = Declaration + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (qsizetype i = 1; i <= sheets; ++i) {
        xml += "<Relationship Id=\"rId" + QByteArray::number(i) + "\" Type=\"" + RelationshipNamespace
               + "/worksheet\" Target=\"worksheets/sheet" + QByteArray::number(i) + ".xml\"/>";
    }
    xml += "<Relationship Id=\"rId" + QByteArray::number(sheets + 1) + "\" Type=\"" + RelationshipNamespace
           + "/styles\" Target=\"styles.xml\"/>";
    return xml + "</Relationships>";
}

// In the order of Style. Number format 4 is the spreadsheet's own #,##0.00.
QByteArray styles()
{
    const QByteArray font = "<sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/>";
    return Declaration + "<styleSheet xmlns=\"" + MainNamespace + "\">"
           + "<numFmts count=\"3\"><numFmt numFmtId=\"164\" formatCode=\"dd.mm.yyyy\"/>"
             "<numFmt numFmtId=\"165\" formatCode=\"dd.mm.yyyy hh:mm:ss\"/>"
             "<numFmt numFmtId=\"166\" formatCode=\"hh:mm:ss\"/></numFmts>"
           + "<fonts count=\"2\"><font>" + font + "</font><font><b/>" + font + "</font></fonts>"
           + "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
             "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
             "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
             "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
             "<cellXfs count=\"7\">"
             "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
             "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\"/>"
             "<xf numFmtId=\"4\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/>"
             "<xf numFmtId=\"4\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\" applyNumberFormat=\"1\"/>"
             "<xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/>"
             "<xf numFmtId=\"165\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/>"
             "<xf numFmtId=\"166\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/>"
             "</cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
             "</styleSheet>";
}

} // namespace zelvan::reportengine::spreadsheetml
