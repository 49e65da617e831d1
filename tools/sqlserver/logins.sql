-- Read-only logins of the demo, each a user of every demo database. sa is the
-- server's own administrator and is left alone.
-- Written by zelvan-demo.
SET NOCOUNT ON;
GO
USE [master];
GO
IF SUSER_ID(N'norvent') IS NULL
    CREATE LOGIN [norvent] WITH PASSWORD = N'Zelvan2026', CHECK_POLICY = OFF, DEFAULT_DATABASE = [Defination_DB];
GO
IF SUSER_ID(N'rapor') IS NULL
    CREATE LOGIN [rapor] WITH PASSWORD = N'', CHECK_POLICY = OFF, DEFAULT_DATABASE = [Defination_DB];
GO
IF SUSER_ID(N'ayşe') IS NULL
    CREATE LOGIN [ayşe] WITH PASSWORD = N'ayse1', CHECK_POLICY = OFF, DEFAULT_DATABASE = [Defination_DB];
GO
IF SUSER_ID(N'mehmet') IS NULL
    CREATE LOGIN [mehmet] WITH PASSWORD = N'', CHECK_POLICY = OFF, DEFAULT_DATABASE = [Defination_DB];
GO
IF SUSER_ID(N'ismail') IS NULL
    CREATE LOGIN [ismail] WITH PASSWORD = N'9876', CHECK_POLICY = OFF, DEFAULT_DATABASE = [Defination_DB];
GO
USE [Defination_DB];
GO
IF USER_ID(N'norvent') IS NULL
    CREATE USER [norvent] FOR LOGIN [norvent];
GO
ALTER ROLE db_datareader ADD MEMBER [norvent];
GO
IF USER_ID(N'rapor') IS NULL
    CREATE USER [rapor] FOR LOGIN [rapor];
GO
ALTER ROLE db_datareader ADD MEMBER [rapor];
GO
IF USER_ID(N'ayşe') IS NULL
    CREATE USER [ayşe] FOR LOGIN [ayşe];
GO
ALTER ROLE db_datareader ADD MEMBER [ayşe];
GO
IF USER_ID(N'mehmet') IS NULL
    CREATE USER [mehmet] FOR LOGIN [mehmet];
GO
ALTER ROLE db_datareader ADD MEMBER [mehmet];
GO
IF USER_ID(N'ismail') IS NULL
    CREATE USER [ismail] FOR LOGIN [ismail];
GO
ALTER ROLE db_datareader ADD MEMBER [ismail];
GO
USE [NRV_DEMO_2026];
GO
IF USER_ID(N'norvent') IS NULL
    CREATE USER [norvent] FOR LOGIN [norvent];
GO
ALTER ROLE db_datareader ADD MEMBER [norvent];
GO
IF USER_ID(N'rapor') IS NULL
    CREATE USER [rapor] FOR LOGIN [rapor];
GO
ALTER ROLE db_datareader ADD MEMBER [rapor];
GO
IF USER_ID(N'ayşe') IS NULL
    CREATE USER [ayşe] FOR LOGIN [ayşe];
GO
ALTER ROLE db_datareader ADD MEMBER [ayşe];
GO
IF USER_ID(N'mehmet') IS NULL
    CREATE USER [mehmet] FOR LOGIN [mehmet];
GO
ALTER ROLE db_datareader ADD MEMBER [mehmet];
GO
IF USER_ID(N'ismail') IS NULL
    CREATE USER [ismail] FOR LOGIN [ismail];
GO
ALTER ROLE db_datareader ADD MEMBER [ismail];
GO
USE [NRV_ORNEK_2026];
GO
IF USER_ID(N'norvent') IS NULL
    CREATE USER [norvent] FOR LOGIN [norvent];
GO
ALTER ROLE db_datareader ADD MEMBER [norvent];
GO
IF USER_ID(N'rapor') IS NULL
    CREATE USER [rapor] FOR LOGIN [rapor];
GO
ALTER ROLE db_datareader ADD MEMBER [rapor];
GO
IF USER_ID(N'ayşe') IS NULL
    CREATE USER [ayşe] FOR LOGIN [ayşe];
GO
ALTER ROLE db_datareader ADD MEMBER [ayşe];
GO
IF USER_ID(N'mehmet') IS NULL
    CREATE USER [mehmet] FOR LOGIN [mehmet];
GO
ALTER ROLE db_datareader ADD MEMBER [mehmet];
GO
IF USER_ID(N'ismail') IS NULL
    CREATE USER [ismail] FOR LOGIN [ismail];
GO
ALTER ROLE db_datareader ADD MEMBER [ismail];
GO
