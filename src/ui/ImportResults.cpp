// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "ImportResults.h"

namespace korvell {

TFrmImportRes::TFrmImportRes(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FrmImportRes"));
    setWindowTitle(QStringLiteral("Data Import"));
}

void TFrmImportRes::FormCreate() {}

} // namespace korvell
