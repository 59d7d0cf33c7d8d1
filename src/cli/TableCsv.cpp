// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "cli/TableCsv.h"

#include "common/Error.h"
#include "model/CoordRecordDefaults.h"
#include "model/CoordTable.h"
#include "model/CsvTable.h"

#include <QLocale>

#include <cmath>
#include <vector>

namespace korvell {

namespace {

[[noreturn]] void fail(int line, qsizetype column, const QString& what) {
    throw Error(QStringLiteral("line %1, column %2: %3").arg(line).arg(column + 1).arg(what));
}

// A cell echoed in a message stays short and on one line.
QString quoted(const QString& cell) {
    QString text = cell.simplified();
    if (text.size() > 40)
        text = text.left(37) + QStringLiteral("...");
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

QLocale numberLocale() {
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator); // "1,5" is no number, not fifteen
    return c;
}

} // namespace

void TableCsv::load(const CsvTable& csv, CoordTable& table) {
    std::vector<int> fieldOf;
    std::vector<bool> given(FieldCount, false);
    const QStringList& header = csv.header();
    for (qsizetype c = 0; c < header.size(); ++c) {
        const int field = CoordTable::fieldIndex(header[c].trimmed());
        if (field < 0)
            fail(csv.headerLine(), c, QStringLiteral("unknown column %1").arg(quoted(header[c])));
        if (given[static_cast<std::size_t>(field)])
            fail(csv.headerLine(), c, QStringLiteral("column %1 appears twice").arg(quoted(header[c])));
        given[static_cast<std::size_t>(field)] = true;
        fieldOf.push_back(field);
    }

    const QLocale locale = numberLocale();
    const QString placeholder = placeholderProduct(QStringLiteral("Product"));
    for (int r = 0; r < csv.rowCount(); ++r) {
        const QStringList& row = csv.row(r);
        table.append();
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (row[c].isEmpty())
                continue;
            const int field = fieldOf[static_cast<std::size_t>(c)];
            const FieldDef& def = CoordTable::fields()[static_cast<std::size_t>(field)];
            const QString text = row[c].trimmed();
            if (text.isEmpty() && def.type != FieldType::String)
                continue; // blanks in a number column are an empty field too
            bool ok = false;
            switch (def.type) {
            case FieldType::String:
                table.setValue(field, row[c]);
                break;
            case FieldType::Float: {
                const double number = locale.toDouble(text, &ok);
                if (!ok || !std::isfinite(number))
                    fail(csv.lineOf(r), c, QStringLiteral("%1 in %2 is not a number").arg(quoted(row[c]), def.name));
                table.setValue(field, number);
                break;
            }
            case FieldType::Integer: {
                const int number = locale.toInt(text, &ok);
                if (!ok)
                    fail(csv.lineOf(r), c,
                         QStringLiteral("%1 in %2 is not a whole number").arg(quoted(row[c]), def.name));
                table.setValue(field, number);
                break;
            }
            }
        }
        if (!given[F_rowid])
            table.setValue(F_rowid, newGuidText());
        if (!given[F_product])
            table.setValue(F_product, placeholder);
        if (!given[F_bubbleradius])
            table.setValue(F_bubbleradius, 0.4);
        table.post();
    }
}

QString TableCsv::formatNumber(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString TableCsv::write(const CoordTable& table) {
    const auto& defs = CoordTable::fields();
    QStringList cells;
    for (const FieldDef& def : defs)
        cells << QString::fromLatin1(def.name);
    QString text = CsvTable::formatRow(cells) + QLatin1Char('\n');

    for (int row = 0; row < table.recordCount(); ++row) {
        cells.clear();
        for (int field = 0; field < FieldCount; ++field) {
            const QVariant value = table.value(row, field);
            if (value.isNull())
                cells << QString();
            else if (defs[static_cast<std::size_t>(field)].type == FieldType::String)
                cells << value.toString();
            else if (defs[static_cast<std::size_t>(field)].type == FieldType::Integer)
                cells << QString::number(value.toInt());
            else
                cells << formatNumber(value.toDouble());
        }
        text += CsvTable::formatRow(cells) + QLatin1Char('\n');
    }
    return text;
}

} // namespace korvell
