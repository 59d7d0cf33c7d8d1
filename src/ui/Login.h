// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

namespace korvell {

/// The login window.
class TfrmLogin : public QWidget {
    Q_OBJECT
public:
    explicit TfrmLogin(QWidget* parent = nullptr);

    void FormCreate();
};

} // namespace korvell
