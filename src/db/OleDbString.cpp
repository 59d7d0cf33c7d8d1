// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "db/OleDbString.h"

#include "common/Error.h"

namespace korvell {

namespace {

// Reads a value that begins at text[pos] with a quote character; a doubled quote stands for itself.
QString readQuoted(const QString& text, qsizetype& pos) {
    const QChar quote = text.at(pos);
    QString value;
    ++pos;
    while (pos < text.size()) {
        if (text.at(pos) == quote) {
            if (pos + 1 < text.size() && text.at(pos + 1) == quote) {
                value += quote;
                pos += 2;
                continue;
            }
            ++pos;
            return value;
        }
        value += text.at(pos);
        ++pos;
    }
    throw Error(QStringLiteral("The connection string has a quoted value without its "
                               "closing quote."));
}

} // namespace

QString OleDbString::normalisedKeyword(const QString& keyword) {
    return keyword.simplified().toLower();
}

OleDbString OleDbString::parse(const QString& text) {
    OleDbString result;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype semicolon = text.indexOf(QLatin1Char(';'), pos);
        const qsizetype end = semicolon < 0 ? text.size() : semicolon;
        // Only this part is searched, so that a long run of parts stays linear.
        const qsizetype found = QStringView(text).sliced(pos, end - pos).indexOf(QLatin1Char('='));
        const qsizetype equals = found < 0 ? -1 : pos + found;
        if (equals < 0) {
            if (!text.mid(pos, end - pos).trimmed().isEmpty()) {
                throw Error(QStringLiteral("The connection string has a part that is not keyword=value."));
            }
            pos = end + 1;
            continue;
        }
        const QString keyword = normalisedKeyword(text.mid(pos, equals - pos));
        if (keyword.isEmpty()) {
            throw Error(QStringLiteral("The connection string has a value without keyword."));
        }
        pos = equals + 1;
        while (pos < text.size() && text.at(pos).isSpace()) {
            ++pos;
        }
        QString value;
        if (pos < text.size() && (text.at(pos) == QLatin1Char('"') || text.at(pos) == QLatin1Char('\''))) {
            value = readQuoted(text, pos);
            while (pos < text.size() && text.at(pos).isSpace()) {
                ++pos;
            }
            if (pos < text.size() && text.at(pos) != QLatin1Char(';')) {
                throw Error(QStringLiteral("The connection string has text after the quoted value of "
                                           "\"%1\".")
                                .arg(keyword));
            }
            ++pos;
        } else {
            value = text.mid(pos, end - pos).trimmed();
            pos = end + 1;
        }
        result.set(keyword, value);
    }
    return result;
}

bool OleDbString::contains(const QString& keyword) const {
    const QString key = normalisedKeyword(keyword);
    for (const auto& pair : m_pairs) {
        if (pair.first == key) {
            return true;
        }
    }
    return false;
}

QString OleDbString::value(const QString& keyword) const {
    const QString key = normalisedKeyword(keyword);
    for (const auto& pair : m_pairs) {
        if (pair.first == key) {
            return pair.second;
        }
    }
    return {};
}

QStringList OleDbString::keywords() const {
    QStringList result;
    for (const auto& pair : m_pairs) {
        result << pair.first;
    }
    return result;
}

void OleDbString::set(const QString& keyword, const QString& value) {
    const QString key = normalisedKeyword(keyword);
    for (auto& pair : m_pairs) {
        if (pair.first == key) {
            pair.second = value;
            return;
        }
    }
    m_pairs.append({key, value});
}

void OleDbString::remove(const QString& keyword) {
    const QString key = normalisedKeyword(keyword);
    m_pairs.removeIf([&key](const auto& pair) { return pair.first == key; });
}

} // namespace korvell
