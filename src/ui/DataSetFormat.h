// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariant>

namespace korvell {

/// How the lists of the import window show a database value.
enum class FieldKind { Text, Currency, Boolean };

/// One visible column of a list over a dataset: the field it shows, its caption and its kind.
struct DataSetColumn {
    QString field;
    QString caption;
    FieldKind kind = FieldKind::Text;
};

/// The display text of value: amounts with the locale's currency, truth values as Yes / No.
QString displayText(const QVariant& value, FieldKind kind);

} // namespace korvell
