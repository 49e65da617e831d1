#pragma once

#include "runtime/variant.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace zelvan::reportengine::spreadsheetml {

// The XML parts of a spreadsheet workbook (.xlsx), made as text so that a
// sheet's rows stream into the archive as they are read.

// The cell styles of styles(), by their index there.
enum class Style { Plain, Bold, Amount, BoldAmount, Date, DateTime, Time };

// Column 0 is "A", 25 "Z", 26 "AA".
QByteArray columnName(int column);
// "B3:B102": the rows of one column, both ends counted from 0.
QByteArray columnRange(int firstRow, int lastRow, int column);

// One cell at `reference` ("C7"), appended to a row's XML; nothing for NULL
// and Empty. Whole numbers are plain number cells; money and other
// fractional numbers amounts (#,##0.00), bold ones when `bold`; dates date
// cells (a time of day alone a time cell; before 1900, where a spreadsheet's
// days begin, the runtime's date text); text inline text, bold when `bold`.
void appendCell(QByteArray &xml, QByteArrayView reference, const runtime::Variant &cell, bool bold = false);
void appendText(QByteArray &xml, QByteArrayView reference, const QString &text, Style style);
// A formula (without "=") stored with the value it gives.
void appendFormula(QByteArray &xml, QByteArrayView reference, const QByteArray &formula,
                   const runtime::Variant &value, Style style);

// A worksheet up to its first row: column widths in characters, and the
// first `frozenRows` rows held in place while the rest scrolls.
QByteArray worksheetStart(const QList<double> &widths, int frozenRows);
QByteArray worksheetEnd();

// The workbook's other parts, for sheets 1..n named `sheetNames`.
QByteArray contentTypes(qsizetype sheets);
QByteArray packageRelationships();
QByteArray workbook(const QStringList &sheetNames);
QByteArray workbookRelationships(qsizetype sheets);
QByteArray styles();
// Where sheet n (from 1) lives in the archive.
QByteArray worksheetPath(qsizetype sheet);

} // namespace zelvan::reportengine::spreadsheetml
