#pragma once

#include <QSize>

namespace zelvan::platform {
class Registry;
} // namespace zelvan::platform

namespace zelvan::reportengine {

// What the viewer remembers between runs, in the user's registry under the
// program's own key (HKEY_CURRENT_USER\Software\Zelvan\Rapor): the window's
// size and the zoom, as whole numbers (DWORDs).
struct ViewerSettings
{
    QSize windowSize;      // invalid: the page's own viewer size
    int zoomPercent = 0;   // 0: the page's width fitted to the window

    // What is there; a missing, damaged or absurd value is left at its default.
    static ViewerSettings read(platform::Registry &registry);
    // False when the registry refused: the viewer then simply forgets.
    bool write(platform::Registry &registry) const;

    static constexpr int MinZoomPercent = 10;
    static constexpr int MaxZoomPercent = 1000;
};

} // namespace zelvan::reportengine
