#include "platform/systemclipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace zelvan::platform {

void SystemClipboard::clear()
{
    if (auto *clipboard = QGuiApplication::clipboard())
        clipboard->clear();
}

void SystemClipboard::setText(const QString &text)
{
    if (auto *clipboard = QGuiApplication::clipboard())
        clipboard->setText(text);
}

} // namespace zelvan::platform
