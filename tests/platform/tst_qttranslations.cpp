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
    void standardTextsInTurkish()
    {
        QTemporaryDir empty;
        QVERIFY(platform::installQtTranslations(*qApp, QStringList{empty.path()} + platform::qtTranslationFolders()));
        QCOMPARE(QCoreApplication::translate("QPrintDialog", "Print"), u"Yazdır"_s);
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), u"İptal"_s);
    }
};

QTEST_MAIN(TestQtTranslations)
#include "tst_qttranslations.moc"
