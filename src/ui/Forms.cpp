// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "Forms.h"

#include "ImportResults.h"
#include "Login.h"
#include "Main.h"

#include <QCoreApplication>
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

std::function<void()>& installedTerminator() {
    static std::function<void()> terminator;
    return terminator;
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

void Forms::destroyAll() {
    delete FormKorvell;
    delete FrmImportRes;
    delete frmLogin;
    reset();
}

void Forms::start() {
    // A login accepted during the login window's creation creates the map window there; that
    // window then completes first and becomes the main window.
    create(frmLogin);
    create(FrmImportRes);
    if (!FormKorvell) {
        create(FormKorvell);
    }
    if (QWidget* main = mainForm()) {
        main->show();
    }
}

void Forms::terminate() {
    if (const std::function<void()>& terminator = installedTerminator()) {
        terminator();
        return;
    }
    // exit() rather than quit(): quit() would first try to close every window, and the map
    // window answers a close with its confirmation question.
    QCoreApplication::exit(0);
}

void Forms::setTerminator(std::function<void()> terminator) {
    installedTerminator() = std::move(terminator);
}

} // namespace korvell
