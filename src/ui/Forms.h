// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

namespace korvell {

class TfrmLogin;
class TFrmImportRes;
class TFormKorvell;

/// The three windows of the program; each is set before the window's creation handler runs.
extern TfrmLogin* frmLogin;
extern TFrmImportRes* FrmImportRes;
extern TFormKorvell* FormKorvell;

namespace Forms {

/// The application's main window: the first window whose creation completed.
QWidget* mainForm();
/// Records that a window's creation completed (the first one becomes the main window).
void creationCompleted(QWidget* form);
/// Forgets the windows (tests create and destroy them repeatedly).
void reset();

/// Creates a window: the object (its design), then the reference, then its creation handler.
template <class T> T* create(T*& reference) {
    reference = new T();
    reference->FormCreate();
    creationCompleted(reference);
    return reference;
}

} // namespace Forms

} // namespace korvell
