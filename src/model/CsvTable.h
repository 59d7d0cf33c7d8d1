// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace korvell {

/**
 * A comma-separated table after RFC 4180: a header row, then data rows with as many fields as the
 * header. Fields may be quoted ("" is a quote inside quotes, and quoted fields may span lines);
 * records end with CRLF, LF or CR; blank lines are skipped; a leading byte-order mark is dropped.
 * An empty field, quoted or not, is an empty string.
 */
class CsvTable {
public:
    /**
     * Reads text in one pass. Throws Error with a text that names the line and column (both from 1;
     * the column is the field's number): an unterminated quote, a quote inside an unquoted field,
     * text after a closing quote, a row with more or fewer fields than the header, no header at all.
     */
    static CsvTable parse(QStringView text);

    const QStringList& header() const { return m_header; }
    /// Line of the text on which the header begins.
    int headerLine() const { return m_headerLine; }
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    const QStringList& row(int i) const { return m_rows[static_cast<std::size_t>(i)]; }
    /// Line of the text on which data row i begins.
    int lineOf(int i) const { return m_lines[static_cast<std::size_t>(i)]; }

    /// One record without its line break, each field quoted only where it has to be.
    static QString formatRow(const QStringList& fields);
    /// The text of one field: quoted when it holds a comma, a quote or a line break.
    static QString formatField(const QString& field);

private:
    QStringList m_header;
    int m_headerLine = 1;
    std::vector<QStringList> m_rows;
    std::vector<int> m_lines;
};

} // namespace korvell
