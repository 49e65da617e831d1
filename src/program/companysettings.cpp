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

QString numberFormatFor(qint32 decimals)
{
    QString format = QStringLiteral("#,##0");
    for (qint32 i = 1; i <= decimals; ++i) {
        if (i == 1)
            format += u'.';
        format += u'0';
    }
    return format;
}

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

// Text kept without the blanks at either end; NULL can't be held.
QString trimmedText(const Variant &value)
{
    return value.toString().trimmed();
}

void readSettings(Program &program, database::Recordset &rs)
{
    Degiskenler &v = program.vars;
    const auto field = [&rs](const char16_t *name) -> const Variant & { return rs.field(QString::fromUtf16(name)); };

    // Blanks trimmed, then rounded down; the only column not rounded to even.
    v.sysfrm_ID = Variant::string(trimmedText(field(u"sysfrm_ID"))).intPart().toInteger();
    v.sysfrm_nm = trimmedText(field(u"sysfrm_nm"));
    // Read only when there: a row without it is no reason to offer the updater.
    if (rs.fieldIndex(QStringLiteral("sysfrm_kd")) >= 0)
        v.sysfrm_kd = trimmedText(field(u"sysfrm_kd"));
    v.Mali_Yil_Baslangic = field(u"Mali_Yil_Baslangic").toDateTime();
    v.Mali_Yil_Bitis = field(u"Mali_Yil_Bitis").toDateTime();
    v.AnaParaVirgul = field(u"AnaParaVirgul").toLong();
    v.AmountFormat = numberFormatFor(v.AnaParaVirgul);
    v.BirimFiyatVirGul = field(u"BirimFiyatVirGul").toLong();
    v.UnitPriceFormat = numberFormatFor(v.BirimFiyatVirGul);
    v.DovizVirgul = field(u"DovizVirgul").toLong();
    v.ForeignAmountFormat = numberFormatFor(v.DovizVirgul);
    v.DovizBirimFiyatVirgul = field(u"DovizBirimFiyatVirgul").toLong();
    v.ForeignUnitPriceFormat = numberFormatFor(v.DovizBirimFiyatVirgul);
    v.KurVirgul = field(u"KurVirgul").toLong();
    v.RateFormat = numberFormatFor(v.KurVirgul);
    v.DovizVar = field(u"DovizVar").toBool();
    v.RenkBedenVar = field(u"RenkBedenVar").toBool();
    v.PosVar = field(u"PosVar").toBool();
    v.BarkodVar = field(u"BarkodVar").toBool();
    v.HareketKilit = field(u"HareketKilit").toBool();
    v.OzelRenkli = field(u"OzelRenkli").toByte();
    v.Renk_Ozel = field(u"Renk_Ozel").toLong();
    v.Renk_TL = field(u"Renk_TL").toLong();
    v.Renk_Doviz = field(u"Renk_Doviz").toLong();
    v.SatirISK_Dahil = field(u"SatirISK_Dahil").toBool();
    v.FaturaAltiISK_Dahil = field(u"FaturaAltiISK_Dahil").toBool();
    v.Masraflar_Dahil = field(u"Masraflar_Dahil").toBool();
    v.StokMinSeviye = field(u"StokMinSeviye").toByte();
    v.StokMinRenk = field(u"StokMinRenk").toLong();
    v.StokMaxSeviye = field(u"StokMaxSeviye").toByte();
    v.StokMaxRenk = field(u"StokMaxRenk").toLong();
    v.StokSFRSeviye = field(u"StokSFRSeviye").toByte();
    v.StokSFRRenk = field(u"StokSFRRenk").toLong();
    v.StokSeviyeOzelKontrol = field(u"StokSeviyeOzelKontrol").toCurrency();
    v.KDV_Dahildir = field(u"KDV_Dahildir").toBool();

    if (differsFromEmptyText(field(u"DefKDV")))
        v.DefKDV = field(u"DefKDV").toCurrency();
    if (!field(u"KrediLimiti").isNull())
        v.KrediLimiti = field(u"KrediLimiti").toCurrency();
    else
        v.KrediLimiti = runtime::Currency();
    if (differsFromEmptyText(field(u"KasaHareketListeTipi")))
        v.KasaHareketListeTipi = field(u"KasaHareketListeTipi").toInteger();
    else
        v.KasaHareketListeTipi = 1;
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
