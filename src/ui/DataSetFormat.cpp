// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "DataSetFormat.h"

#include <QLocale>

namespace korvell {

QString displayText(const QVariant& value, FieldKind kind) {
    if (value.isNull())
        return {};
    switch (kind) {
    case FieldKind::Currency: {
        const QLocale locale;
        bool ok = false;
        const double amount = value.toDouble(&ok);
        if (!ok)
            return value.toString();
        // The C locale has no currency of its own; an amount still reads as one.
        if (locale.language() == QLocale::C)
            return locale.toString(amount, 'f', 2);
        return locale.toCurrencyString(amount);
    }
    case FieldKind::Boolean: {
        // Engines hand truth values over as bool, 0/1 or "t"/"f".
        const QString text = value.toString().trimmed().toLower();
        const bool truth = text == QLatin1String("true") || text == QLatin1String("t") || text == QLatin1String("1");
        return truth ? QStringLiteral("Yes") : QStringLiteral("No");
    }
    case FieldKind::Text:
        break;
    }
    return value.toString();
}

} // namespace korvell
