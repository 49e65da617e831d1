#include "login/navigation.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

constexpr int AllSelected = -1;  // a caret column that stands for the whole text selected

class TestNavigation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void navigate_data()
    {
        QTest::addColumn<QString>("map");
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<int>("caret");
        QTest::addColumn<bool>("edge");
        QTest::addColumn<QString>("expected");  // name(index) of the focused control; "source": no move

        const int Left = KeyCode::Left, Up = KeyCode::Up, Right = KeyCode::Right, Down = KeyCode::Down;
        QTest::newRow("Enter reads Down") << u"x;x;x;second"_s << int(KeyCode::Enter) << 0 << true << u"second"_s;
        QTest::newRow("name in another case") << u"x;x;x;SeCoNd"_s << Down << 0 << true << u"second"_s;
        QTest::newRow("Left from the start") << u"third;x;x;x"_s << Left << 0 << true << u"third"_s;
        QTest::newRow("Left inside the text") << u"third;x;x;x"_s << Left << 2 << true << u"source"_s;
        QTest::newRow("Left inside, no edge test") << u"third;x;x;x"_s << Left << 2 << false << u"third"_s;
        QTest::newRow("Left, all selected") << u"third;x;x;x"_s << Left << AllSelected << true << u"third"_s;
        QTest::newRow("Right from the end") << u"x;x;third;x"_s << Right << 4 << true << u"third"_s;
        QTest::newRow("Right, all selected") << u"x;x;third;x"_s << Right << AllSelected << true << u"source"_s;
        QTest::newRow("disabled, then the next") << u"x;x;x;Dis|third"_s << Down << 0 << true << u"third"_s;
        QTest::newRow("hidden, then the next") << u"x;x;x;Hid|third"_s << Down << 0 << true << u"third"_s;
        QTest::newRow("no such name stops") << u"x;x;x;ASD|third"_s << Down << 0 << true << u"source"_s;
        QTest::newRow("array element") << u"x;x;x;Arr(2)"_s << Down << 0 << true << u"Arr(2)"_s;
        QTest::newRow("element number rounded to even") << u"x;x;x;Arr( 1.5 )"_s << Down << 0 << true << u"Arr(2)"_s;
        QTest::newRow("no such element stops") << u"x;x;x;Arr(7)|third"_s << Down << 0 << true << u"source"_s;
        QTest::newRow("element number beyond 16 bits") << u"x;x;x;Arr(32768)|third"_s << Down << 0 << true << u"source"_s;
        QTest::newRow("element of no array") << u"x;x;x;second(1)"_s << Down << 0 << true << u"source"_s;
        QTest::newRow("inside a hidden panel") << u"x;x;x;Inner|third"_s << Down << 0 << true << u"third"_s;
        QTest::newRow("a label takes no focus") << u"x;x;x;Lbl|third"_s << Down << 0 << true << u"third"_s;
        QTest::newRow("empty field") << u"x;x;x;"_s << Down << 0 << true << u"source"_s;
        QTest::newRow("three fields, Down") << u"x;x;third"_s << Down << 0 << true << u"source"_s;
        QTest::newRow("two fields, Up") << u"x;third"_s << Up << 0 << true << u"third"_s;
        QTest::newRow("Down takes the rest of the map") << u"x;x;x;third;second"_s << Down << 0 << true << u"source"_s;
        QTest::newRow("other key") << u"x;x;x;second"_s << 65 << 0 << true << u"source"_s;
    }

    void navigate()
    {
        QFETCH(QString, map);
        QFETCH(int, keyCode);
        QFETCH(int, caret);
        QFETCH(bool, edge);
        QWidget form;
        const auto box = [&form](const QString &name, QWidget *in = nullptr) {
            auto *b = new QLineEdit(in ? in : &form);
            b->setObjectName(name);
            return b;
        };
        auto *source = box(u"source"_s);
        source->setText(u"abcd"_s);
        source->setProperty("Tag", map);
        box(u"second"_s);
        auto *panel = new QFrame(&form);
        box(u"third"_s, panel);
        for (int i = 0; i < 3; ++i)
            box(u"Arr"_s, panel)->setProperty("Index", i);
        box(u"Dis"_s)->setEnabled(false);
        box(u"Hid"_s)->hide();
        (new QLabel(u"L"_s, &form))->setObjectName(u"Lbl"_s);
        auto *hiddenPanel = new QFrame(&form);
        box(u"Inner"_s, hiddenPanel);
        hiddenPanel->hide();
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        source->setFocus();
        if (caret == AllSelected)
            source->selectAll();
        else
            source->setCursorPosition(caret);
        NavigateByTag(&form, keyCode, source, edge);
        QWidget *focused = form.focusWidget();
        QVERIFY(focused);
        const QVariant index = focused->property("Index");
        QTEST(focused->objectName() + (index.isValid() ? u"(%1)"_s.arg(index.toInt()) : QString()), "expected");
    }
};

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
