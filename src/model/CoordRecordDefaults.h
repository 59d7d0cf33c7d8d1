// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace korvell {

class CoordTable;

/// A new GUID in registry text form: braces, upper-case hexadecimal digits, 38 characters.
QString newGuidText();

/// "<" + word + ">" with only the ASCII letters a..z raised to upper case.
QString placeholderProduct(const QString& productWord);

/**
 * `InitCoordRecord`: fills the table's record in insert state with the defaults of a new product
 * (a new GUID, the placeholder product, radius 0.4, 5.0 in every score field, no colour) and posts it.
 * productWord is the catalogue text `WORD_Product`.
 */
void initCoordRecord(CoordTable& table, const QString& productWord);

} // namespace korvell
