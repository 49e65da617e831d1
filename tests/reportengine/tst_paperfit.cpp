#include "reportengine/paperfit.h"

#include <QTest>

using namespace zelvan::reportengine;

// Sizes in points.
class TestPaperFit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scale_data()
    {
        QTest::addColumn<QSizeF>("paper");
        QTest::addColumn<qreal>("scale");
        QTest::newRow("Letter: its own size") << QSizeF(612, 792) << 1.0;
        QTest::newRow("A3, larger: never up") << QSizeF(841.89, 1190.55) << 1.0;
        QTest::newRow("A4, narrower: down by the width") << QSizeF(595.276, 841.89) << 595.276 / 612;
        QTest::newRow("A4 landscape: down by the height") << QSizeF(841.89, 595.276) << 595.276 / 792;
        QTest::newRow("no paper known") << QSizeF() << 1.0;
    }
    void scale()
    {
        QFETCH(QSizeF, paper);
        QTEST(paperFitScale(QSizeF(612, 792), paper), "scale");
    }
};

QTEST_APPLESS_MAIN(TestPaperFit)
#include "tst_paperfit.moc"
