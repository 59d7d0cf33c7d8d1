// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

namespace korvell {

/// The import window.
class TFrmImportRes : public QDialog {
    Q_OBJECT
public:
    explicit TFrmImportRes(QWidget* parent = nullptr);

    void FormCreate();
};

} // namespace korvell
