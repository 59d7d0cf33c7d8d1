// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "localisation/IniFile.h"

#include "common/Error.h"
#include "localisation/Windows1252.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace korvell {

namespace {

const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool isBlank(QChar c) {
    return c.unicode() < 0x80 && isBlank(static_cast<char>(c.unicode()));
}

bool hasSurroundingBlanks(const QString& text) {
    return !text.isEmpty() && (isBlank(text.front()) || isBlank(text.back()));
}

bool hasLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

qsizetype find(const QByteArray& bytes, char c, qsizetype begin, qsizetype end) {
    const char* data = bytes.constData();
    for (qsizetype i = begin; i < end; ++i) {
        if (data[i] == c) {
            return i;
        }
    }
    return -1;
}

void trim(const QByteArray& bytes, qsizetype& begin, qsizetype& end) {
    while (begin < end && isBlank(bytes[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(bytes[end - 1])) {
        --end;
    }
}

// Reading strips blanks and one pair of quotes; quoting keeps such values intact.
QString quotedIfNeeded(const QString& value) {
    const bool enclosed = value.size() >= 2 && value.front() == QLatin1Char('"') && value.back() == QLatin1Char('"');
    if (hasSurroundingBlanks(value) || enclosed) {
        return QLatin1Char('"') + value + QLatin1Char('"');
    }
    return value;
}

void checkNames(const QString& section, const QString& key, const QString& value) {
    if (section.isEmpty() || hasLineBreak(section) || hasSurroundingBlanks(section) ||
        section.contains(QLatin1Char(']'))) {
        throw Error(QCoreApplication::translate("IniFile", "The section name \"%1\" cannot be stored in an INI file.")
                        .arg(section));
    }
    if (key.isEmpty() || hasLineBreak(key) || hasSurroundingBlanks(key) || key.contains(QLatin1Char('=')) ||
        key.startsWith(QLatin1Char(';')) || key.startsWith(QLatin1Char('['))) {
        throw Error(
            QCoreApplication::translate("IniFile", "The key name \"%1\" cannot be stored in an INI file.").arg(key));
    }
    if (hasLineBreak(value)) {
        throw Error(QCoreApplication::translate("IniFile", "The value of \"%1\" cannot contain line breaks.").arg(key));
    }
}

} // namespace

IniFile IniFile::parse(QByteArray bytes) {
    IniFile ini;
    ini.m_bytes = std::move(bytes);
    const QByteArray& data = ini.m_bytes;
    const qsizetype size = data.size();

    qsizetype pos = 0;
    if (data.startsWith(kUtf8Bom)) {
        ini.m_utf8 = true;
        pos = kUtf8Bom.size();
    }
    const qsizetype firstNewline = data.indexOf('\n', pos);
    if (firstNewline >= 0) {
        ini.m_lineBreak =
            firstNewline > 0 && data[firstNewline - 1] == '\r' ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
    }

    // Index of the section that receives keys; -1 before the first section and inside a
    // repeated one, whose keys the first match hides.
    qsizetype current = -1;
    while (pos < size) {
        const qsizetype newline = data.indexOf('\n', pos);
        const qsizetype lineEnd = newline < 0 ? size : newline;
        const qsizetype next = newline < 0 ? size : newline + 1;
        qsizetype contentEnd = lineEnd;
        if (contentEnd > pos && data[contentEnd - 1] == '\r') {
            --contentEnd;
        }
        qsizetype begin = pos;
        qsizetype end = contentEnd;
        trim(data, begin, end);
        pos = next;
        if (begin == end || data[begin] == ';') {
            continue;
        }
        if (data[begin] == '[') {
            const qsizetype close = find(data, ']', begin + 1, end);
            qsizetype nameBegin = begin + 1;
            qsizetype nameEnd = close < 0 ? end : close;
            trim(data, nameBegin, nameEnd);
            const QString folded = ini.decode(nameBegin, nameEnd).toCaseFolded();
            if (ini.m_sectionIndex.contains(folded)) {
                current = -1;
                continue;
            }
            current = static_cast<qsizetype>(ini.m_sections.size());
            ini.m_sectionIndex.insert(folded, current);
            ini.m_sections.push_back(Section{{}, {}, next, newline < 0});
            continue;
        }
        if (current < 0) {
            continue;
        }
        const qsizetype equals = find(data, '=', begin, end);
        if (equals < 0) {
            continue;
        }
        qsizetype keyEnd = equals;
        trim(data, begin, keyEnd);
        if (begin == keyEnd) {
            continue;
        }
        Section& section = ini.m_sections[static_cast<std::size_t>(current)];
        section.appendAt = next;
        section.appendNeedsLineBreak = newline < 0;
        const QString name = ini.decode(begin, keyEnd);
        const QString folded = name.toCaseFolded();
        if (section.index.contains(folded)) {
            continue;
        }
        qsizetype valueBegin = equals + 1;
        qsizetype valueEnd = end;
        trim(data, valueBegin, valueEnd);
        if (valueEnd - valueBegin >= 2 && data[valueBegin] == '"' && data[valueEnd - 1] == '"') {
            ++valueBegin;
            --valueEnd;
        }
        section.index.insert(folded, static_cast<qsizetype>(section.entries.size()));
        section.entries.push_back(Entry{name, ini.decode(valueBegin, valueEnd), equals + 1, contentEnd});
    }
    return ini;
}

IniFile IniFile::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return parse(file.readAll());
}

QString IniFile::value(QAnyStringView section, QAnyStringView key) const {
    const Section* found = findSection(section);
    if (found == nullptr) {
        return {};
    }
    const auto it = found->index.constFind(key.toString().toCaseFolded());
    return it == found->index.cend() ? QString() : found->entries[static_cast<std::size_t>(*it)].value;
}

QStringList IniFile::keys(QAnyStringView section) const {
    QStringList names;
    if (const Section* found = findSection(section)) {
        names.reserve(static_cast<qsizetype>(found->entries.size()));
        for (const Entry& entry : found->entries) {
            names.append(entry.name);
        }
    }
    return names;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    checkNames(section, key, value);
    const QByteArray encodedValue = encode(quotedIfNeeded(value));
    QByteArray bytes = m_bytes;
    if (const Section* found = findSection(section)) {
        const auto it = found->index.constFind(key.toCaseFolded());
        if (it != found->index.cend()) {
            const Entry& entry = found->entries[static_cast<std::size_t>(*it)];
            bytes.replace(entry.valueStart, entry.valueEnd - entry.valueStart, encodedValue);
        } else {
            const QByteArray line = encode(key) + '=' + encodedValue;
            bytes.insert(found->appendAt, found->appendNeedsLineBreak ? m_lineBreak + line : line + m_lineBreak);
        }
    } else {
        if (!bytes.isEmpty() && !bytes.endsWith('\n') && bytes != kUtf8Bom) {
            bytes += m_lineBreak;
        }
        bytes += '[' + encode(section) + ']' + m_lineBreak + encode(key) + '=' + encodedValue + m_lineBreak;
    }
    *this = parse(std::move(bytes));
}

QString IniFile::readString(const QString& path, const QString& section, const QString& key) {
    return load(path).value(section, key);
}

QStringList IniFile::sectionKeys(const QString& path, const QString& section) {
    return load(path).keys(section);
}

void IniFile::writeString(const QString& path, const QString& section, const QString& key, const QString& value) {
    QFile existing(path);
    QByteArray before;
    const bool exists = existing.exists();
    if (exists) {
        // Writing over a file that could not be read would lose its other contents.
        if (!existing.open(QIODevice::ReadOnly)) {
            throw Error(QCoreApplication::translate("IniFile", "Cannot read the file \"%1\": %2")
                            .arg(path, existing.errorString()));
        }
        before = existing.readAll();
        existing.close();
    }
    IniFile ini = parse(before);
    ini.setValue(section, key, value);
    if (exists && ini.bytes() == before) {
        return;
    }
    QSaveFile out(path);
    out.setDirectWriteFallback(true);
    if (!out.open(QIODevice::WriteOnly) || out.write(ini.bytes()) != ini.bytes().size() || !out.commit()) {
        throw Error(
            QCoreApplication::translate("IniFile", "Cannot write the file \"%1\": %2").arg(path, out.errorString()));
    }
}

const IniFile::Section* IniFile::findSection(QAnyStringView name) const {
    const auto it = m_sectionIndex.constFind(name.toString().toCaseFolded());
    return it == m_sectionIndex.cend() ? nullptr : &m_sections[static_cast<std::size_t>(*it)];
}

QString IniFile::decode(qsizetype begin, qsizetype end) const {
    const QByteArrayView bytes(m_bytes.constData() + begin, end - begin);
    if (!m_utf8) {
        return Windows1252::decode(bytes);
    }
    // fromUtf8() would drop a U+FEFF that begins a name or value; only the file's own mark is no text.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return utf8.decode(bytes);
}

QByteArray IniFile::encode(QStringView text) const {
    if (m_utf8) {
        // An unpaired surrogate would be written as a replacement character and never read back.
        if (!text.isValidUtf16()) {
            throw Error(QCoreApplication::translate("IniFile", "\"%1\" is not valid Unicode text.").arg(text));
        }
        return text.toUtf8();
    }
    if (!Windows1252::canEncode(text)) {
        throw Error(QCoreApplication::translate("IniFile", "\"%1\" cannot be written in the Windows-1252 code page.")
                        .arg(text));
    }
    return Windows1252::encode(text);
}

} // namespace korvell
