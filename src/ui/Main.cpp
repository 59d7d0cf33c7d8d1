// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "Main.h"

#include "localisation/Appvars.h"
#include "model/CoordRecordDefaults.h"
#include "model/CoordTable.h"

namespace korvell {

TFormKorvell::TFormKorvell(QWidget* parent)
    : QMainWindow(parent)
    , memCoord(new CoordTable(this)) {
    setObjectName(QStringLiteral("FormKorvell"));
    setWindowTitle(QStringLiteral(" KORVELL®  v.2.1"));
    memCoord->setObjectName(QStringLiteral("memCoord"));
    connect(memCoord, &CoordTable::newRecord, this, &TFormKorvell::memCoordNewRecord);
}

TFormKorvell::~TFormKorvell() = default;

void TFormKorvell::FormCreate() {
    memCoord->open();
    memCoord->append();
}

void TFormKorvell::memCoordNewRecord(CoordTable* dataSet) {
    if (!FImporting) {
        initCoordRecord(*dataSet, AppTexts.WORD_Product);
    }
}

} // namespace korvell
