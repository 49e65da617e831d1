#include "report/reportoutput.h"

#include "program/regionalsettings.h"
#include "report/activereport1.h"
#include "report/reportidentity.h"
#include "report/reportvalues.h"
#include "runtime/err.h"
#include "runtime/jsontext.h"
#include "runtime/numberformat.h"

#include <charconv>

namespace zelvan::report {

using runtime::Variant;

void fillPageTexts(ActiveReport1 &report, const ReportValues &values, const program::WorkstationFormats &formats)
{
    runtime::Separators separators;
    separators.decimal = formats.decimalSeparator.isEmpty() ? QChar(u',') : formats.decimalSeparator.front();
    separators.thousands = formats.thousandsSeparator.isEmpty() ? QChar(u'.') : formats.thousandsSeparator.front();

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

} // namespace zelvan::report
