// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "db/ExecCall.h"

#include "common/Error.h"

namespace korvell {

namespace {

bool isIdentifierStart(QChar c) {
    return c == QLatin1Char('_') || (c.isLetter() && c.unicode() < 128);
}

bool isIdentifierPart(QChar c) {
    return isIdentifierStart(c) || (c.isDigit() && c.unicode() < 128);
}

class Scanner {
public:
    explicit Scanner(const QString& text)
        : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text.at(m_pos); }

    bool accept(QChar c) {
        if (atEnd() || peek() != c) {
            return false;
        }
        ++m_pos;
        return true;
    }

    void skipBlanks() {
        while (!atEnd() && peek().isSpace()) {
            ++m_pos;
        }
    }

    QString identifier() {
        const qsizetype start = m_pos;
        if (!atEnd() && isIdentifierStart(peek())) {
            ++m_pos;
            while (!atEnd() && isIdentifierPart(peek())) {
                ++m_pos;
            }
        }
        return m_text.mid(start, m_pos - start);
    }

    QVariant literal() {
        if (peek() == QLatin1Char('N') || peek() == QLatin1Char('n')) {
            if (m_pos + 1 < m_text.size() && m_text.at(m_pos + 1) == QLatin1Char('\'')) {
                ++m_pos;
            }
        }
        if (peek() == QLatin1Char('\'')) {
            return quoted();
        }
        if (peek() == QLatin1Char('-') || peek() == QLatin1Char('+') || peek().isDigit()) {
            return number();
        }
        const qsizetype start = m_pos;
        const QString word = identifier();
        if (word.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0) {
            return QVariant();
        }
        m_pos = start;
        throw fail(QStringLiteral("expected a quoted value, a number or NULL"));
    }

    Error fail(const QString& what) const {
        return Error(QStringLiteral("Malformed procedure call: %1 at position %2.").arg(what).arg(m_pos + 1));
    }

private:
    QString quoted() {
        QString value;
        ++m_pos;
        while (!atEnd()) {
            const QChar c = peek();
            ++m_pos;
            if (c == QLatin1Char('\'')) {
                if (peek() != QLatin1Char('\'')) {
                    return value;
                }
                ++m_pos;
            }
            value += c;
        }
        throw fail(QStringLiteral("a quoted value is not closed"));
    }

    QVariant number() {
        const qsizetype start = m_pos;
        if (peek() == QLatin1Char('-') || peek() == QLatin1Char('+')) {
            ++m_pos;
        }
        bool fraction = false;
        while (!atEnd() && (peek().isDigit() || (peek() == QLatin1Char('.') && !fraction))) {
            fraction = fraction || peek() == QLatin1Char('.');
            ++m_pos;
        }
        const QString text = m_text.mid(start, m_pos - start);
        bool ok = false;
        if (fraction) {
            const double value = text.toDouble(&ok);
            if (ok) {
                return value;
            }
        } else {
            const qlonglong value = text.toLongLong(&ok);
            if (ok) {
                return value;
            }
        }
        m_pos = start;
        throw fail(QStringLiteral("a number cannot be read"));
    }

    const QString& m_text;
    qsizetype m_pos = 0;
};

} // namespace

std::optional<ExecCall> ExecCall::parse(const QString& statement) {
    Scanner scanner(statement);
    scanner.skipBlanks();
    const QString keyword = scanner.identifier();
    if (keyword.compare(QLatin1String("EXEC"), Qt::CaseInsensitive) != 0 &&
        keyword.compare(QLatin1String("EXECUTE"), Qt::CaseInsensitive) != 0) {
        return std::nullopt;
    }
    scanner.skipBlanks();
    ExecCall call;
    call.procedure = scanner.identifier();
    if (call.procedure.isEmpty()) {
        throw scanner.fail(QStringLiteral("expected a procedure name"));
    }
    scanner.skipBlanks();
    if (!scanner.atEnd() && scanner.peek() != QLatin1Char(';')) {
        call.arguments << scanner.literal();
        scanner.skipBlanks();
        while (scanner.accept(QLatin1Char(','))) {
            scanner.skipBlanks();
            call.arguments << scanner.literal();
            scanner.skipBlanks();
        }
    }
    if (scanner.accept(QLatin1Char(';'))) {
        scanner.skipBlanks();
    }
    if (!scanner.atEnd()) {
        throw scanner.fail(QStringLiteral("unexpected text"));
    }
    return call;
}

} // namespace korvell
