#include "platform/qttranslations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

class TestQtTranslations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A folder without Qt's catalogues is passed over; the standard texts then come in Turkish.
    void standardTextsInTurkish_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("turkish");
        QTest::newRow("print dialog") << u"QPrintDialog"_s << u"Print"_s << u"Yazdır"_s;
        QTest::newRow("file dialog") << u"QFileDialog"_s << u"Save As"_s << u"Farklı Kaydet"_s;
    }
    void standardTextsInTurkish()
    {
        QFETCH(QString, context);
        QFETCH(QString, english);
        QTemporaryDir empty;
        QVERIFY(platform::installQtTranslations(*qApp, QStringList{empty.path()} + platform::qtTranslationFolders()));
        QTEST(QCoreApplication::translate(qPrintable(context), qPrintable(english)), "turkish");
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), u"İptal"_s);
    }

    void noCatalogue()
    {
        QTemporaryDir empty;
        QVERIFY(!platform::installQtTranslations(*qApp, {empty.path()}));
    }
};

QTEST_MAIN(TestQtTranslations)
#include "tst_qttranslations.moc"
