#include "platform/currency.h"
#include "support/popplertools.h"
#include "support/testinstance.h"
#include "support/zelvanrun.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString LeftTotal = u"sirketin_genel_borçları_toplamı"_s;
const QString RightTotal = u"sirketin_genel_alacakları_toplamı"_s;

// Ten-thousandths of an amount written as plain decimal text.
qint64 raw(const QJsonObject &values, const QString &field)
{
    const auto amount = platform::Currency::parse(values.value(field).toString());
    return amount ? amount->raw() : std::numeric_limits<qint64>::min();
}

// The figures that are plain sums, as the sqlite3 shell computes them
// itself: column, table and filter.
struct PlainSum
{
    QString field;
    QString column;
    QString from;
};
const QList<PlainSum> PlainSums = {
    {u"kesilen_Cekler"_s, u"Borc"_s, u"CEKKART WHERE Durum='Kendi Çekimiz'"_s},
    {u"Verilen_Senetler"_s, u"Borc"_s, u"SENETKART WHERE Durum='Kendi Senedimiz'"_s},
    {u"Acık_hesaptan_Alacaklılar"_s, u"Bakiye"_s, u"CB WHERE Bakiye<0"_s},
    {u"porfoydeki_cekler"_s, u"Alacak"_s, u"CEKKART WHERE Durum='Portföyde'"_s},
    {u"porfoydeki_senetler"_s, u"Alacak"_s, u"SENETKART WHERE Durum='Portföyde'"_s},
    {u"bankadaki_cekler"_s, u"Alacak"_s, u"CEKKART WHERE Durum IN ('Bankada Tahsilde','Bankada Teminatta')"_s},
    {u"bankadaki_senetler"_s, u"Alacak"_s, u"SENETKART WHERE Durum IN ('Bankada Tahsilde','Bankada Teminatta')"_s},
    {u"parcalı_ceklerın_kalanları"_s, u"Kalan"_s, u"CEKPARCALISONUC"_s},
    {u"Parcalı_senetlerin_klalanları"_s, u"Kalan"_s, u"SENETPARCALISONUC"_s},
    {u"Karsılıksız_cekler"_s, u"Alacak"_s, u"CEKKART WHERE Durum='Karşılıksız'"_s},
    {u"Karsılıksız_senetler"_s, u"Alacak"_s, u"SENETKART WHERE Durum='Karşılıksız'"_s},
    {u"hesaba_aktarılmamıs_pos_toplamı"_s, u"Hesaba_Gececek_Tutar"_s, u"POSHAREKET WHERE Hesaba_Aktarildi=0"_s},
    {u"banaka_bakiyeleri_toplamı"_s, u"Bakiye"_s, u"BB WHERE Hesap_ID>0"_s},
    {u"Kasa_bakiyeleri_toplamı"_s, u"Bakiye"_s, u"KB"_s},
    {u"acık_hesaptakı_boırclar"_s, u"Bakiye"_s, u"CB WHERE Bakiye>0"_s},
};
const QStringList LeftFields = {u"kesilen_Cekler"_s, u"Verilen_Senetler"_s, u"Acık_hesaptan_Alacaklılar"_s};

} // namespace

class TestReportRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void jsonValuesAgreeWithTheDatabase();
    void pdfAndPng();
    void jsonAndPdfTogether();
    void pdfInMissingFolder();
    void instanceUnchangedByAllRuns();

private:
    test::ZelvanRun run(const QStringList &options, const QString &instance = QString()) const;
    QJsonObject jsonOf(const test::ZelvanRun &run) const;

    QTemporaryDir m_instance;
    QTemporaryDir m_work;
    QByteArray m_digest;
    QString m_registry;
};

void TestReportRun::initTestCase()
{
    QProcess demo;
    demo.start(test::binaryPath(u"zelvan-demo"_s), {m_instance.path()});
    QVERIFY(demo.waitForFinished(300000));
    QCOMPARE(demo.exitCode(), 0);
    m_digest = test::directoryDigest(m_instance.path());
    m_registry = m_work.filePath(u"registry.reg"_s);
    test::writeRegistry(m_registry);
}

test::ZelvanRun TestReportRun::run(const QStringList &options, const QString &instance) const
{
    const QString line = u"NRV_DEMO_2026|%1|1|norvent|Zelvan2026"_s.arg(instance.isEmpty() ? m_instance.path() : instance);
    return test::runZelvan(options + QStringList{u"--"_s, line}, test::runEnvironment(m_registry));
}

QJsonObject TestReportRun::jsonOf(const test::ZelvanRun &run) const
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    return error.error == QJsonParseError::NoError ? document.object() : QJsonObject();
}

void TestReportRun::jsonValuesAgreeWithTheDatabase()
{
    if (QStandardPaths::findExecutable(u"sqlite3"_s).isEmpty())
        QSKIP("the sqlite3 shell is not installed");
    const test::ZelvanRun result = run({u"--json"_s});
    QVERIFY2(!result.crashed, result.err.constData());
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.messages.isEmpty(), result.err.constData());
    const QJsonObject json = jsonOf(result);
    QCOMPARE(json.value(u"title"_s).toString(), u"ZELVAN RAPORU"_s);
    const QJsonObject fields = json.value(u"fields"_s).toObject();
    const QJsonObject values = json.value(u"values"_s).toObject();
    QCOMPARE(fields.size(), 20);
    QCOMPARE(values.size(), 18);
    QVERIFY(QRegularExpression(u"^\\d\\d\\.\\d\\d\\.\\d{4}$"_s).match(fields.value(u"tarih"_s).toString()).hasMatch());
    QVERIFY(QRegularExpression(u"^\\d\\d:\\d\\d:\\d\\d$"_s).match(fields.value(u"saat"_s).toString()).hasMatch());

    // Sums in whole ten-thousandths, so that the shell adds integers exactly.
    QStringList selects;
    for (const PlainSum &sum : PlainSums)
        selects << u"(SELECT ABS(COALESCE(SUM(CAST(ROUND(%1*10000) AS INTEGER)), 0)) FROM %2)"_s.arg(sum.column, sum.from);
    QProcess shell;
    shell.start(u"sqlite3"_s, {u"-readonly"_s, u"-separator"_s, u" "_s,
                               QDir(m_instance.path()).filePath(u"NRV_DEMO_2026.sqlite"_s),
                               u"SELECT "_s + selects.join(u", "_s)});
    QVERIFY(shell.waitForFinished(60000));
    const QStringList sums = QString::fromUtf8(shell.readAllStandardOutput()).trimmed().split(u' ');
    QCOMPARE(sums.size(), PlainSums.size());
    int nonZero = 0;
    for (int i = 0; i < PlainSums.size(); ++i) {
        QCOMPARE(raw(values, PlainSums[i].field), sums[i].toLongLong());
        nonZero += sums[i] != u"0";
    }
    QVERIFY(nonZero >= 10);   // the demo fills nearly every figure

    qint64 left = 0;
    qint64 right = 0;
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (it.key() == LeftTotal || it.key() == RightTotal)
            continue;
        (LeftFields.contains(it.key()) ? left : right) += raw(values, it.key());
    }
    QVERIFY(raw(values, u"toplam_Stok_degeri"_s) > 0);
    QCOMPARE(raw(values, LeftTotal), left);
    QCOMPARE(raw(values, RightTotal), right);
}

void TestReportRun::pdfAndPng()
{
    const QString pdf = m_work.filePath(u"rapor.pdf"_s);
    const QString png = m_work.filePath(u"rapor.png"_s);
    const test::ZelvanRun result = run({u"--pdf"_s, pdf, u"--png"_s, png});
    QVERIFY2(!result.crashed, result.err.constData());
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.out.isEmpty());

    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(5), QByteArray("%PDF-"));
    if (test::popplerAvailable())
        QVERIFY(test::runPoppler(u"pdftotext"_s, {pdf, u"-"_s}).contains(u"ZELVAN RAPORU"_s));
    QImageReader image(png);
    QCOMPARE(image.format(), QByteArray("png"));
    QCOMPARE(image.size(), QSize(1275, 1650));
}

void TestReportRun::jsonAndPdfTogether()
{
    const QString pdf = m_work.filePath(u"birlikte.pdf"_s);
    const test::ZelvanRun result = run({u"--json"_s, u"--pdf"_s, pdf});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(jsonOf(result).value(u"title"_s).toString(), u"ZELVAN RAPORU"_s);
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(5), QByteArray("%PDF-"));
}

void TestReportRun::pdfInMissingFolder()
{
    const QString pdf = m_work.filePath(u"yok/rapor.pdf"_s);
    const test::ZelvanRun result = run({u"--pdf"_s, pdf});
    QVERIFY(!result.crashed);
    QCOMPARE(result.exitCode, 9);
    QCOMPARE(result.messages.size(), 1);
    QCOMPARE(result.messages[0].value(u"icon"_s).toString(), u"critical"_s);
    QVERIFY(!QFile::exists(pdf));
}

void TestReportRun::instanceUnchangedByAllRuns()
{
    QCOMPARE(test::directoryDigest(m_instance.path()), m_digest);
}

QTEST_GUILESS_MAIN(TestReportRun)
#include "tst_reportrun.moc"
