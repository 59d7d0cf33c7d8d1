// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "model/CsvTable.h"

#include "common/Error.h"

#include <algorithm>

namespace korvell {

namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kComma = u',';
constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';

[[noreturn]] void fail(int line, int column, const QString& what) {
    throw Error(QStringLiteral("line %1, column %2: %3").arg(line).arg(column).arg(what));
}

bool endsField(char16_t c) {
    return c == kComma || c == kCr || c == kLf;
}

// Reads records one by one; every character is looked at once.
class Reader {
public:
    explicit Reader(QStringView text)
        : m_p(text.utf16())
        , m_end(text.utf16() + text.size()) {
        if (m_p != m_end && *m_p == 0xFEFF)
            ++m_p;
    }

    /// The next record, or false at the end of the text. Blank lines are skipped.
    bool next(QStringList& fields, int& line) {
        while (m_p != m_end && (*m_p == kCr || *m_p == kLf))
            lineBreak();
        if (m_p == m_end)
            return false;
        line = m_line;
        fields.clear();
        for (;;) {
            const bool quoted = m_p != m_end && *m_p == kQuote;
            fields.append(quoted ? quotedField(static_cast<int>(fields.size()) + 1)
                                 : plainField(static_cast<int>(fields.size()) + 1));
            if (m_p == m_end)
                return true;
            if (*m_p != kComma) {
                lineBreak();
                return true;
            }
            ++m_p;
        }
    }

private:
    void lineBreak() {
        if (*m_p == kCr && m_p + 1 != m_end && m_p[1] == kLf)
            ++m_p;
        ++m_p;
        ++m_line;
    }

    QString plainField(int column) {
        const char16_t* start = m_p;
        while (m_p != m_end && !endsField(*m_p)) {
            if (*m_p == kQuote)
                fail(m_line, column, QStringLiteral("quote inside a field that does not begin with one"));
            ++m_p;
        }
        return QString(reinterpret_cast<const QChar*>(start), m_p - start);
    }

    QString quotedField(int column) {
        const int startLine = m_line;
        QString field;
        ++m_p;
        for (;;) {
            const char16_t* start = m_p;
            while (m_p != m_end && *m_p != kQuote) {
                if (*m_p == kLf || (*m_p == kCr && (m_p + 1 == m_end || m_p[1] != kLf)))
                    ++m_line;
                ++m_p;
            }
            field.append(reinterpret_cast<const QChar*>(start), m_p - start);
            if (m_p == m_end)
                fail(startLine, column, QStringLiteral("quoted field is not closed"));
            ++m_p;
            if (m_p != m_end && *m_p == kQuote) {
                field.append(QChar(kQuote));
                ++m_p;
                continue;
            }
            break;
        }
        if (m_p != m_end && !endsField(*m_p))
            fail(m_line, column, QStringLiteral("text after the closing quote"));
        return field;
    }

    const char16_t* m_p;
    const char16_t* m_end;
    int m_line = 1;
};

} // namespace

CsvTable CsvTable::parse(QStringView text) {
    CsvTable table;
    Reader reader(text);
    if (!reader.next(table.m_header, table.m_headerLine))
        fail(1, 1, QStringLiteral("no header row"));
    const qsizetype width = table.m_header.size();
    QStringList fields;
    int line = 1;
    while (reader.next(fields, line)) {
        if (fields.size() < width)
            fail(line, static_cast<int>(fields.size()) + 1,
                 QStringLiteral("missing field (the header has %1 columns)").arg(width));
        if (fields.size() > width)
            fail(line, static_cast<int>(width) + 1,
                 QStringLiteral("more fields than the header's %1 columns").arg(width));
        table.m_rows.push_back(fields);
        table.m_lines.push_back(line);
    }
    return table;
}

QString CsvTable::formatField(const QString& field) {
    // A leading U+FEFF would read as the byte-order mark at the start of a text.
    const bool needsQuotes = field.startsWith(QChar(0xFEFF)) || std::any_of(field.cbegin(), field.cend(), [](QChar c) {
                                 return c == QChar(kQuote) || endsField(c.unicode());
                             });
    if (!needsQuotes)
        return field;
    QString quoted = field;
    quoted.replace(QChar(kQuote), QStringLiteral("\"\""));
    return QChar(kQuote) + quoted + QChar(kQuote);
}

QString CsvTable::formatRow(const QStringList& fields) {
    // Unquoted, a record of one empty field would be a blank line, which reading skips.
    if (fields.size() == 1 && fields.front().isEmpty())
        return QStringLiteral("\"\"");
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += QChar(kComma);
        line += formatField(fields[i]);
    }
    return line;
}

} // namespace korvell
