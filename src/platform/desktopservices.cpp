#include "platform/desktopservices.h"

#include <QClipboard>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

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

void ProcessExit::endNow(int exitCode)
{
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

QDate SystemClock::currentDate()
{
    return QDate::currentDate();
}

QTime SystemClock::currentTime()
{
    return QTime::currentTime();
}

} // namespace zelvan::platform
