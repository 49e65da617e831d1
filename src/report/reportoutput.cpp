#include "report/reportoutput.h"

#include "program/regionalsettings.h"
#include "report/activereport1.h"
#include "report/figurerows.h"
#include "report/reportidentity.h"
#include "report/reportvalues.h"
#include "runtime/err.h"
#include "runtime/jsontext.h"
#include "runtime/numberformat.h"

#include <QIODevice>

#include <charconv>

namespace zelvan::report {

using runtime::Variant;

reportengine::CellFormats cellFormats(const program::WorkstationFormats &formats)
{
    reportengine::CellFormats cells;
    cells.separators.decimal = formats.decimalSeparator.isEmpty() ? QChar(u',') : formats.decimalSeparator.front();
    cells.separators.thousands = formats.thousandsSeparator.isEmpty() ? QChar(u'.') : formats.thousandsSeparator.front();
    cells.shortDate = formats.shortDate;
    cells.timeFormat = formats.timeFormat;
    return cells;
}

void fillPageTexts(ActiveReport1 &report, const ReportValues &values, const program::WorkstationFormats &formats)
{
    const runtime::Separators separators = cellFormats(formats).separators;

    const QString amountFormat = ActiveReport1::amountFormat();
    for (const QString &name : ActiveReport1::amountFieldNames())
        report.page().setFieldText(name, runtime::formatNumber(values.value(name), amountFormat, separators));

    const auto dateText = [&](const QString &field, const QString &picture) {
        const Variant &value = values.value(field);
        if (value.isEmpty() || value.isNull())
            return QString();
        return runtime::formatDateTime(value.toDateTime(), picture);
    };
    report.page().setFieldText(QStringLiteral("tarih"), dateText(QStringLiteral("tarih"), formats.shortDate));
    report.page().setFieldText(QStringLiteral("saat"), dateText(QStringLiteral("saat"), formats.timeFormat));
}

namespace {

// A huge double's shortest digits written out without an exponent.
QString plainDigits(double value)
{
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    const QString text = QString::fromLatin1(buffer, end.ptr - buffer);  // "-1.2345e+30"
    const qsizetype e = text.indexOf(u'e');
    const bool negative = text.startsWith(u'-');
    QString digits = text.mid(negative ? 1 : 0, e - (negative ? 1 : 0)).remove(u'.');
    const int exponent = text.mid(e + 1).toInt();
    const int integerDigits = exponent + 1;
    if (integerDigits >= digits.size())
        digits += QString(integerDigits - digits.size(), u'0');
    else
        digits.insert(integerDigits, u'.');
    return negative ? u'-' + digits : digits;
}

} // namespace

QString plainDecimal(const Variant &value)
{
    switch (value.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        return QStringLiteral("0");
    case Variant::Type::Double: {
        // Through its 15-digit decimal form, so that no exponent appears;
        // beyond Decimal's range, the double's own shortest digits.
        try {
            return runtime::Decimal::fromDouble(value.doubleValue()).toString();
        } catch (const runtime::Err &) {
            return plainDigits(value.doubleValue());
        }
    }
    default:
        return value.toDecimal().toString();
    }
}

QByteArray reportJson(const ActiveReport1 &report, const ReportValues &values, const ReportIdentity &identity)
{
    using runtime::jsonString;
    QByteArray json = "{\"title\":" + runtime::jsonString(report.page().caption) + ",\"fields\":{";
    bool first = true;
    for (const QString &name : report.page().fieldNames()) {
        json += (first ? "" : ",") + runtime::jsonString(name) + ':' + runtime::jsonString(report.page().fieldText(name));
        first = false;
    }
    json += "},\"values\":{";
    first = true;
    for (const QString &name : ActiveReport1::amountFieldNames()) {
        json += (first ? "" : ",") + runtime::jsonString(name) + ':' + runtime::jsonString(plainDecimal(values.value(name)));
        first = false;
    }
    json += '}' + identity.jsonMembers() + '}';
    return json;
}

namespace {

QByteArray jsonCell(const Variant &cell)
{
    switch (cell.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        return "null";
    case Variant::Type::Boolean:
        return cell.boolValue() ? "\"1\"" : "\"0\"";
    case Variant::Type::String:
        return runtime::jsonString(cell.stringValue());
    case Variant::Type::Date:
        try {
            return runtime::jsonString(cell.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")));
        } catch (const runtime::Err &) {
            return "null";  // beyond the runtime's dates
        }
    default:
        return runtime::jsonString(plainDecimal(cell));
    }
}

QByteArray jsonArray(const QStringList &texts)
{
    QByteArray json = "[";
    for (qsizetype i = 0; i < texts.size(); ++i)
        json += (i ? "," : "") + runtime::jsonString(texts[i]);
    return json + ']';
}

// One figure's object; false when its rows could not be read.
bool writeFigureDetails(QIODevice &out, FigureRows &figure)
{
    if (!figure.open())
        return false;
    QByteArray head = runtime::jsonString(figure.field()) + ":{\"caption\":" + runtime::jsonString(figure.caption())
        + ",\"columns\":" + jsonArray(figure.columns()) + ",\"amount\":" + QByteArray::number(figure.amountColumn())
        + ",\"rows\":[";
    out.write(head);
    reportengine::AmountTotal total;
    reportengine::Row row;
    QByteArray line;
    for (bool first = true; figure.next(row); first = false) {
        line = first ? "[" : ",[";
        for (size_t i = 0; i < row.size(); ++i)
            line += (i ? "," : "") + jsonCell(row[i]);
        line += ']';
        out.write(line);
        if (figure.amountColumn() >= 0 && size_t(figure.amountColumn()) < row.size())
            total.add(row[size_t(figure.amountColumn())]);
    }
    out.write("],\"total\":" + runtime::jsonString(plainDecimal(total.value())) + '}');
    return true;
}

} // namespace

bool writeJsonDetails(QIODevice &out, const std::vector<std::unique_ptr<FigureRows>> &figures)
{
    out.write(",\"details\":{");
    for (size_t i = 0; i < figures.size(); ++i) {
        if (i)
            out.write(",");
        if (!writeFigureDetails(out, *figures[i]))
            return false;
    }
    out.write("}");
    return true;
}

reportengine::SheetCells pageSheet(const ActiveReport1 &report, const ReportValues &values)
{
    // Amounts as exact decimals, so that a sum of nothing (Integer 0) is an amount cell too.
    const auto amount = [&values](const QString &field) { return Variant::decimal(values.value(field).toDecimal()); };
    const auto text = [](const QString &t) { return Variant::string(t); };
    QList<QString> left;
    QList<QString> right;
    for (const ReportFigure &figure : reportFigures())
        (figure.rightColumn ? right : left) << figure.field;

    reportengine::SheetCells sheet;
    sheet.name = report.page().caption;
    const auto heading = [&report](const QString &label) {
        const reportengine::ReportControl *control = report.page().control(label);
        return Variant::string(control ? control->text : QString());
    };
    sheet.rows << QList<Variant>{text(report.page().caption)} << QList<Variant>{}
               << QList<Variant>{heading(QStringLiteral("Label2")), {}, {}, heading(QStringLiteral("Label3"))};
    for (qsizetype i = 0; i < std::max(left.size(), right.size()); ++i) {
        QList<Variant> cells{{}, {}, {}, {}, {}};
        if (i < left.size()) {
            cells[0] = text(ActiveReport1::figureCaption(left[i]));
            cells[1] = amount(left[i]);
        }
        if (i < right.size()) {
            cells[3] = text(ActiveReport1::figureCaption(right[i]));
            cells[4] = amount(right[i]);
        }
        sheet.rows << cells;
    }
    sheet.rows << QList<Variant>{text(QStringLiteral("Toplam")), amount(LeftTotalField), {}, text(QStringLiteral("Toplam")),
                                 amount(RightTotalField)};
    sheet.boldRows = {0, 2, int(sheet.rows.size()) - 1};
    sheet.rows << QList<Variant>{} << QList<Variant>{text(QStringLiteral("Tarih")), values.value(QStringLiteral("tarih"))}
               << QList<Variant>{text(QStringLiteral("Saat")), values.value(QStringLiteral("saat"))};
    return sheet;
}

} // namespace zelvan::report
