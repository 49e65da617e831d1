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

// The figures that are plain sums as the sqlite3 shell computes them: field, column, table and filter.
const QList<std::array<QString, 3>> PlainSums = {
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
const QString LeftTotal = u"sirketin_genel_borçları_toplamı"_s;
const QString RightTotal = u"sirketin_genel_alacakları_toplamı"_s;

} // namespace

class TestReportRun : public QObject
{
    Q_OBJECT

    QTemporaryDir m_instance;
    QTemporaryDir m_work;
    QByteArray m_digest;

    test::ZelvanRun run(const QStringList &options) const
    {
        return test::runZelvan(options + QStringList{u"--"_s, u"NRV_DEMO_2026|%1|1|norvent|Zelvan2026"_s.arg(m_instance.path())},
                               test::runEnvironment(m_work.filePath(u"registry.reg"_s)));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QProcess demo;
        demo.start(test::binaryPath(u"zelvan-demo"_s), {m_instance.path()});
        QVERIFY(demo.waitForFinished(300000));
        QCOMPARE(demo.exitCode(), 0);
        m_digest = test::directoryDigest(m_instance.path());
        test::writeRegistry(m_work.filePath(u"registry.reg"_s));
    }

    // One run writes the JSON, the PDF and the PNG; the JSON's amounts are the database's sums.
    void jsonPdfAndPng()
    {
        const QString pdf = m_work.filePath(u"rapor.pdf"_s);
        const QString png = m_work.filePath(u"rapor.png"_s);
        const test::ZelvanRun result = run({u"--json"_s, u"--pdf"_s, pdf, u"--png"_s, png});
        QVERIFY2(!result.crashed && result.exitCode == 0 && result.messages.isEmpty(), result.err.constData());
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(5), QByteArray("%PDF-"));
        if (test::popplerAvailable())
            QVERIFY(test::runPoppler(u"pdftotext"_s, {pdf, u"-"_s}).contains(u"ZELVAN RAPORU"_s));
        QImageReader image(png);
        QCOMPARE(image.format(), QByteArray("png"));
        QCOMPARE(image.size(), QSize(1275, 1650));

        const QJsonObject json = QJsonDocument::fromJson(result.out).object();
        QCOMPARE(json.value(u"title"_s).toString(), u"ZELVAN RAPORU"_s);
        const QJsonObject fields = json.value(u"fields"_s).toObject();
        const QJsonObject values = json.value(u"values"_s).toObject();
        QCOMPARE((QList<qsizetype>{fields.size(), values.size()}), (QList<qsizetype>{20, 18}));
        QVERIFY(QRegularExpression(u"^\\d\\d\\.\\d\\d\\.\\d{4}$"_s).match(fields.value(u"tarih"_s).toString()).hasMatch());
        QVERIFY(QRegularExpression(u"^\\d\\d:\\d\\d:\\d\\d$"_s).match(fields.value(u"saat"_s).toString()).hasMatch());
        // Ten-thousandths of each amount.
        QHash<QString, qint64> raw;
        for (auto it = values.begin(); it != values.end(); ++it) {
            const auto amount = platform::Currency::parse(it.value().toString());
            raw.insert(it.key(), amount ? amount->raw() : std::numeric_limits<qint64>::min());
        }
        const QStringList leftFields{u"kesilen_Cekler"_s, u"Verilen_Senetler"_s, u"Acık_hesaptan_Alacaklılar"_s};
        qint64 sides[2] = {0, 0};
        for (auto it = raw.cbegin(); it != raw.cend(); ++it) {
            if (it.key() != LeftTotal && it.key() != RightTotal)
                sides[leftFields.contains(it.key()) ? 0 : 1] += it.value();
        }
        QCOMPARE((QList<qint64>{raw[LeftTotal], raw[RightTotal]}), (QList<qint64>{sides[0], sides[1]}));
        QVERIFY(raw[u"toplam_Stok_degeri"_s] > 0);

        if (QStandardPaths::findExecutable(u"sqlite3"_s).isEmpty())
            QSKIP("the sqlite3 shell is not installed");
        // Sums in whole ten-thousandths, so that the shell adds integers exactly.
        QStringList selects;
        for (const auto &[field, column, from] : PlainSums)
            selects << u"(SELECT ABS(COALESCE(SUM(CAST(ROUND(%1*10000) AS INTEGER)), 0)) FROM %2)"_s.arg(column, from);
        QProcess shell;
        shell.start(u"sqlite3"_s, {u"-readonly"_s, u"-separator"_s, u" "_s,
                                   QDir(m_instance.path()).filePath(u"NRV_DEMO_2026.sqlite"_s), u"SELECT "_s + selects.join(u", "_s)});
        QVERIFY(shell.waitForFinished(60000));
        const QStringList sums = QString::fromUtf8(shell.readAllStandardOutput()).trimmed().split(u' ');
        QCOMPARE(sums.size(), PlainSums.size());
        for (int i = 0; i < PlainSums.size(); ++i)
            QCOMPARE(raw[PlainSums[i][0]], sums[i].toLongLong());
        QVERIFY(sums.count(u"0"_s) <= 5);   // the demo fills nearly every figure
    }

    void pdfInMissingFolder()
    {
        const QString pdf = m_work.filePath(u"yok/rapor.pdf"_s);
        const test::ZelvanRun result = run({u"--pdf"_s, pdf});
        QVERIFY(!result.crashed);
        QCOMPARE(result.exitCode, 9);
        QCOMPARE(result.messages.size(), 1);
        QCOMPARE(result.messages[0].value(u"icon"_s).toString(), u"critical"_s);
        QVERIFY(!QFile::exists(pdf));
    }

    void instanceUnchangedByAllRuns() { QCOMPARE(test::directoryDigest(m_instance.path()), m_digest); }
};

QTEST_GUILESS_MAIN(TestReportRun)
#include "tst_reportrun.moc"
