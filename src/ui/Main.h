// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include "model/MatrixCatalogue.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <array>

class QAction;
class QActionGroup;
class QDoubleSpinBox;
class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolButton;

namespace korvell {

class CoordTable;
class DragPointTool;
class MapModel;
class MatrixChart;
class TXLabel;
class QuestionsGrid;
class ValuesGrid;

/**
 * The map window: the fourteen matrices on their tabs, the values grid, the language menu and
 * the picture export. The handlers keep the names of the window's design; each runs guarded,
 * so an error it raises ends in the standard error report.
 */
class TFormKorvell : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormKorvell(QWidget* parent = nullptr);
    ~TFormKorvell() override;

    void FormCreate();
    /// Asks whether the window may close; a pending grid change is discarded first.
    void FormCloseQuery(bool& CanClose);
    /// Saves the language, empties the table, closes the connection and ends the application.
    void FormClose();

    void cxPageControl1PageChanging();
    void cxPageControl1Change();
    void Chart1DblClick(MatrixChart* Sender);
    void cxButton1Click();
    void cxButton2Click();
    void cxButtonCloseClick();
    void cxTabSheet1Show();

    void ChartValorMouseMove(MatrixChart* Sender, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void ChartValorMouseUp(MatrixChart* Sender);
    void Chart1ContextPopup(MatrixChart* Sender);
    void pop_opt_minorgridClick();
    void pop_opt_ShowAllClick();
    void pop_opt_HideAllClick();
    void Timer1Timer();

    /// Loads the language file (relative to the program's folder) or the built-in texts and puts them on the window.
    void ApplyLanguage(const QString& fileName);
    void PopupItemClick();
    /// Appends one blank to the caption of every TXLabel of the window (done once, at creation).
    void PadXLabelCaptions();

    /// The chart of a catalogue entry (MatrixIndex, `DBChart3` included).
    MatrixChart* chart(int index) const { return m_charts[static_cast<std::size_t>(index)]; }
    /// A chart by its component name; nullptr when there is none.
    MatrixChart* chart(const QString& name) const;
    MapModel* mapModel() const { return m_model; }

    CoordTable* memCoord = nullptr;
    bool FImporting = false;
    bool FClosing = false;
    QPointer<QWidget> FPreviousPage;
    QPointer<MatrixChart> FPopupChart;

    QWidget* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* LHint = nullptr;
    TXLabel* Label1 = nullptr;
    QDoubleSpinBox* cxSpinRadius = nullptr;
    QToolButton* cxButtonClose = nullptr;
    QPushButton* cxButton1 = nullptr;
    QPushButton* cxButton2 = nullptr;
    QToolButton* cxButton4 = nullptr;
    QMenu* PopupMenu1 = nullptr;

    QTabWidget* cxPageControl1 = nullptr;
    QWidget* P_MAP = nullptr;
    QWidget* P_VBI = nullptr;
    QWidget* P_EVA = nullptr;
    QWidget* P_BM = nullptr;
    QWidget* P_NINEOD = nullptr;
    QWidget* P_VALUES = nullptr;
    QWidget* cxTabSheet1 = nullptr;
    QWidget* Panel2 = nullptr;
    ValuesGrid* cxGrid1 = nullptr;
    QuestionsGrid* cxGrid2 = nullptr;

    QStatusBar* StatusBar1 = nullptr;
    QLabel* keyboardStatePanel = nullptr;
    QLabel* statusTextPanel = nullptr;

    QMenu* PopupMenu2 = nullptr;
    QAction* pop_opt_minorgrid = nullptr;
    QAction* pop_opt_ShowAll = nullptr;
    QAction* pop_opt_HideAll = nullptr;

    QTimer* Timer1 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createHeader();
    void createPages();
    void createCharts();
    void createStatusBar();
    void createChartMenu();
    void installDragTools();
    void memCoordNewRecord(CoordTable* dataSet);
    void pageControlCurrentChanged();
    void copyEffortByActiveTab();
    void backToLogin();
    void rebuildLanguageMenu();
    void putTextsOnControls();
    void setChartBorders(bool visible);
    void setAllMinorGrids(bool visible);

    MapModel* m_model = nullptr;
    std::array<MatrixChart*, MatrixCount + 1> m_charts{};
    QActionGroup* m_languageGroup = nullptr;
    QWidget* m_activePage = nullptr;
};

} // namespace korvell
