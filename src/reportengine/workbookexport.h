#pragma once

#include "reportengine/rowtable.h"

#include <QList>
#include <QString>

namespace zelvan::reportengine {

// A sheet given cell by cell, row by row: the page as a table. An Empty cell
// is left blank.
struct SheetCells
{
    QString name;
    QList<QList<runtime::Variant>> rows;
    QList<int> boldRows;
};

enum class WorkbookResult {
    Written,
    RowsUnread,  // a source could not be opened; nothing was written
    Failed,      // the file could not be written; the text says why
};

// Writes a spreadsheet workbook (.xlsx): `front` unless its name is empty,
// then one sheet per source in order, named by its caption (cut to 31
// characters, a sheet name's limit); its first cell holds the whole caption,
// then a header row of column names, the rows, and a last row "Toplam" whose
// amount is a formula over the amount column, stored with its value, made as
// the figure is made (ABS of the SUM). When that total is not the figure (the
// data changed between the reads) a row says so with the figure. Fractional
// numbers are number cells formatted #,##0.00, whole numbers plain number
// cells, dates date cells, text text. Rows stream into a temporary file as
// they are read, so that no more than a row and a chunk of XML are held; a
// figure with more rows than a sheet holds says how many were left out.
// `path` is replaced only once the whole workbook is written, as
// replaceFileContents does.
WorkbookResult writeWorkbook(const QString &path, const SheetCells &front, const QList<RowSource *> &sources,
                             QString *errorText = nullptr);

// A sheet name for a caption: at most 31 characters, none of []:*?/\.
QString sheetName(const QString &caption);

} // namespace zelvan::reportengine
