// The navigation maps of the login form's boxes ("Left;Up;Right;Down", each
// field alternatives separated by '|', a control array's element in parentheses).
#include "fuzzsupport.h"

#include "login/navigation.h"
#include "runtime/err.h"
#include "runtime/variant.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <optional>


using namespace Qt::Literals::StringLiterals;

namespace zelvan::fuzz {

namespace {

struct Form
{
    QWidget *window = nullptr;
    QLineEdit *source = nullptr;
};

// A small form like the login dialog, with the cases the search passes over:
// a disabled box, a hidden box, a box in a hidden panel, a label.
const Form &form()
{
    static const Form made = [] {
        Form f;
        f.window = new QWidget;
        f.window->resize(300, 200);
        const auto box = [](const char *name, QWidget *parent) {
            auto *b = new QLineEdit(parent);
            b->setObjectName(QString::fromLatin1(name));
            return b;
        };
        f.source = box("Ad", f.window);
        box("Sifre", f.window);
        auto *panel = new QFrame(f.window);
        box("Srv", panel);
        for (int i = 0; i < 3; ++i)
            box("T", panel)->setProperty("Index", i);
        (new QPushButton(f.window))->setObjectName(QStringLiteral("Ok"));
        box("Dis", f.window)->setEnabled(false);
        box("Hid", f.window)->hide();
        (new QLabel(f.window))->setObjectName(QStringLiteral("Lbl"));
        auto *hidden = new QFrame(f.window);
        box("In", hidden);
        hidden->hide();
        f.window->show();
        f.window->activateWindow();
        check(QTest::qWaitForWindowActive(f.window), "the form becomes active");
        return f;
    }();
    return made;
}

// Where the focus must go, worked out from the map directly: the field of the
// key, its alternatives in order, the first that names a control that can
// take the focus; a bad element number or a name that matches nothing stops.
QWidget *expectedTarget(const QString &map, int keyCode)
{
    const QStringList fields = map.split(u';');
    int field = -1;
    switch (keyCode) {
    case login::KeyCode::Left: field = 0; break;
    case login::KeyCode::Up: field = 1; break;
    case login::KeyCode::Right: field = 2; break;
    case login::KeyCode::Down:
    case login::KeyCode::Enter: field = 3; break;
    default: return nullptr;
    }
    if (fields.size() <= field)
        return nullptr;
    const QString text = field == 3 ? fields.mid(3).join(u';') : fields[field];
    const QWidgetList controls = login::formControls(form().window);
    for (const QString &alternative : text.split(u'|')) {
        const qsizetype open = alternative.indexOf(u'(');
        const QString name = open < 0 ? alternative : alternative.left(open);
        std::optional<int> index;
        if (open >= 0) {
            if (alternative.size() - open - 2 < 0)
                return nullptr;
            try {
                index = runtime::Variant::string(alternative.mid(open + 1, alternative.size() - open - 2)).toInteger();
            } catch (const runtime::Err &) {
                return nullptr;
            }
        }
        QWidget *found = nullptr;
        for (QWidget *control : controls) {
            if (name.isEmpty() || control->objectName().compare(name, Qt::CaseInsensitive) != 0)
                continue;
            if (index && !(control->property("Index").isValid() && control->property("Index").toInt() == *index))
                continue;
            found = control;
            break;
        }
        if (!found)
            return nullptr;
        if (found->isEnabledTo(form().window) && found->isVisibleTo(form().window) && found->focusPolicy() != Qt::NoFocus)
            return found;
    }
    return nullptr;
}

} // namespace

void fuzzNavigation(QByteArrayView data)
{
    ensureApplication();
    static const int Keys[] = {login::KeyCode::Left, login::KeyCode::Up, login::KeyCode::Right, login::KeyCode::Down,
                               login::KeyCode::Enter, login::KeyCode::Escape, 'A', 0};
    FuzzInput input(data);
    const int keyCode = Keys[input.pick(8)];
    const bool edge = input.flag();
    const int caret = input.byte();
    const QString text = input.text();
    const QString map = QString::fromUtf8(input.rest());

    const Form &f = form();
    f.source->setText(text);
    if (caret == 255)
        f.source->selectAll();
    else
        f.source->setCursorPosition(caret);
    f.source->setProperty("Tag", map);
    f.source->setFocus(Qt::OtherFocusReason);
    check(f.window->focusWidget() == f.source, "the box has the focus before the key");
    const int start = f.source->hasSelectedText() ? f.source->selectionStart() : f.source->cursorPosition();

    login::NavigateByTag(f.window, keyCode, f.source, edge);

    const bool held = edge && ((keyCode == login::KeyCode::Left && start != 0) || (keyCode == login::KeyCode::Right && start != text.size()));
    QWidget *expected = held ? nullptr : expectedTarget(map, keyCode);
    QWidget *focused = f.window->focusWidget();
    check(focused == (expected ? expected : f.source), "the focus goes where the map says",
          map + u" -> "_s + (focused ? focused->objectName() : QStringLiteral("none")));
}

} // namespace zelvan::fuzz
