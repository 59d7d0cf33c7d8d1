// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QAnyStringView>
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace korvell {

/// An INI file read and written with the rules of the Windows profile functions.
///
/// - Section and key names match without regard to letter case; the first match wins, so a
///   repeated section or key is never seen.
/// - A section's keys are listed in file order, each once.
/// - Values lose surrounding blanks, then one pair of enclosing double quotes.
/// - Lines beginning with ";" are comments; lines without "=" and keys before the first section
///   are ignored. CRLF and LF line ends both read.
/// - Files are Windows-1252 text, or UTF-8 when they begin with a UTF-8 byte-order mark.
/// - Missing files, sections and keys read as the empty string.
/// - Writing a key rewrites only that key's value, adds the key after the last key of its
///   section, or adds the section at the end; every other byte of the file stays as it was.
///
/// Values and key lists have no length limit, and reading is linear in the size of the file.
class IniFile {
public:
    /// An empty file.
    IniFile() = default;
    /// Reads the text of a whole file; never fails.
    static IniFile parse(QByteArray bytes);
    /// Reads the file at path; a missing or unreadable file gives an empty one.
    static IniFile load(const QString& path);

    /// The value of key in section, or the empty string.
    QString value(QAnyStringView section, QAnyStringView key) const;
    /// The keys of section in file order, as spelt in the file; empty when there is no section.
    QStringList keys(QAnyStringView section) const;
    /// Sets key in section to value, quoting the value when it would not read back unchanged.
    /// Throws Error for names or values that cannot be stored: empty names, line breaks, names
    /// with surrounding blanks, "=" in a key, "]" in a section, text the file's encoding lacks.
    void setValue(const QString& section, const QString& key, const QString& value);
    /// The whole file as it would be written.
    const QByteArray& bytes() const { return m_bytes; }

    /// value() of the file at path.
    static QString readString(const QString& path, const QString& section, const QString& key);
    /// keys() of the file at path.
    static QStringList sectionKeys(const QString& path, const QString& section);
    /// setValue() on the file at path, which is created when missing. The file is replaced in one
    /// step, so a failure leaves it as it was. Throws Error when it cannot be read or written.
    static void writeString(const QString& path, const QString& section, const QString& key, const QString& value);

private:
    struct Entry {
        QString name;
        QString value;
        qsizetype valueStart; ///< first byte after "="
        qsizetype valueEnd;   ///< end of the line, before its line break
    };
    struct Section {
        std::vector<Entry> entries;
        QHash<QString, qsizetype> index; ///< case-folded key -> entries index
        qsizetype appendAt;              ///< byte where a new key goes
        bool appendNeedsLineBreak;       ///< the line before appendAt ends the file without a line break
    };

    const Section* findSection(QAnyStringView name) const;
    QString decode(qsizetype begin, qsizetype end) const;
    QByteArray encode(QStringView text) const;

    QByteArray m_bytes;
    bool m_utf8 = false;
    QByteArray m_lineBreak = QByteArrayLiteral("\r\n");
    std::vector<Section> m_sections;
    QHash<QString, qsizetype> m_sectionIndex; ///< case-folded name -> m_sections index
};

} // namespace korvell
