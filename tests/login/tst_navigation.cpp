#include "login/navigation.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace zelvan;
using namespace zelvan::login;
using namespace Qt::Literals::StringLiterals;

constexpr int AllSelected = -1;  // a caret column that stands for the whole text selected

class TestNavigation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The result is the name and index of the focused control; "source": no move.
    void navigate_data()
    {
        QTest::addColumn<QString>("map");
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<int>("caret");
        QTest::addColumn<bool>("edge");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, QStringView map, QStringView expected, int key = KeyCode::Down, int caret = 0,
                            bool edge = true) {
            QTest::newRow(name) << map.toString() << key << caret << edge << expected.toString();
        };
        row("Enter reads Down", u"x;x;x;second", u"second", KeyCode::Enter);
        row("other case", u"x;x;x;SeCoNd", u"second");
        row("Left at the start", u"third;x;x;x", u"third", KeyCode::Left);
        row("Left inside", u"third;x;x;x", u"source", KeyCode::Left, 2);
        row("Left inside, no edge test", u"third;x;x;x", u"third", KeyCode::Left, 2, false);
        row("Right at the end", u"x;x;third;x", u"third", KeyCode::Right, 4);
        row("Right, all selected", u"x;x;third;x", u"source", KeyCode::Right, AllSelected);
        row("disabled skipped", u"x;x;x;Dis|third", u"third");
        row("no such name stops", u"x;x;x;ASD|third", u"source");
        row("element 1.5 to even", u"x;x;x;Arr( 1.5 )", u"Arr2");
        row("no such element", u"x;x;x;Arr(7)|third", u"source");
        row("no array", u"x;x;x;second(1)", u"source");
        row("in a hidden panel", u"x;x;x;Inner|third", u"third");
        row("label takes no focus", u"x;x;x;Lbl|third", u"third");
        row("two fields, Up", u"x;third", u"third", KeyCode::Up);
        row("Down takes the rest", u"x;x;x;third;second", u"source");
        row("other key", u"x;x;x;second", u"source", 65);
    }

    void navigate()
    {
        QFETCH(QString, map);
        QFETCH(int, keyCode);
        QFETCH(int, caret);
        QFETCH(bool, edge);
        QWidget form;
        auto *panel = new QFrame(&form);
        auto *hiddenPanel = new QFrame(&form);
        const auto box = [](const QString &name, QWidget *in) {
            auto *b = new QLineEdit(in);
            b->setObjectName(name);
            return b;
        };
        auto *source = box(u"source"_s, &form);
        source->setText(u"abcd"_s);
        source->setProperty("Tag", map);
        box(u"second"_s, &form);
        box(u"third"_s, panel);
        for (int i = 0; i < 3; ++i)
            box(u"Arr"_s, panel)->setProperty("Index", i);
        box(u"Dis"_s, &form)->setEnabled(false);
        (new QLabel(u"L"_s, &form))->setObjectName(u"Lbl"_s);
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
        QVERIFY(form.focusWidget());
        QTEST(form.focusWidget()->objectName() + form.focusWidget()->property("Index").toString(), "expected");
    }
};

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
