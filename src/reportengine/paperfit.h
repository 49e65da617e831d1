#pragma once

#include <QSizeF>

namespace zelvan::reportengine {

// How a page goes onto a printer's paper: at its own size where it fits,
// else scaled down evenly (never cropped, never stretched), from the paper's
// top left corner as the page's own margins expect.
// Sizes in any one unit; the result is the factor to draw the page with.
qreal paperFitScale(const QSizeF &page, const QSizeF &paper);

} // namespace zelvan::reportengine
