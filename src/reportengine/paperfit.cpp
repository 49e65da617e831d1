#include "reportengine/paperfit.h"

#include <algorithm>

namespace zelvan::reportengine {

qreal paperFitScale(const QSizeF &page, const QSizeF &paper)
{
    if (page.isEmpty() || paper.isEmpty())
        return 1.0;
    return std::min({1.0, paper.width() / page.width(), paper.height() / page.height()});
}

} // namespace zelvan::reportengine
