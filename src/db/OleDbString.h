// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace korvell {

/// An OLE DB connection string: keyword=value pairs separated by ";". Keywords are matched
/// without regard to case or to the blanks around and inside them; values may be quoted.
class OleDbString {
public:
    /// Throws Error when a part is not keyword=value or a quoted value is not closed. Error texts
    /// never repeat a value, since one of them may be a password.
    static OleDbString parse(const QString& text);

    /// The keyword as it is compared: lower case, single blanks, no blanks around it.
    static QString normalisedKeyword(const QString& keyword);

    bool contains(const QString& keyword) const;
    /// The value of the last occurrence of keyword, or an empty string.
    QString value(const QString& keyword) const;
    /// The normalised keywords in the order of first appearance.
    QStringList keywords() const;
    /// Sets keyword to value, replacing an earlier value.
    void set(const QString& keyword, const QString& value);
    void remove(const QString& keyword);

private:
    QList<std::pair<QString, QString>> m_pairs;
};

} // namespace korvell
