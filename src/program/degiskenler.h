#pragma once

#include "database/connection.h"
#include "database/recordset.h"
#include "runtime/currency.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>

namespace zelvan::program {

// The program record: everything that lives for the whole run.
struct Degiskenler
{
    // The fields of the launch line; entry 1 is LaunchParams[1] (index 0 unused).
    QStringList LaunchParams;

    QString DatabaseName;
    QString ServerName;
    qint32 UserId = 0;
    QString DbUserName;
    QString DbPassword;

    std::shared_ptr<database::Connection> DbConnection;
    std::shared_ptr<database::Recordset> SharedRecordset;

    QString RightColumn1;
    QString RightColumn2;
    bool ReportAllowed = false;

    qint16 sysfrm_ID = 0;
    QString ComputerName;
    QString RegionalMismatch;

    // The company's working settings (row of Defination_DB.dbo.sysfrmlng).
    QString sysfrm_nm;
    // The company's code: not needed for the report, only to say whose report
    // it is (titles, file names, JSON). Empty when the row has no such column.
    QString sysfrm_kd;
    QDateTime Mali_Yil_Baslangic;
    QDateTime Mali_Yil_Bitis;
    qint32 AnaParaVirgul = 0;
    QString AmountFormat;
    qint32 BirimFiyatVirGul = 0;
    QString UnitPriceFormat;
    qint32 DovizVirgul = 0;
    QString ForeignAmountFormat;
    qint32 DovizBirimFiyatVirgul = 0;
    QString ForeignUnitPriceFormat;
    qint32 KurVirgul = 0;
    QString RateFormat;
    bool DovizVar = false;
    bool RenkBedenVar = false;
    bool PosVar = false;
    bool BarkodVar = false;
    bool HareketKilit = false;
    quint8 OzelRenkli = 0;
    qint32 Renk_Ozel = 0;
    qint32 Renk_TL = 0;
    qint32 Renk_Doviz = 0;
    bool SatirISK_Dahil = false;
    bool FaturaAltiISK_Dahil = false;
    bool Masraflar_Dahil = false;
    quint8 StokMinSeviye = 0;
    qint32 StokMinRenk = 0;
    quint8 StokMaxSeviye = 0;
    qint32 StokMaxRenk = 0;
    quint8 StokSFRSeviye = 0;
    qint32 StokSFRRenk = 0;
    runtime::Currency StokSeviyeOzelKontrol;
    bool KDV_Dahildir = false;
    runtime::Currency DefKDV;
    runtime::Currency KrediLimiti;
    qint16 KasaHareketListeTipi = 0;
};

} // namespace zelvan::program
