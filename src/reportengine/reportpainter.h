#pragma once

#include "reportengine/reportlayout.h"

#include <QFont>
#include <QImage>
#include <QPageLayout>

class QPainter;

namespace zelvan::reportengine {

// Makes "Arial Narrow" (and "Arial") resolve to their metric twins where they
// aren't installed, so that a page keeps its geometry and never falls back to
// a wide face. Runs once; needs a QGuiApplication.
void installReportFontSubstitutes();

// The font of a control, its size set as a pixel size in twips: under a twips
// window a point size would be scaled by the device's resolution twice.
QFont reportFont(const ReportFont &font);

// Paints the page on any painter (screen, printer, PDF, image): one logical
// unit is one twip of the painter's device, the origin is the page's top left
// corner and the sections are stacked from the top margin. Text is drawn
// top-aligned inside its box, with the box's alignment, and clipped to it.
// The painter's state is restored afterwards.
void paintPage(QPainter &painter, const ReportPage &page);

// The page as an image of `dpi` dots per inch on a white background.
QImage renderPage(const ReportPage &page, int dpi);

// The page's paper without printer margins (the painter draws the margins).
QPageLayout reportPageLayout(const ReportPage &page);

} // namespace zelvan::reportengine
