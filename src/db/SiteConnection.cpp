// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "db/SiteConnection.h"

#include "db/SiteValues.h"

namespace korvell {

namespace {

QString siteConnectionString() {
    // The leading blank and the blank after the first ";" are part of the string's known form.
    return QStringLiteral(" Provider=SQLOLEDB.1; Password=%1;Persist Security Info=True;User ID=%2;"
                          "Initial Catalog=%3;Data Source=%4")
        .arg(QString::fromUtf8(KORVELL_SITE_PASSWORD), QString::fromUtf8(KORVELL_SITE_USER),
             QString::fromUtf8(KORVELL_SITE_CATALOG), QString::fromUtf8(KORVELL_SITE_SERVER));
}

} // namespace

QString builtInConnectionString() {
    return siteConnectionString();
}

QString reconnectConnectionString() {
    return siteConnectionString();
}

} // namespace korvell
