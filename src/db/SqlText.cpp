// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "db/SqlText.h"

namespace korvell {

QString sqlQuote(const QString& s) {
    QString quoted = s;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString credentialQuery(const QString& userName, const QString& password) {
    return QLatin1String("Select * from utilizadores where username = ") + sqlQuote(userName) +
           QLatin1String(" and password = ") + sqlQuote(password);
}

} // namespace korvell
