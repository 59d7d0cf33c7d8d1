// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "Login.h"

namespace korvell {

TfrmLogin::TfrmLogin(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Login"));
    setFixedSize(308, 202);
}

void TfrmLogin::FormCreate() {}

} // namespace korvell
