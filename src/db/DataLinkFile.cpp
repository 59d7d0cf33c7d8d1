// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "db/DataLinkFile.h"

#include "common/Error.h"

#include <QFile>
#include <QStringDecoder>

namespace korvell {

namespace {

// A data-link file is a few hundred bytes; anything much larger is not one.
constexpr qint64 maxFileSize = 64 * 1024;

Error malformed(const QString& why) {
    return Error(QStringLiteral("The data-link file is not valid: %1").arg(why));
}

QString toText(const QByteArray& bytes) {
    QStringDecoder::Encoding encoding = QStringDecoder::Utf8;
    qsizetype skip = 0;
    if (bytes.startsWith("\xFF\xFE")) {
        encoding = QStringDecoder::Utf16LE;
        skip = 2;
    } else if (bytes.startsWith("\xFE\xFF")) {
        encoding = QStringDecoder::Utf16BE;
        skip = 2;
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        skip = 3;
    }
    if (encoding != QStringDecoder::Utf8 && (bytes.size() - skip) % 2 != 0) {
        throw malformed(QStringLiteral("its UTF-16 text has an odd number of bytes."));
    }
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(QByteArrayView(bytes).sliced(skip));
    if (decoder.hasError()) {
        throw malformed(QStringLiteral("its text is neither UTF-16 nor UTF-8."));
    }
    return text;
}

} // namespace

QString DataLinkFile::decode(const QByteArray& bytes) {
    const QString text = toText(bytes);
    bool headerSeen = false;
    for (const QString& rawLine : text.split(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty()) {
            continue;
        }
        if (!headerSeen) {
            if (line.compare(QLatin1String("[oledb]"), Qt::CaseInsensitive) != 0) {
                throw malformed(QStringLiteral("its first line is not \"[oledb]\"."));
            }
            headerSeen = true;
            continue;
        }
        if (line.startsWith(QLatin1Char(';'))) {
            continue;
        }
        return line;
    }
    throw malformed(headerSeen ? QStringLiteral("it holds no connection string.") : QStringLiteral("it is empty."));
}

QString DataLinkFile::read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw Error(QStringLiteral("Cannot read the data-link file \"%1\": %2").arg(path, file.errorString()));
    }
    if (file.size() > maxFileSize) {
        throw malformed(QStringLiteral("\"%1\" is too large.").arg(path));
    }
    return decode(file.readAll());
}

} // namespace korvell
