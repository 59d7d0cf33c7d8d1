// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
//
// Input: one SQL statement in UTF-8. A procedure call that reads must read the same when written
// again, and its translation must carry the name and every argument and be no call itself.
#include "FuzzCheck.h"

#include "common/Error.h"
#include "db/ExecCall.h"
#include "db/PostgresBackend.h"
#include "db/SqlText.h"
#include "db/SqliteBackend.h"

#include <QLocale>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

#include <cmath>
#include <optional>

using korvell::Error;
using korvell::ExecCall;
using korvell::PostgresBackend;
using korvell::SqliteBackend;
using korvell::fuzz::check;

namespace {

bool isIdentifier(const QString& name) {
    if (name.isEmpty() || name.front().isDigit()) {
        return false;
    }
    for (const QChar c : name) {
        if (c.unicode() >= 128 || !(c.isLetterOrNumber() || c == QLatin1Char('_'))) {
            return false;
        }
    }
    return true;
}

// The literal that reads back as argument: numbers in plain notation, since calls have no exponents.
QString literal(const QVariant& argument) {
    if (argument.isNull()) {
        return QStringLiteral("NULL");
    }
    if (argument.typeId() == QMetaType::QString) {
        return korvell::sqlQuote(argument.toString());
    }
    if (argument.typeId() == QMetaType::LongLong) {
        return QString::number(argument.toLongLong());
    }
    const double value = argument.toDouble();
    QString text = QString::number(value, 'f', QLocale::FloatingPointShortest);
    if (value == 0 && std::signbit(value)) {
        text = QStringLiteral("-0");
    }
    if (!text.contains(QLatin1Char('.'))) {
        text += QStringLiteral(".0");
    }
    return text;
}

bool sameArgument(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull() || a.typeId() != b.typeId()) {
        return a.isNull() == b.isNull() && a.typeId() == b.typeId();
    }
    if (a.typeId() == QMetaType::Double) {
        return a.toDouble() == b.toDouble() && std::signbit(a.toDouble()) == std::signbit(b.toDouble());
    }
    return a == b;
}

// An in-memory SQLite database with procedures as the demo database stores them: one taking the
// import's four arguments (with blanks in its parameter list), one taking none.
QSqlDatabase& sqliteProcedures() {
    static QSqlDatabase db = [] {
        QSqlDatabase created = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fuzz"));
        created.setDatabaseName(QStringLiteral(":memory:"));
        created.open();
        QSqlQuery setup(created);
        setup.exec(QStringLiteral("CREATE TABLE procedures (name TEXT, params TEXT, body TEXT)"));
        setup.exec(QStringLiteral("INSERT INTO procedures VALUES ('selectgrafico_map', 'group, user,product,qtype', "
                                  "'SELECT :group, :user, :product, :qtype'), ('p', '', 'SELECT 1')"));
        return created;
    }();
    return db;
}

void checkSqliteTranslation(const QString& statement, const ExecCall& call) {
    QSqlDatabase& db = sqliteProcedures();
    check(db.isOpen(), "the SQLite procedures are there");
    SqliteBackend::Statement translated;
    try {
        translated = SqliteBackend().translate(db, statement);
    } catch (const Error&) {
        return;
    }
    static const QStringList fourParameters = {QStringLiteral(":group"), QStringLiteral(":user"),
                                               QStringLiteral(":product"), QStringLiteral(":qtype")};
    const QStringList parameters = call.arguments.isEmpty() ? QStringList() : fourParameters;
    check(translated.bindings.size() == call.arguments.size() && parameters.size() == call.arguments.size(),
          "the SQLite translation binds one parameter per argument", statement);
    check(translated.sql == (parameters.isEmpty() ? QStringLiteral("SELECT 1")
                                                  : QStringLiteral("SELECT ") + parameters.join(QLatin1String(", "))),
          "the SQLite translation runs the stored body", translated.sql);
    for (qsizetype i = 0; i < parameters.size(); ++i) {
        check(sameArgument(translated.bindings.value(parameters.at(i)), call.arguments.at(i)),
              "the SQLite translation binds the arguments in call order", statement);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString statement = QString::fromUtf8(korvell::fuzz::bytesOf(data, size));
    static QSqlDatabase db;
    const PostgresBackend backend;

    std::optional<ExecCall> call;
    try {
        call = ExecCall::parse(statement);
    } catch (const Error&) {
        return 0;
    }
    if (!call) {
        const auto unchanged = backend.translate(db, statement);
        check(unchanged.sql == statement && unchanged.bindings.isEmpty(), "other statements pass unchanged");
        return 0;
    }
    check(isIdentifier(call->procedure), "a procedure name is a plain identifier", call->procedure);
    for (const QVariant& argument : call->arguments) {
        const int type = argument.typeId();
        check(argument.isNull() || type == QMetaType::QString || type == QMetaType::LongLong ||
                  (type == QMetaType::Double && std::isfinite(argument.toDouble())),
              "an argument is a text, a whole number, a finite number or NULL", argument.toString());
    }

    QStringList literals;
    for (const QVariant& argument : call->arguments) {
        literals << literal(argument);
    }
    const QString written = QStringLiteral("EXEC %1 %2").arg(call->procedure, literals.join(QLatin1String(", ")));
    std::optional<ExecCall> again;
    try {
        again = ExecCall::parse(written);
    } catch (const Error& error) {
        check(false, "a written call reads again", written + QLatin1Char('\n') + error.text());
    }
    check(again && again->procedure == call->procedure && again->arguments.size() == call->arguments.size(),
          "a written call keeps its name and its number of arguments", written);
    for (qsizetype i = 0; i < call->arguments.size(); ++i) {
        check(sameArgument(again->arguments.at(i), call->arguments.at(i)), "a written call keeps its arguments",
              written);
    }

    const auto translated = backend.translate(db, statement);
    QStringList placeholders;
    for (qsizetype i = 0; i < call->arguments.size(); ++i) {
        const QString name = QStringLiteral(":a%1").arg(i + 1);
        placeholders << name;
        check(sameArgument(translated.bindings.value(name), call->arguments.at(i)),
              "the translation binds every argument", translated.sql);
    }
    check(translated.bindings.size() == call->arguments.size(), "the translation binds nothing else", translated.sql);
    check(translated.sql ==
              QStringLiteral("SELECT * FROM %1(%2)").arg(call->procedure, placeholders.join(QLatin1String(", "))),
          "the translation calls the named function with placeholders only", translated.sql);
    checkSqliteTranslation(statement, *call);

    std::optional<ExecCall> translatedCall;
    try {
        translatedCall = ExecCall::parse(translated.sql);
    } catch (const Error&) {
        check(false, "the translation is a statement that reads", translated.sql);
    }
    check(!translatedCall, "the translation is no procedure call", translated.sql);
    return 0;
}
