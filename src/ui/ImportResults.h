// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTableView;
class QTreeView;

namespace korvell {

class DataSetTableModel;
class LicenceTreeModel;
class SqlDataSet;

/**
 * The import window: the logged-in user's licence holders with their respondents, the products
 * of the chosen licence holder, and the two buttons that import per user or per product into the
 * map window's table. Shown modally over the map window; stays open after an import.
 */
class TFrmImportRes : public QDialog {
    Q_OBJECT
public:
    explicit TFrmImportRes(QWidget* parent = nullptr);

    /// Puts the three queries on the login window's connection.
    void FormCreate();
    /// Lists the licence holders of the logged-in user and the products of the current one.
    void FormShow();
    void FormClose();
    void cxDBTreeList1SelectionChanged();
    void cxButtonUserClick();
    void cxButtonProductClick();
    /// Replaces the map window's table with the results for FImportUserId and FImportProductId.
    void ImportData();

    QLabel* Panel2 = nullptr;
    QPushButton* cxButtonUser = nullptr;
    QTreeView* cxDBTreeList1 = nullptr;
    QSplitter* cxSplitter1 = nullptr;
    QLabel* Panel1 = nullptr;
    QPushButton* cxButtonProduct = nullptr;
    QTableView* cxGrid1 = nullptr;
    QStatusBar* dxStatusBar1 = nullptr;

    SqlDataSet* qryLics = nullptr;
    SqlDataSet* qryProdutos = nullptr;
    SqlDataSet* qryGetData = nullptr;
    LicenceTreeModel* licenceModel = nullptr;
    DataSetTableModel* productModel = nullptr;

    QString FImportUserId;
    QString FImportProductId;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    /// A field of the current tree node as text; empty without one.
    QString currentLicenceField(const QString& field) const;
};

/// Whether the login window's connection is open and the stored user name and password still
/// find a user row. Never raises: a closed connection, no row and any error give false.
bool CredentialsStillValid();

} // namespace korvell
