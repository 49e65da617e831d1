-- The demo database Defination_DB on a SQL Server.
-- Written by zelvan-demo.
SET NOCOUNT ON;
GO
IF DB_ID(N'Defination_DB') IS NULL
    CREATE DATABASE [Defination_DB] COLLATE Turkish_CI_AS;
GO
USE [Defination_DB];
GO

DROP TABLE IF EXISTS sysuslng;
CREATE TABLE sysuslng (
    sysus_ID INT PRIMARY KEY,
    sysus_nm NVARCHAR(26),
    sysus NVARCHAR(50)
);
GO
INSERT INTO sysuslng (sysus_ID,sysus_nm,sysus) VALUES
(1,N'NORVENT',N'µÌÛğÇâkhmv'),
(2,N'AYŞE',N'ÃôéÎg'),
(3,N'MEHMET',N''),
(4,N'İSMAİL',N'srqp');
GO

DROP TABLE IF EXISTS sysfrmlng;
CREATE TABLE sysfrmlng (
    sysfrm_ID INT PRIMARY KEY,
    sysfrm_nm NVARCHAR(50),
    sysfrm_kd NVARCHAR(10),
    sysfrm_dbnm NVARCHAR(50),
    Mali_Yil_Baslangic DATETIME,
    Mali_Yil_Bitis DATETIME,
    AnaParaVirgul INT,
    BirimFiyatVirGul INT,
    DovizVirgul INT,
    DovizBirimFiyatVirgul INT,
    KurVirgul INT,
    DovizVar BIT,
    RenkBedenVar BIT,
    PosVar BIT,
    BarkodVar BIT,
    HareketKilit BIT,
    OzelRenkli TINYINT,
    Renk_Ozel INT,
    Renk_TL INT,
    Renk_Doviz INT,
    SatirISK_Dahil BIT,
    FaturaAltiISK_Dahil BIT,
    Masraflar_Dahil BIT,
    StokMinSeviye TINYINT,
    StokMinRenk INT,
    StokMaxSeviye TINYINT,
    StokMaxRenk INT,
    StokSFRSeviye TINYINT,
    StokSFRRenk INT,
    StokSeviyeOzelKontrol MONEY,
    KDV_Dahildir BIT,
    DefKDV MONEY,
    KrediLimiti MONEY,
    KasaHareketListeTipi SMALLINT
);
GO
INSERT INTO sysfrmlng (sysfrm_ID,sysfrm_nm,sysfrm_kd,sysfrm_dbnm,Mali_Yil_Baslangic,Mali_Yil_Bitis,AnaParaVirgul,BirimFiyatVirGul,DovizVirgul,DovizBirimFiyatVirgul,KurVirgul,DovizVar,RenkBedenVar,PosVar,BarkodVar,HareketKilit,OzelRenkli,Renk_Ozel,Renk_TL,Renk_Doviz,SatirISK_Dahil,FaturaAltiISK_Dahil,Masraflar_Dahil,StokMinSeviye,StokMinRenk,StokMaxSeviye,StokMaxRenk,StokSFRSeviye,StokSFRRenk,StokSeviyeOzelKontrol,KDV_Dahildir,DefKDV,KrediLimiti,KasaHareketListeTipi) VALUES
(1,N'Demo Ticaret A.Ş.',N'DT01',N'NRV_DEMO_2026','20260101 00:00:00','20261231 00:00:00',2,4,2,4,4,1,0,1,1,0,1,255,0,16711680,1,1,0,10,33023,250,32768,0,255,0,0,20,250000,NULL),
(2,N'Örnek Gıda Ltd. Şti.',N'OG02',N'NRV_ORNEK_2026','20260101 00:00:00','20261231 00:00:00',2,4,2,4,4,0,0,1,1,1,0,128,0,16711680,1,0,0,5,33023,100,32768,0,255,0.5,1,NULL,NULL,3);
GO

DROP TABLE IF EXISTS sysusfrmlng;
CREATE TABLE sysusfrmlng (
    sysus_ID INT,
    sysfrm_ID INT,
    PRIMARY KEY (sysus_ID, sysfrm_ID)
);
GO
INSERT INTO sysusfrmlng (sysus_ID,sysfrm_ID) VALUES
(1,1),
(1,2),
(2,1),
(4,2);
GO

DROP TABLE IF EXISTS Kullanici;
CREATE TABLE Kullanici (
    Kullanici_ID INT,
    Firma_ID INT,
    CARR BIT,
    CARB BIT,
    STKR BIT,
    FATR BIT,
    PRIMARY KEY (Firma_ID, Kullanici_ID)
);
GO
INSERT INTO Kullanici (Kullanici_ID,Firma_ID,CARR,CARB,STKR,FATR) VALUES
(1,1,1,1,1,1),
(1,2,1,1,1,1),
(2,1,0,1,1,0),
(4,2,1,NULL,0,1),
(5,1,1,0,1,1);
GO
