#pragma once

#include "reportengine/reportlayout.h"

#include <QString>

namespace zelvan::reportengine {

inline constexpr int PngDpi = 150;

// As a path, "-" writes to standard output, as command-line tools do.
inline constexpr QStringView StandardOutputPath = u"-";

// Write the page to `path`, replacing the file only once the whole file has
// been written: a failure leaves the target as it was and no stray file
// behind, and puts a Turkish message for the user into `errorText`.

// One PDF page of the page's size, without printer margins, fonts embedded,
// titled with the page's caption.
bool writePdf(const ReportPage &page, const QString &path, QString *errorText = nullptr);

// A PNG image of the page at 150 dots per inch on a white background.
bool writePng(const ReportPage &page, const QString &path, QString *errorText = nullptr);

} // namespace zelvan::reportengine
