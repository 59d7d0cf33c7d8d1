// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <exception>
#include <utility>

namespace korvell {

/// The one exception type of the program: its text is what the user reads in the error report.
class Error : public std::exception {
public:
    explicit Error(QString text)
        : m_text(std::move(text))
        , m_utf8(m_text.toUtf8()) {}
    const QString& text() const { return m_text; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};

} // namespace korvell
