// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>

namespace korvell {

class CoordTable;

/// The map window.
class TFormKorvell : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormKorvell(QWidget* parent = nullptr);
    ~TFormKorvell() override;

    void FormCreate();

    CoordTable* memCoord = nullptr;
    bool FImporting = false;
    bool FClosing = false;

private:
    void memCoordNewRecord(CoordTable* dataSet);
};

} // namespace korvell
