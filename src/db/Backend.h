// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <memory>

class QSqlDatabase;
class QSqlError;

namespace korvell {

class OleDbString;

/// What differs between the database engines behind a Connection: the Qt driver, how the
/// connection settings reach it, the checks after opening, and how a T-SQL procedure call
/// becomes the engine's own call of the procedure stored in its database.
class Backend {
public:
    /// A statement ready to run: its text and the values of its named placeholders.
    struct Statement {
        QString sql;
        QVariantMap bindings;
    };

    virtual ~Backend() = default;

    /// The backend of the provider that settings name. Throws Error when there is none or it is
    /// unknown.
    static std::unique_ptr<Backend> create(const OleDbString& settings);

    virtual QString driverName() const = 0;
    /// Checks the settings and passes them to db. Throws Error for a setting that cannot work.
    virtual void configure(QSqlDatabase& db, const OleDbString& settings) const = 0;
    /// Runs once the driver has opened db. Throws Error when the database cannot be used.
    virtual void prepareSession(QSqlDatabase& db) const;
    /// The statement to run for sql; only a procedure call is rewritten.
    virtual Statement translate(QSqlDatabase& db, const QString& sql) const;
    /// The driver's text of error, stripped of anything that may repeat statement text.
    virtual QString errorText(const QSqlError& error) const;

protected:
    Backend() = default;
    /// Throws Error for a keyword that is neither common to all providers nor in extra.
    static void requireKnownKeywords(const OleDbString& settings, const QStringList& extra = {});
    /// "Connect Timeout" in seconds, or fallback when it is not given.
    static int connectTimeout(const OleDbString& settings, int fallback);
};

} // namespace korvell
