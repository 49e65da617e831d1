#include "login/navigation.h"

#include "runtime/err.h"
#include "runtime/variant.h"

#include <QLineEdit>
#include <QVariant>
#include <QWidget>

namespace zelvan::login {

namespace {

void collectControls(QWidget *parent, QWidgetList &controls)
{
    for (QObject *child : parent->children()) {
        if (auto *widget = qobject_cast<QWidget *>(child); widget && !widget->isWindow()) {
            controls.append(widget);
            collectControls(widget, controls);
        }
    }
}

// The element number as the runtime's integer conversion reads it (blanks
// around, halves to even, within 16 bits); nothing when it isn't one.
std::optional<qint16> elementNumber(const QString &text)
{
    try {
        return runtime::Variant::string(text).toInteger();
    } catch (const runtime::Err &) {
        return std::nullopt;
    }
}

// SelStart: the start of the selection, else the caret.
int selStart(const QLineEdit *box)
{
    return box->hasSelectedText() ? box->selectionStart() : box->cursorPosition();
}

QWidget *findControl(const QWidgetList &controls, const NavigationTarget &target)
{
    // A control always has a name; an empty one matches nothing.
    if (target.name.isEmpty())
        return nullptr;
    const QString name = target.name.toUpper();
    for (QWidget *control : controls) {
        if (control->objectName().toUpper() != name)
            continue;
        if (!target.index)
            return control;
        const QVariant index = control->property("Index");
        bool ok = false;
        if (index.isValid() && index.toInt(&ok) == *target.index && ok)
            return control;
    }
    return nullptr;
}

} // namespace

int vbKeyCode(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Left:
        return KeyCode::Left;
    case Qt::Key_Up:
        return KeyCode::Up;
    case Qt::Key_Right:
        return KeyCode::Right;
    case Qt::Key_Down:
        return KeyCode::Down;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyCode::Enter;
    case Qt::Key_Escape:
        return KeyCode::Escape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Space:
        return 32;
    default:
        break;
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    return 0;
}

int vbShiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) | (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0)
        | (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

QWidgetList formControls(QWidget *form)
{
    QWidgetList controls;
    collectControls(form, controls);
    return controls;
}

std::optional<QString> navigationField(const QString &map, int keyCode)
{
    int field = 0;
    switch (keyCode) {
    case KeyCode::Left:
        field = 0;
        break;
    case KeyCode::Up:
        field = 1;
        break;
    case KeyCode::Right:
        field = 2;
        break;
    case KeyCode::Down:
    case KeyCode::Enter:
        field = 3;
        break;
    default:
        return std::nullopt;
    }
    // A field ends at the next ";" or at the end of the text. A map with fewer
    // than four fields has no target for the missing ones: the focus stays.
    qsizetype start = 0;
    for (int i = 0; i < field; ++i) {
        start = map.indexOf(u';', start);
        if (start < 0)
            return std::nullopt;
        ++start;
    }
    if (field == 3)
        return map.mid(start);
    const qsizetype end = map.indexOf(u';', start);
    return end < 0 ? map.mid(start) : map.mid(start, end - start);
}

NavigationTarget parseNavigationTarget(const QString &alternative)
{
    const qsizetype open = alternative.indexOf(u'(');
    if (open < 0)
        return {alternative, std::nullopt, true};
    NavigationTarget target{alternative.left(open), std::nullopt, true};
    // The number is what lies between "(" and the last character. One that
    // isn't a number leaves the focus where it is, like a name that matches nothing.
    const qsizetype length = alternative.size() - open - 2;
    target.index = length >= 0 ? elementNumber(alternative.mid(open + 1, length)) : std::nullopt;
    target.valid = target.index.has_value();
    return target;
}

void NavigateByTag(QWidget *form, int keyCode, QLineEdit *box, bool edge)
{
    if (edge) {
        if (keyCode == KeyCode::Left && selStart(box) != 0)
            return;
        if (keyCode == KeyCode::Right && selStart(box) != box->text().size())
            return;
    }
    const std::optional<QString> field = navigationField(box->property("Tag").toString(), keyCode);
    if (!field)
        return;
    const QWidgetList controls = formControls(form);
    for (const QString &alternative : field->split(u'|')) {
        const NavigationTarget target = parseNavigationTarget(alternative);
        if (!target.valid)
            return;
        QWidget *control = findControl(controls, target);
        if (!control)
            return;
        // Enabled and visible as the control itself and its containers are
        // set, so that a control inside a hidden panel is passed over like a
        // hidden one. A control that never takes the focus (a label) is passed
        // over too.
        if (control->isEnabledTo(form) && control->isVisibleTo(form) && control->focusPolicy() != Qt::NoFocus) {
            control->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void SelectAllText(QLineEdit *box)
{
    box->setSelection(0, int(box->text().size()));
}

} // namespace zelvan::login
