// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "Forms.h"

#include <QPointer>
#include <QWidget>

namespace korvell {

TfrmLogin* frmLogin = nullptr;
TFrmImportRes* FrmImportRes = nullptr;
TFormKorvell* FormKorvell = nullptr;

namespace {
QPointer<QWidget>& mainFormRef() {
    static QPointer<QWidget> form;
    return form;
}
} // namespace

QWidget* Forms::mainForm() {
    return mainFormRef();
}

void Forms::creationCompleted(QWidget* form) {
    if (!mainFormRef()) {
        mainFormRef() = form;
    }
}

void Forms::reset() {
    mainFormRef() = nullptr;
    frmLogin = nullptr;
    FrmImportRes = nullptr;
    FormKorvell = nullptr;
}

} // namespace korvell
