#include "report/reportidentity.h"

#include "program/degiskenler.h"
#include "report/reportvalues.h"
#include "reportengine/reportlayout.h"
#include "runtime/jsontext.h"

using namespace Qt::Literals::StringLiterals;

namespace zelvan::report {

namespace {

QByteArray jsonTextOrNull(const QString &text) { return text.isEmpty() ? "null" : runtime::jsonString(text); }

QByteArray jsonDateOrNull(const QDate &date)
{
    return date.isValid() ? runtime::jsonString(date.toString(u"yyyy-MM-dd"_s)) : QByteArray("null");
}

// Letters that Windows refuses in a file name, and the path separators.
QString fileNameSafe(QString text)
{
    for (QChar &c : text) {
        if (u"\\/:*?\"<>|"_s.contains(c) || c.unicode() < 0x20)
            c = u'_';
    }
    return text;
}

} // namespace

ReportIdentity ReportIdentity::of(const program::Degiskenler &vars, const ReportValues &values)
{
    ReportIdentity identity;
    identity.companyName = vars.sysfrm_nm;
    identity.companyCode = vars.sysfrm_kd;
    identity.database = vars.DatabaseName;
    identity.fiscalYearStart = vars.Mali_Yil_Baslangic.date();
    identity.fiscalYearEnd = vars.Mali_Yil_Bitis.date();
    identity.generated = QDateTime(values.value(u"tarih"_s).toDateTime().date(), values.value(u"saat"_s).toDateTime().time());
    return identity;
}

QString ReportIdentity::title(const QString &caption) const
{
    QString company = companyName;
    if (!companyCode.isEmpty())
        company += (company.isEmpty() ? u"("_s : u" ("_s) + companyCode + u')';
    return company.isEmpty() ? caption : caption + u" - "_s + company;
}

QString ReportIdentity::fileBaseName(const QString &caption) const
{
    QStringList parts{caption};
    if (!companyCode.isEmpty())
        parts.append(companyCode);
    if (generated.isValid())
        parts.append(generated.date().toString(u"yyyy-MM-dd"_s));
    return fileNameSafe(parts.join(u' '));
}

void ReportIdentity::describe(reportengine::ReportPage &page) const
{
    page.documentTitle = title(page.caption);
    page.fileBaseName = fileBaseName(page.caption);
    QStringList subject;
    if (!database.isEmpty())
        subject.append(u"Veritabanı: "_s + database);
    if (generated.isValid())
        subject.append(generated.toString(u"dd.MM.yyyy HH:mm:ss"_s));
    page.documentSubject = title(page.caption) + (subject.isEmpty() ? QString() : u", "_s + subject.join(u", "_s));
}

QByteArray ReportIdentity::jsonMembers() const
{
    return ",\"company\":{\"name\":" + jsonTextOrNull(companyName) + ",\"code\":" + jsonTextOrNull(companyCode)
           + ",\"database\":" + jsonTextOrNull(database) + ",\"fiscalYearStart\":" + jsonDateOrNull(fiscalYearStart)
           + ",\"fiscalYearEnd\":" + jsonDateOrNull(fiscalYearEnd) + "},\"generated\":"
           + (generated.isValid() ? runtime::jsonString(generated.toString(u"yyyy-MM-ddTHH:mm:ss"_s)) : QByteArray("null"));
}

} // namespace zelvan::report
