#include "platform/openwindows.h"

#include <QApplication>
#include <QWidget>

#include <algorithm>

namespace zelvan::platform {

bool anyWindowVisible()
{
    const auto windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](const QWidget *w) { return w->isVisible(); });
}

} // namespace zelvan::platform
