// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include "Dialogs.h"

#include <QObject>

#include <functional>

class QWidget;

namespace korvell {

class TfrmLogin;
class TFrmImportRes;
class TFormKorvell;

/// The three windows of the program; each is set before the window's creation handler runs and
/// is cleared when its window is destroyed.
extern TfrmLogin* frmLogin;
extern TFrmImportRes* FrmImportRes;
extern TFormKorvell* FormKorvell;

namespace Forms {

/// The application's main window: the first window whose creation completed.
QWidget* mainForm();
/// Records that a window's creation completed (the first one becomes the main window).
void creationCompleted(QWidget* form);
/// Forgets the windows without destroying them.
void reset();
/// Destroys the windows that exist (map, import, then login window, which owns the connection)
/// and forgets them.
void destroyAll();

/// Creates the three windows in their order (login, import, then the map window unless the
/// login's creation made it) and shows the main window.
void start();

/// Ends the application: the message loop is left and the program returns from its entry.
void terminate();
/// Replaces what terminate() does until reset with an empty function (tests only, since leaving
/// the message loop while none runs would stop every later nested loop of the test).
void setTerminator(std::function<void()> terminator);

/// Creates a window: the object (its design), then the reference, then its creation handler. An
/// error of the creation handler goes to the standard error report and the window is kept.
template <class T> T* create(T*& reference) {
    T* form = new T();
    reference = form;
    QObject::connect(form, &QObject::destroyed, [&reference, form] {
        if (reference == form) {
            reference = nullptr;
        }
    });
    guarded(form, [form] { form->FormCreate(); });
    creationCompleted(form);
    return form;
}

} // namespace Forms

} // namespace korvell
