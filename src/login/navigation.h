#pragma once

#include <QString>
#include <QWidgetList>

#include <optional>

class QLineEdit;
class QWidget;

namespace zelvan::login {

// Key codes as the old runtime numbers them.
namespace KeyCode {
inline constexpr int Enter = 13;
inline constexpr int Escape = 27;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
} // namespace KeyCode

// The old key code of a Qt key: the arrows, Return and Enter (both 13),
// Escape, Tab, Backspace, Space, and the letters and digits, whose codes are
// their upper-case ASCII codes. Any other key gives 0.
int vbKeyCode(int qtKey);

// The old shift state of Qt modifiers: 1 Shift, 2 Ctrl, 4 Alt.
int vbShiftState(Qt::KeyboardModifiers modifiers);

// The form's Controls collection: every child widget of `form`, depth first
// (a container, then what it holds), each level in creation order. The form
// itself is not part of it.
QWidgetList formControls(QWidget *form);

// The field of a navigation map ("Left;Up;Right;Down") that a key reads: Enter
// takes the Down field, which runs to the end of the text; the others end at
// the next ";" or at the end. A key that isn't navigated, or a map without
// that field, gives nothing.
std::optional<QString> navigationField(const QString &map, int keyCode);

// One alternative of a field: a control name, optionally followed by the
// element number of a control array in parentheses ("Text1(2)").
struct NavigationTarget
{
    QString name;
    std::optional<qint16> index;
    bool valid = true;  // false: the element number isn't a 16-bit integer
};
NavigationTarget parseNavigationTarget(const QString &alternative);

// Moves the focus as the navigation map in `box`'s "Tag" property says for
// `keyCode`. The first alternative that names an enabled and visible control
// takes the focus; an alternative that names no control stops the search.
// With `edge`, Left moves only from the start of the text and Right only from
// its end. Controls of a control array carry their element number in an
// "Index" property.
void NavigateByTag(QWidget *form, int keyCode, QLineEdit *box, bool edge);

// Selects the whole text of `box` (SelStart 0, SelLength the text's length).
void SelectAllText(QLineEdit *box);

} // namespace zelvan::login
