#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace qv::analysis {

struct Workbook;
class PivotResult;

// The number formats a workbook's cells and pivot tables use ("#,##0"), each
// with its id in the styles part and the cell style that applies it. The
// general format is id 0 and style 0.
class NumberFormats {
public:
    explicit NumberFormats(const Workbook& book);

    int id(const QString& format) const;
    int style(const QString& format) const;
    QByteArray stylesXml() const;

private:
    QStringList formats_; // in the order of their ids from 164 and styles from 1
};

// The widths of a sheet's columns in characters, each as wide as its widest
// text, within limits.
class ColumnWidths {
public:
    void fit(int column, int characters);
    // The "cols" element of a sheet; empty when no column was fitted.
    QByteArray xml() const;

private:
    std::vector<int> characters_; // by column, from 1
};

// How many characters a number takes as shown: with commas between the
// thousands when `grouped`, whole as "#,##0" shows it.
int shownLength(double value, bool grouped);

// The widths of the columns a pivot table takes as spreadsheet programs lay
// it out from its top left cell, its sums shown in `format`.
void fitPivotColumns(const PivotResult& pivot, int left, const QString& format, ColumnWidths& widths);

} // namespace qv::analysis
