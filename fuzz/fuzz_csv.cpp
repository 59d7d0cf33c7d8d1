// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
//
// Input: a CSV file as korvell-cli reads it. A table that reads must read the same when written
// again; a table of products that loads must come out of korvell-cli compute as a table that
// loads again.
#include "FuzzCheck.h"

#include "cli/TableCsv.h"
#include "common/Error.h"
#include "model/CoordTable.h"
#include "model/CsvTable.h"
#include "model/MapModel.h"

#include <QStringDecoder>

using korvell::CoordTable;
using korvell::CsvTable;
using korvell::Error;
using korvell::MapModel;
using korvell::TableCsv;
using korvell::fuzz::check;

namespace {

QString written(const CsvTable& csv) {
    QString text = CsvTable::formatRow(csv.header()) + QStringLiteral("\r\n");
    for (int i = 0; i < csv.rowCount(); ++i) {
        text += CsvTable::formatRow(csv.row(i)) + QStringLiteral("\r\n");
    }
    return text;
}

void checkTable(const CsvTable& csv) {
    int line = csv.headerLine();
    for (int i = 0; i < csv.rowCount(); ++i) {
        check(csv.row(i).size() == csv.header().size(), "every row is as wide as the header");
        check(csv.lineOf(i) > line, "rows begin on later lines");
        line = csv.lineOf(i);
    }
    const QString text = written(csv);
    CsvTable again;
    try {
        again = CsvTable::parse(text);
    } catch (const Error& error) {
        check(false, "a written table reads again", text + QLatin1Char('\n') + error.text());
    }
    check(again.header() == csv.header(), "a written table keeps its header", text);
    check(again.rowCount() == csv.rowCount(), "a written table keeps its rows", text);
    for (int i = 0; i < csv.rowCount(); ++i) {
        check(again.row(i) == csv.row(i), "a written table keeps its fields", text);
    }
}

CsvTable reread(const QString& printed) {
    try {
        return CsvTable::parse(printed);
    } catch (const Error& error) {
        check(false, "the printed table reads", printed + QLatin1Char('\n') + error.text());
    }
    return {};
}

// What korvell-cli compute prints for csv, or a null string when the products do not load.
QString computed(const CsvTable& csv) {
    CoordTable table;
    table.open();
    try {
        TableCsv::load(csv, table);
    } catch (const Error&) {
        return {};
    }
    MapModel model(&table);
    model.reloadAll();
    model.RecalculateFrom(QStringLiteral("ALL"));
    model.StoreSeriesToTable();
    return TableCsv::write(table);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(korvell::fuzz::bytesOf(data, size));
    if (utf8.hasError()) {
        return 0;
    }
    CsvTable csv;
    try {
        csv = CsvTable::parse(text);
    } catch (const Error&) {
        return 0;
    }
    checkTable(csv);

    const QString output = computed(csv);
    if (output.isNull()) {
        return 0;
    }
    // The printed table is the program's own, so it reads and loads. Input scores are stored
    // rounded while the first pass derives from them unrounded; from the second pass on, computing
    // the printed table again must change nothing.
    const QString twice = computed(reread(output));
    check(!twice.isNull(), "the printed table loads", output);
    const QString thrice = computed(reread(twice));
    check(thrice == twice, "computing a computed table again changes nothing",
          twice + QStringLiteral("\n---\n") + thrice);
    return 0;
}
