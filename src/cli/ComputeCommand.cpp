// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "cli/ComputeCommand.h"

#include "cli/CommandLine.h"
#include "cli/TableCsv.h"
#include "common/Error.h"
#include "model/CoordTable.h"
#include "model/CsvTable.h"
#include "model/MapModel.h"

#include <QFile>
#include <QStringDecoder>

#include <cstdio>

namespace korvell {

namespace {

const char* const kHelp = "Usage: korvell-cli compute [FILE]\n"
                          "\n"
                          "Reads a CSV table of products from FILE (standard input when FILE is absent or \"-\"),\n"
                          "computes every derived matrix and writes the whole table as CSV to standard output.\n"
                          "\n"
                          "Input: CSV after RFC 4180, UTF-8. The first row names the columns: any of the fields\n"
                          "below, in any order, letter case ignored. An empty cell is an empty field; numbers\n"
                          "take a decimal point. Without a rowid column every product gets a new GUID, without a\n"
                          "product column the name <PRODUCT>, without a bubbleradius column the radius 0.4.\n"
                          "\n"
                          "Output: a header and one line per product with all 30 fields in this order:\n"
                          "  rowid, product, bubbleradius, pm_x, pm_y, v_x, v_y, e_x, e_y, s_x, msd_x, msd_y,\n"
                          "  nc_x, nc_y, cc_x, cc_y, res_pp_x, res_pp_y, res_pm_x, res_pm_y, res_s_y, res_im_x,\n"
                          "  res_im_y, res_eva_x, res_eva_y, bcolor, bm_tc_y, bm_pc_x, bm_oo_y, bm_c_x\n"
                          "The scores the matrices store are clamped to 0..10 and rounded to one decimal (an\n"
                          "empty score reads as 0), the derived matrices are recomputed, nc_x and nc_y repeat the\n"
                          "effort scores and bcolor holds the bubble's colour. rowid, product, bubbleradius and\n"
                          "the business-model scores are passed through as read.\n"
                          "\n"
                          "Exit status: 0 on success; 2 on bad input or a bad command line, with one line on\n"
                          "standard error that names the line and column, and nothing on standard output;\n"
                          "1 when the output cannot be written.\n";

bool readAll(const QString& path, QByteArray& bytes, QString& error) {
    QFile file;
    const bool opened = path.isEmpty() ? file.open(stdin, QIODevice::ReadOnly) : [&] {
        file.setFileName(path);
        return file.open(QIODevice::ReadOnly);
    }();
    if (!opened) {
        error = file.errorString();
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

int ComputeCommand::run(const QStringList& arguments) {
    QString path;
    bool pathGiven = false;
    bool optionsEnd = false;
    for (const QString& arg : arguments) {
        if (!optionsEnd && (arg == QLatin1String("--help") || arg == QLatin1String("-h")))
            return CommandLine::writeOut(kHelp) ? ExitOk : ExitFailure;
        if (!optionsEnd && arg == QLatin1String("--")) {
            optionsEnd = true;
            continue;
        }
        if (!optionsEnd && arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("-")) {
            CommandLine::writeError(
                QStringLiteral("compute: unknown option '%1'; see 'korvell-cli compute --help'").arg(arg));
            return ExitBadInput;
        }
        if (pathGiven) {
            CommandLine::writeError(
                QStringLiteral("compute: one input file at most; see 'korvell-cli compute --help'"));
            return ExitBadInput;
        }
        pathGiven = true;
        if (arg != QLatin1String("-") || optionsEnd)
            path = arg;
    }
    const QString source = path.isEmpty() ? QStringLiteral("standard input") : path;

    QByteArray bytes;
    QString readError;
    if (!readAll(path, bytes, readError)) {
        CommandLine::writeError(QStringLiteral("%1: %2").arg(source, readError));
        return ExitBadInput;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        CommandLine::writeError(QStringLiteral("%1: not UTF-8 text").arg(source));
        return ExitBadInput;
    }

    CoordTable table;
    table.open();
    try {
        TableCsv::load(CsvTable::parse(text), table);
    } catch (const Error& e) {
        CommandLine::writeError(QStringLiteral("%1: %2").arg(source, e.text()));
        return ExitBadInput;
    }

    QString output;
    try {
        MapModel model(&table);
        model.reloadAll();
        // Recompute first, then write back, so that the derived fields printed are the recomputed ones.
        model.RecalculateFrom(QStringLiteral("ALL"));
        model.StoreSeriesToTable();
        output = TableCsv::write(table);
    } catch (const Error& e) {
        CommandLine::writeError(e.text());
        return ExitFailure;
    }
    return CommandLine::writeOut(output.toUtf8()) ? ExitOk : ExitFailure;
}

} // namespace korvell
