#include "program/companysettings.h"

#include "database/recordset.h"
#include "platform/endnow.h"
#include "platform/messageboxes.h"
#include "platform/processlauncher.h"
#include "program/exitcodes.h"
#include "program/openrecordset.h"
#include "program/program.h"
#include "runtime/err.h"

#include <QDir>

namespace zelvan::program {

using runtime::Variant;

namespace {

// `value <> ""` as the old code tests it: NULL is never different, text is
// different when not empty, and a number always differs from the empty text.
bool differsFromEmptyText(const Variant &value)
{
    if (value.isNull())
        return false;
    if (value.type() == Variant::Type::String)
        return !value.stringValue().isEmpty();
    if (value.isEmpty())
        return false;
    return true;
}

// How a column of the company's row must convert. The old program loaded
// every column into its record; this report uses only the id, but a column
// that is missing or does not convert still ends the run as it did there.
enum class Conversion { Text, Date, Long, Boolean, Byte, Currency, Integer };

// When a column goes unconverted: DefKDV and KasaHareketListeTipi only
// convert when they differ from "", KrediLimiti only when it is not NULL.
enum class Unless { Never, Null, EmptyText };

struct SettingColumn
{
    const char16_t *name;
    Conversion conversion;
    Unless unless = Unless::Never;
};

// In the old program's order: the first column that fails decides the message.
constexpr SettingColumn CheckedColumns[] = {
    {u"sysfrm_nm", Conversion::Text},
    {u"Mali_Yil_Baslangic", Conversion::Date},
    {u"Mali_Yil_Bitis", Conversion::Date},
    {u"AnaParaVirgul", Conversion::Long},
    {u"BirimFiyatVirGul", Conversion::Long},
    {u"DovizVirgul", Conversion::Long},
    {u"DovizBirimFiyatVirgul", Conversion::Long},
    {u"KurVirgul", Conversion::Long},
    {u"DovizVar", Conversion::Boolean},
    {u"RenkBedenVar", Conversion::Boolean},
    {u"PosVar", Conversion::Boolean},
    {u"BarkodVar", Conversion::Boolean},
    {u"HareketKilit", Conversion::Boolean},
    {u"OzelRenkli", Conversion::Byte},
    {u"Renk_Ozel", Conversion::Long},
    {u"Renk_TL", Conversion::Long},
    {u"Renk_Doviz", Conversion::Long},
    {u"SatirISK_Dahil", Conversion::Boolean},
    {u"FaturaAltiISK_Dahil", Conversion::Boolean},
    {u"Masraflar_Dahil", Conversion::Boolean},
    {u"StokMinSeviye", Conversion::Byte},
    {u"StokMinRenk", Conversion::Long},
    {u"StokMaxSeviye", Conversion::Byte},
    {u"StokMaxRenk", Conversion::Long},
    {u"StokSFRSeviye", Conversion::Byte},
    {u"StokSFRRenk", Conversion::Long},
    {u"StokSeviyeOzelKontrol", Conversion::Currency},
    {u"KDV_Dahildir", Conversion::Boolean},
    {u"DefKDV", Conversion::Currency, Unless::EmptyText},
    {u"KrediLimiti", Conversion::Currency, Unless::Null},
    {u"KasaHareketListeTipi", Conversion::Integer, Unless::EmptyText},
};

// Converts the value for the errors alone: the result is not kept.
void checkConversion(const Variant &value, const SettingColumn &column)
{
    if ((column.unless == Unless::Null && value.isNull())
        || (column.unless == Unless::EmptyText && !differsFromEmptyText(value)))
        return;
    switch (column.conversion) {
    case Conversion::Text: value.toString(); break;
    case Conversion::Date: value.toDate(); break;
    case Conversion::Long: value.toLong(); break;
    case Conversion::Boolean: value.toBool(); break;
    case Conversion::Byte: value.toByte(); break;
    case Conversion::Currency: value.toCurrency(); break;
    case Conversion::Integer: value.toInteger(); break;
    }
}

void readSettings(Program &program, database::Recordset &rs)
{
    const auto field = [&rs](const char16_t *name) -> const Variant & { return rs.field(QString::fromUtf16(name)); };
    // Blanks trimmed, then rounded down; the only column not rounded to even.
    program.vars.sysfrm_ID = Variant::string(field(u"sysfrm_ID").toString().trimmed()).intPart().toInteger();
    for (const SettingColumn &column : CheckedColumns)
        checkConversion(field(column.name), column);
}

[[noreturn]] void offerUpdater(Program &program)
{
    using namespace platform;
    const int answer = program.msgBox(
        QStringLiteral(u"Norvent Tanımlama VeriTabanında Eksik Alanara Rastladı. güncelleştirme Çalıştırmak Gerekebilir.")
            + u'\r'
            + QStringLiteral(u"Şimdi Güncelleme Çalıştırmak İstiyormusunuz?.")
            + QStringLiteral(u"Lütfen Bu İşlemi program Satıcınıza Danışmadan Onaylamayınız."),
        platform::MsgBox::YesNo | platform::MsgBox::Question);
    if (answer == platform::MsgBox::Yes) {
        const QString updater = QDir(program.services.programDir).filePath(QStringLiteral("Verkon.exe"));
        if (program.services.launcher->isOrdinaryFile(updater)) {
            program.services.launcher->startDetached(updater);
        } else {
            program.msgBox(QStringLiteral(u"Sistem Bu Haliyle Çalışamaz Durumda ve Veritabanı Konfigürasyon Dosyasına "
                                          u"Ulaşılamadı.")
                               + u'\r' + QStringLiteral(u"Lütfen Pogram Satıcınızla Görüşünüz."),
                           platform::MsgBox::OkOnly);
        }
    }
    program.end(ExitCode::CompanySettings);
}

} // namespace

void LoadCompanySettings(Program &program)
{
    QString failure;
    try {
        database::Recordset rs;
        OpenRecordset(program,
                      rs,
                      QStringLiteral("SELECT * FROM Defination_DB.dbo.sysfrmlng WHERE sysfrm_dbnm='")
                          + program.vars.DatabaseName + u'\'');
        readSettings(program, rs);
        return;
    } catch (const runtime::Err &e) {
        if (e.number() == runtime::ErrNo::ItemNotFound)
            offerUpdater(program);
        failure = e.description();
    } catch (const std::exception &e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    program.msgBox(QStringLiteral(u"Norvent Tanımlam Veritabanıyla İlgili Bir Hata Tespit Etti. Sistem Bu Haliye "
                                  u"Çalışmaz.Bunun İçin Özür Dileriz. Lütfen Program Satıcınızla Görüşünüz."),
                   platform::MsgBox::Information,
                   QStringLiteral("Norvent:") + failure);
    program.end(program::ExitCode::CompanySettings);
}

} // namespace zelvan::program
