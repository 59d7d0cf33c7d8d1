// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

namespace korvell {

/// An OLE DB data-link file (".udl"): an "[oledb]" line, comment lines beginning with ";", then
/// the OLE DB connection string. Windows writes it in UTF-16LE with a byte-order mark; UTF-8
/// files (with or without their mark) are read too.
class DataLinkFile {
public:
    /// The connection string held by the file at path. Throws Error when the file cannot be
    /// read or is not a data-link file.
    static QString read(const QString& path);
    /// The connection string held by the bytes of a data-link file. Throws Error when they are
    /// not a data-link file.
    static QString decode(const QByteArray& bytes);
};

} // namespace korvell
