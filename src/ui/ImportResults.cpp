// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "ImportResults.h"

#include "DataSetTableModel.h"
#include "Forms.h"
#include "LicenceTreeModel.h"
#include "Login.h"
#include "Main.h"
#include "common/Error.h"
#include "db/Connection.h"
#include "db/ResultsImport.h"
#include "db/SqlDataSet.h"
#include "localisation/Appvars.h"
#include "ui/Fonts.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace korvell {

namespace {

/// A caption bar with its button at the right edge.
QLabel* captionPanel(const QString& objectName, const QString& caption, const QColor& colour, int height,
                     QPushButton* button, QWidget* parent) {
    auto* panel = new QLabel(caption, parent);
    panel->setObjectName(objectName);
    panel->setFixedHeight(height);
    panel->setFont(tahoma(19, true));
    panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, colour);
    panel->setPalette(palette);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 3, 0);
    row->addStretch(1);
    row->addWidget(button, 0, Qt::AlignBottom);
    return panel;
}

QPushButton* importButton(const QString& objectName, const QString& caption, int width) {
    auto* button = new QPushButton(caption);
    button->setObjectName(objectName);
    button->setFont(tahoma(11, true));
    // The design's width, unless a substitute for Tahoma needs more for the caption.
    button->setFixedSize(std::max(width, button->sizeHint().width()), 25);
    return button;
}

SqlDataSet* query(const QString& objectName, const QString& commandText, QObject* parent) {
    auto* dataSet = new SqlDataSet(parent);
    dataSet->setObjectName(objectName);
    dataSet->setCommandText(commandText);
    return dataSet;
}

} // namespace

TFrmImportRes::TFrmImportRes(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("FrmImportRes"));
    setWindowTitle(QStringLiteral("Data Import"));
    setFont(tahoma(11, false));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setSizeGripEnabled(true);

    qryLics = query(QStringLiteral("qryLics"), ResultsImport::licenceListSql(), this);
    qryLics->setParameter(QStringLiteral("parent_user"), QVariant());
    qryProdutos = query(QStringLiteral("qryProdutos"), ResultsImport::productListSql(), this);
    qryGetData = query(QStringLiteral("qryGetData"), QString(), this);

    cxButtonUser = importButton(QStringLiteral("cxButtonUser"), QStringLiteral("Import Per &User"), 128);
    Panel2 = captionPanel(QStringLiteral("Panel2"), QStringLiteral("  LICENSES"), QColor(0xA6, 0xCA, 0xF0), 30,
                          cxButtonUser, this);

    licenceModel = new LicenceTreeModel(
        qryLics,
        {{QStringLiteral("nome"), QStringLiteral("Name"), FieldKind::Text},
         {QStringLiteral("email"), QStringLiteral("Email"), FieldKind::Text},
         {QStringLiteral("volumenegocio"), QStringLiteral("Business Amount"), FieldKind::Currency}},
        this);
    cxDBTreeList1 = new QTreeView;
    cxDBTreeList1->setObjectName(QStringLiteral("cxDBTreeList1"));
    cxDBTreeList1->setModel(licenceModel);
    cxDBTreeList1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    cxDBTreeList1->setSelectionMode(QAbstractItemView::SingleSelection);
    cxDBTreeList1->setSelectionBehavior(QAbstractItemView::SelectRows);
    cxDBTreeList1->setAllColumnsShowFocus(true);
    cxDBTreeList1->setUniformRowHeights(true);
    cxDBTreeList1->header()->setSectionResizeMode(QHeaderView::Stretch);

    cxButtonProduct = importButton(QStringLiteral("cxButtonProduct"), QStringLiteral("&Import per Product"), 120);

    productModel = new DataSetTableModel(
        qryProdutos,
        {{QStringLiteral("sigla"), QStringLiteral("Code"), FieldKind::Text},
         {QStringLiteral("designacao"), QStringLiteral("Description"), FieldKind::Text},
         {QStringLiteral("volumenegocioproduto"), QStringLiteral("Prod. Business Value"), FieldKind::Currency},
         {QStringLiteral("isdivision"), QStringLiteral("Division"), FieldKind::Boolean}},
        this);
    cxGrid1 = new QTableView;
    cxGrid1->setObjectName(QStringLiteral("cxGrid1"));
    cxGrid1->setModel(productModel);
    cxGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    cxGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    cxGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    cxGrid1->verticalHeader()->hide();
    cxGrid1->verticalHeader()->setDefaultSectionSize(cxGrid1->fontMetrics().height() + 6);
    cxGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // A fresh list has its first product current, so the import button has one to take.
    connect(productModel, &QAbstractItemModel::modelReset, cxGrid1, [this] {
        if (productModel->rowCount() > 0)
            cxGrid1->selectRow(0);
    });

    auto* products = new QWidget;
    auto* productColumn = new QVBoxLayout(products);
    productColumn->setContentsMargins(0, 0, 0, 0);
    productColumn->setSpacing(0);
    Panel1 =
        captionPanel(QStringLiteral("Panel1"), QStringLiteral("  PRODUCTS"), Qt::white, 32, cxButtonProduct, products);
    productColumn->addWidget(Panel1);
    productColumn->addWidget(cxGrid1, 1);

    cxSplitter1 = new QSplitter(Qt::Vertical);
    cxSplitter1->setObjectName(QStringLiteral("cxSplitter1"));
    cxSplitter1->setHandleWidth(6);
    cxSplitter1->setChildrenCollapsible(false);
    cxSplitter1->addWidget(cxDBTreeList1);
    cxSplitter1->addWidget(products);
    cxSplitter1->setStretchFactor(1, 1);
    cxSplitter1->setSizes({239, 506 - 30 - 239 - 6 - 20});

    dxStatusBar1 = new QStatusBar;
    dxStatusBar1->setObjectName(QStringLiteral("dxStatusBar1"));
    dxStatusBar1->setFixedHeight(20);
    dxStatusBar1->setSizeGripEnabled(false);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(Panel2);
    column->addWidget(cxSplitter1, 1);
    column->addWidget(dxStatusBar1);

    connect(cxButtonUser, &QPushButton::clicked, this, [this] { guarded(this, [this] { cxButtonUserClick(); }); });
    connect(cxButtonProduct, &QPushButton::clicked, this,
            [this] { guarded(this, [this] { cxButtonProductClick(); }); });
    connect(cxDBTreeList1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { guarded(this, [this] { cxDBTreeList1SelectionChanged(); }); });

    resize(639, 506);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFrmImportRes::FormCreate() {
    if (frmLogin) {
        qryLics->setConnection(frmLogin->ADOConnection1);
        qryProdutos->setConnection(frmLogin->ADOConnection1);
        qryGetData->setConnection(frmLogin->ADOConnection1);
    }
}

void TFrmImportRes::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        guarded(this, [this] { FormShow(); });
}

void TFrmImportRes::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        guarded(this, [this] { FormClose(); });
}

void TFrmImportRes::FormShow() {
    qryLics->close();
    qryLics->setParameter(QStringLiteral("parent_user"), AppUser.CurrentUserId);
    qryLics->open();
    if (!qryLics->isEmpty()) {
        // The tree focuses its first node, as a freshly loaded tree list does.
        if (!cxDBTreeList1->currentIndex().isValid())
            cxDBTreeList1->setCurrentIndex(licenceModel->index(0, 0));
        qryProdutos->setParameter(QStringLiteral("idlicensa"), currentLicenceField(QStringLiteral("LicUser")));
    }
    qryProdutos->open();
}

void TFrmImportRes::FormClose() {
    qryLics->close();
    qryProdutos->close();
    qryGetData->close();
}

void TFrmImportRes::cxDBTreeList1SelectionChanged() {
    qryProdutos->close();
    const QModelIndex current = cxDBTreeList1->currentIndex();
    if (qryLics->isOpen() && !qryLics->isEmpty() && current.isValid()) {
        qryProdutos->setParameter(QStringLiteral("idlicensa"), currentLicenceField(QStringLiteral("LicUser")));
        qryProdutos->open();
    }
}

void TFrmImportRes::cxButtonUserClick() {
    if (qryLics->isEmpty())
        return;
    FImportProductId = ResultsImport::perUserProductId();
    FImportUserId = currentLicenceField(QStringLiteral("idutilizador"));
    ImportData();
}

void TFrmImportRes::cxButtonProductClick() {
    if (qryProdutos->isEmpty())
        return;
    const QModelIndexList selected = cxGrid1->selectionModel()->selectedRows();
    const int row = selected.isEmpty() ? 0 : selected.first().row();
    FImportProductId = productModel->fieldValue(row, QStringLiteral("idproduto")).toString();
    FImportUserId = currentLicenceField(QStringLiteral("LicUser"));
    ImportData();
}

void TFrmImportRes::ImportData() {
    TFormKorvell* map = FormKorvell;
    if (!map)
        throw Error(QStringLiteral("The map window is not open."));
    BusyCursor busy;
    ResultsImport pipeline(*qryGetData, *map->memCoord, *map->mapModel(), [map](bool on) { map->FImporting = on; });
    pipeline.run(FImportUserId, FImportProductId);
}

QString TFrmImportRes::currentLicenceField(const QString& field) const {
    return licenceModel->fieldValue(cxDBTreeList1->currentIndex(), field).toString();
}

bool CredentialsStillValid() {
    if (frmLogin == nullptr || !frmLogin->ADOConnection1->isOpen()) {
        return false;
    }
    try {
        return !frmLogin->ADOConnection1->queryCredentials(AppUser.CurrentUserName, AppUser.CurrentPassword).isEmpty();
    } catch (const std::exception&) {
        // Any trouble means the user must log in again; the check itself reports nothing.
        return false;
    }
}

} // namespace korvell
