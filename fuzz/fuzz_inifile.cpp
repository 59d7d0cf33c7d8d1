// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
//
// Input: the bytes of a settings or language file, optionally followed by a NUL byte and edits:
// section, key and value separated by \x01, repeated. Edits in UTF-8, or raw UTF-16LE code units
// when they begin with \x02 (so that unpaired surrogates reach setValue too). Without edits the
// target edits the first key it finds, adds a key and adds a section.
#include "FuzzCheck.h"

#include "common/Error.h"
#include "localisation/IniFile.h"
#include "localisation/Windows1252.h"

#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QStringList>

#include <optional>
#include <vector>

using korvell::Error;
using korvell::IniFile;
using korvell::Windows1252;
using korvell::fuzz::check;

namespace {

struct Edit {
    QString section;
    QString key;
    QString value;
};

// The sections a reader of the file would find, by the same line rules, first spelling only.
QStringList sectionNames(const QByteArray& bytes) {
    const bool utf8 = bytes.startsWith("\xEF\xBB\xBF");
    QStringList names;
    QSet<QString> seen;
    for (const QByteArray& rawLine : (utf8 ? bytes.mid(3) : bytes).split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (!line.startsWith('[')) {
            continue;
        }
        const qsizetype close = line.indexOf(']');
        const QByteArray name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        const QString decoded = utf8 ? decoder.decode(name) : Windows1252::decode(name);
        if (!seen.contains(decoded.toCaseFolded())) {
            seen.insert(decoded.toCaseFolded());
            names << decoded;
        }
    }
    return names;
}

using Snapshot = QHash<QString, QHash<QString, QString>>;

Snapshot snapshot(const IniFile& ini, const QStringList& sections) {
    Snapshot result;
    for (const QString& section : sections) {
        QHash<QString, QString>& values = result[section.toCaseFolded()];
        for (const QString& key : ini.keys(section)) {
            check(!values.contains(key.toCaseFolded()), "a key is listed once", key);
            values.insert(key.toCaseFolded(), ini.value(section, key));
        }
    }
    return result;
}

QString decodeEditText(const QByteArray& bytes, bool utf16) {
    if (!utf16) {
        return QString::fromUtf8(bytes);
    }
    return QString(reinterpret_cast<const QChar*>(bytes.constData()), bytes.size() / 2);
}

std::vector<Edit> editsOf(const std::optional<QByteArray>& trailer, const IniFile& ini, const QStringList& sections) {
    std::vector<Edit> edits;
    if (trailer) {
        const bool utf16 = trailer->startsWith('\x02');
        const QList<QByteArray> parts = (utf16 ? trailer->mid(1) : *trailer).split('\x01');
        for (qsizetype i = 0; i + 2 < parts.size(); i += 3) {
            edits.push_back({decodeEditText(parts[i], utf16), decodeEditText(parts[i + 1], utf16),
                             decodeEditText(parts[i + 2], utf16)});
        }
        return edits;
    }
    if (!sections.isEmpty()) {
        const QStringList keys = ini.keys(sections.first());
        if (!keys.isEmpty()) {
            edits.push_back({sections.first(), keys.first(), QStringLiteral(" \"quoted\" ")});
        }
        edits.push_back({sections.first(), QStringLiteral("FuzzNewKey"), QStringLiteral("\"x\"")});
    }
    edits.push_back({QStringLiteral("FUZZ_NEW_SECTION"), QStringLiteral("k"), QStringLiteral("v ")});
    return edits;
}

void checkEdit(const IniFile& before, const QStringList& sections, const Snapshot& old, const Edit& edit) {
    IniFile after = before;
    try {
        after.setValue(edit.section, edit.key, edit.value);
    } catch (const Error&) {
        check(after.bytes() == before.bytes(), "a refused setValue changes nothing");
        return;
    }
    const QString detail = QStringLiteral("[%1] %2=%3").arg(edit.section, edit.key, edit.value);
    check(after.value(edit.section, edit.key) == edit.value, "setValue reads back", detail);
    const IniFile reread = IniFile::parse(after.bytes());
    check(reread.value(edit.section, edit.key) == edit.value, "setValue survives a write and a read", detail);

    // Every other key of every section keeps its value, and the section's key list only grows.
    const QString sectionFolded = edit.section.toCaseFolded();
    const QString keyFolded = edit.key.toCaseFolded();
    for (const QString& section : sections) {
        const QHash<QString, QString>& values = old[section.toCaseFolded()];
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            if (section.toCaseFolded() == sectionFolded && it.key() == keyFolded) {
                continue;
            }
            check(reread.value(section, it.key()) == it.value(), "setValue leaves other keys alone",
                  detail + QStringLiteral(" changed [%1] %2").arg(section, it.key()));
        }
        QStringList expected = before.keys(section);
        if (section.toCaseFolded() == sectionFolded && !values.contains(keyFolded)) {
            expected << edit.key;
        }
        check(reread.keys(section) == expected, "setValue keeps the key order", detail);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input = korvell::fuzz::bytesOf(data, size);
    const qsizetype nul = input.lastIndexOf('\0');
    const QByteArray file = nul < 0 ? input : input.left(nul);
    const std::optional<QByteArray> trailer = nul < 0 ? std::nullopt : std::optional(input.mid(nul + 1));

    const IniFile ini = IniFile::parse(file);
    check(ini.bytes() == file, "parse keeps every byte");
    const QStringList sections = sectionNames(file);
    const Snapshot old = snapshot(ini, sections);
    for (const Edit& edit : editsOf(trailer, ini, sections)) {
        checkEdit(ini, sections, old, edit);
    }
    return 0;
}
