// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "Main.h"

#include "common/Error.h"
#include "db/Connection.h"
#include "db/SiteConnection.h"
#include "localisation/Appvars.h"
#include "localisation/IniFile.h"
#include "localisation/ProgramFolder.h"
#include "model/CoordRecordDefaults.h"
#include "model/CoordTable.h"
#include "model/MapModel.h"
#include "ui/Dialogs.h"
#include "ui/DragPointTool.h"
#include "ui/Fonts.h"
#include "ui/Forms.h"
#include "ui/HintLabel.h"
#include "ui/ImportResults.h"
#include "ui/Login.h"
#include "ui/MatrixChart.h"
#include "ui/Pictures.h"
#include "ui/QuestionsGrid.h"
#include "ui/ValuesGrid.h"
#include "ui/XLabel.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QImageWriter>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace korvell {

namespace {

const QColor kPageFontColor(0x4F, 0x5D, 0x93);
const QColor kHotLight(0x00, 0x66, 0xCC);

struct PageDef {
    QWidget* TFormKorvell::*member;
    const char* name;
    const char* caption;
    bool white;
    const char* layoutName; ///< the layout control holding the page's charts; nullptr for the grid pages
};

// The sheets in tab order, as the design has them.
const std::array<PageDef, 7> kPages{{
    {&TFormKorvell::P_MAP, "P_MAP", "MAP", true, "LC_MAP"},
    {&TFormKorvell::P_VBI, "P_VBI", "VBI", true, "LC_VBI"},
    {&TFormKorvell::P_EVA, "P_EVA", "EVA", true, "LC_EVA"},
    {&TFormKorvell::P_BM, "P_BM", "BM", false, "dxLayoutControl1"},
    {&TFormKorvell::P_NINEOD, "P_NINEOD", "9 Dim", false, "LC_9DIM"},
    {&TFormKorvell::P_VALUES, "P_VALUES", "Data Grid", true, nullptr},
    {&TFormKorvell::cxTabSheet1, "cxTabSheet1", "Config", false, nullptr},
}};

/// Where a chart sits in its page's layout; a zero size stretches it in that direction.
struct Placement {
    const char* chart;
    int row;
    int column;
    int width;
    int height;
};

const std::array<Placement, MatrixCount + 1> kPlacements{{
    {"Chart1", 0, 0, 0, 0},
    {"Chart3", 0, 1, 0, 0},
    {"Chart5", 0, 2, 0, 0},
    {"ChartValor", 1, 0, 0, 0},
    {"Chart4", 1, 1, 0, 0},
    {"Chart6", 1, 2, 0, 0},
    {"ChartMSD", 0, 0, 0, 247},
    {"ChartIM", 0, 1, 0, 251},
    {"ChartNC", 0, 2, 0, 245},
    {"ChartEVAPP", 0, 0, 0, 241},
    {"ChartEVA", 0, 1, 0, 237},
    {"ChartCC", 0, 2, 0, 237},
    {"Chart_BM_Market", 0, 0, 256, 237},
    {"Chart_BM_Org", 0, 1, 264, 237},
    {"DBChart3", 0, 0, 0, 0},
}};

// The order in which the window gives the draggable matrices their tools.
const std::array<const char*, 9> kToolOrder{"Chart1",  "ChartValor", "Chart6",          "Chart5",      "ChartMSD",
                                            "ChartNC", "ChartCC",    "Chart_BM_Market", "Chart_BM_Org"};

struct CaptionKey {
    int band;
    const char* key;
};
const std::array<CaptionKey, 7> kBandCaptions{{{2, "G_PM_Title"},
                                               {3, "G_VA_Title"},
                                               {4, "G_EFF_Title"},
                                               {5, "G_ST_Title"},
                                               {8, "G_MSD_Title"},
                                               {9, "G_NC_Title"},
                                               {12, "G_CC_Title"}}};

struct ColumnKey {
    const char* column;
    const char* key;
};
const std::array<ColumnKey, 3> kColumnCaptions{{{"vcoordsproduct", "WORD_Product"},
                                                {"vcoordsbubbleradius", "WORD_BubbleRadius"},
                                                {"vcoordsColumn1", "WORD_Color"}}};

const Placement& placementOf(const char* chart) {
    for (const Placement& p : kPlacements) {
        if (qstrcmp(chart, p.chart) == 0)
            return p;
    }
    throw Error(QStringLiteral("No place on the map window for chart %1").arg(QLatin1String(chart)));
}

} // namespace

TFormKorvell::TFormKorvell(QWidget* parent)
    : QMainWindow(parent)
    , memCoord(new CoordTable(this))
    , m_model(new MapModel(memCoord, this)) {
    setObjectName(QStringLiteral("FormKorvell"));
    setWindowTitle(QStringLiteral(" KORVELL®  v.2.1"));
    setFont(tahoma(11));
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, Qt::white);
    setPalette(windowPalette);
    memCoord->setObjectName(QStringLiteral("memCoord"));
    connect(memCoord, &CoordTable::newRecord, this, &TFormKorvell::memCoordNewRecord);

    auto* client = new QWidget(this);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setCentralWidget(client);

    createHeader();
    createPages();
    createCharts();
    createStatusBar();
    createChartMenu();
    column->addWidget(Panel1);
    column->addWidget(cxPageControl1, 1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(30000);
    connect(Timer1, &QTimer::timeout, this, [this] { guarded(this, [this] { Timer1Timer(); }); });

    resize(816, 568);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

TFormKorvell::~TFormKorvell() = default;

void TFormKorvell::createHeader() {
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(33);
    Panel1->setAutoFillBackground(true);
    QPalette headerPalette = Panel1->palette();
    headerPalette.setColor(QPalette::Window, QColor(0xD7, 0xE4, 0xF2));
    Panel1->setPalette(headerPalette);
    Panel1->installEventFilter(this);

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));

    LHint = new HintLabel(QStringLiteral("  Hint: Double click on matrices to edit values"), Panel1);
    LHint->setObjectName(QStringLiteral("LHint"));
    LHint->setFont(tahoma(11, true));
    QPalette hintPalette = LHint->palette();
    hintPalette.setColor(QPalette::WindowText, kHotLight);
    LHint->setPalette(hintPalette);

    Label1 = new TXLabel(Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setCaption(QStringLiteral("Bubble Radius"));
    Label1->setFontColorDisabled(Qt::black);
    Label1->hide();

    cxSpinRadius = new QDoubleSpinBox(Panel1);
    cxSpinRadius->setObjectName(QStringLiteral("cxSpinRadius"));
    cxSpinRadius->setRange(0.5, 2.0);
    cxSpinRadius->setSingleStep(0.1);
    cxSpinRadius->setDecimals(1);
    cxSpinRadius->setValue(1.0);
    cxSpinRadius->setAlignment(Qt::AlignCenter);
    cxSpinRadius->setFixedWidth(49);
    cxSpinRadius->hide();

    cxButtonClose = new QToolButton(Panel1);
    cxButtonClose->setObjectName(QStringLiteral("cxButtonClose"));
    cxButtonClose->setIcon(Pictures::reconnect());
    cxButtonClose->setFixedSize(27, 25);
    cxButtonClose->hide();
    connect(cxButtonClose, &QToolButton::clicked, this, [this] { guarded(this, [this] { cxButtonCloseClick(); }); });

    cxButton1 = new QPushButton(QStringLiteral("&Import Data"), Panel1);
    cxButton1->setObjectName(QStringLiteral("cxButton1"));
    cxButton1->setFixedSize(138, 25);
    cxButton1->setEnabled(false);
    cxButton1->hide();
    connect(cxButton1, &QPushButton::clicked, this, [this] { guarded(this, [this] { cxButton1Click(); }); });

    cxButton2 = new QPushButton(Pictures::printToJpeg(), QStringLiteral("&Print to Jpeg"), Panel1);
    cxButton2->setObjectName(QStringLiteral("cxButton2"));
    cxButton2->setFixedSize(141, 25);
    connect(cxButton2, &QPushButton::clicked, this, [this] { guarded(this, [this] { cxButton2Click(); }); });

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    m_languageGroup = new QActionGroup(this);
    m_languageGroup->setExclusive(true);
    for (const auto& [name, caption, checked] :
         {std::tuple{"English1", "English", true}, std::tuple{"Portuguese1", "Portuguese", false}}) {
        QAction* item = PopupMenu1->addAction(QString::fromLatin1(caption));
        item->setObjectName(QString::fromLatin1(name));
        item->setCheckable(true);
        item->setChecked(checked);
        m_languageGroup->addAction(item);
    }

    cxButton4 = new QToolButton(Panel1);
    cxButton4->setObjectName(QStringLiteral("cxButton4"));
    cxButton4->setText(QStringLiteral("&Language"));
    cxButton4->setFixedSize(80, 25);
    cxButton4->setMenu(PopupMenu1);
    cxButton4->setPopupMode(QToolButton::InstantPopup);
    cxButton4->setToolButtonStyle(Qt::ToolButtonTextOnly);

    auto* row = new QHBoxLayout(Panel1);
    row->setContentsMargins(8, 4, 7, 4);
    row->setSpacing(2);
    // A long hint gives way to the buttons instead of holding the window wide.
    row->addWidget(LHint, 1);
    for (QWidget* control :
         std::initializer_list<QWidget*>{Label1, cxSpinRadius, cxButtonClose, cxButton1, cxButton2, cxButton4}) {
        row->addWidget(control);
    }
}

void TFormKorvell::createPages() {
    cxPageControl1 = new QTabWidget(this);
    cxPageControl1->setObjectName(QStringLiteral("cxPageControl1"));
    cxPageControl1->setUsesScrollButtons(false);
    cxPageControl1->setDocumentMode(false);
    QTabBar* tabs = cxPageControl1->tabBar();
    tabs->setFont(tahoma(13, true));
    tabs->setCursor(Qt::PointingHandCursor);
    QPalette tabPalette = tabs->palette();
    tabPalette.setColor(QPalette::WindowText, kPageFontColor);
    tabPalette.setColor(QPalette::ButtonText, kPageFontColor);
    tabs->setPalette(tabPalette);

    for (const PageDef& def : kPages) {
        auto* page = new QWidget;
        page->setObjectName(QString::fromLatin1(def.name));
        if (def.white) {
            page->setAutoFillBackground(true);
            QPalette pagePalette = page->palette();
            pagePalette.setColor(QPalette::Window, Qt::white);
            page->setPalette(pagePalette);
        }
        auto* pageLayout = new QVBoxLayout(page);
        pageLayout->setContentsMargins(0, 0, 0, 0);
        if (def.layoutName) {
            auto* layoutControl = new QWidget(page);
            layoutControl->setObjectName(QString::fromLatin1(def.layoutName));
            auto* grid = new QGridLayout(layoutControl);
            grid->setContentsMargins(4, 4, 4, 4);
            grid->setSpacing(4);
            pageLayout->addWidget(layoutControl);
        }
        this->*def.member = page;
        cxPageControl1->addTab(page, QString::fromLatin1(def.caption));
    }
    // The business-model group sits in the middle of its sheet at its design size.
    P_BM->findChild<QWidget*>(QStringLiteral("dxLayoutControl1"))->layout()->setAlignment(Qt::AlignCenter);

    Panel2 = new QWidget(P_VALUES);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto* panelLayout = new QVBoxLayout(Panel2);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    cxGrid1 = new ValuesGrid(memCoord, Panel2);
    panelLayout->addWidget(cxGrid1);
    P_VALUES->layout()->addWidget(Panel2);
    Panel2->hide();

    cxGrid2 = new QuestionsGrid(cxTabSheet1);
    cxTabSheet1->layout()->addWidget(cxGrid2);
    cxTabSheet1->installEventFilter(this);

    // The design leaves BM active; the handlers follow the tab from here on.
    cxPageControl1->setCurrentWidget(P_BM);
    m_activePage = P_BM;
    connect(cxPageControl1, &QTabWidget::currentChanged, this, &TFormKorvell::pageControlCurrentChanged);
}

void TFormKorvell::createCharts() {
    const std::vector<MatrixDef>& catalogue = matrixCatalogue();
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const MatrixDef& def = catalogue[i];
        QWidget* layoutControl = nullptr;
        for (const PageDef& p : kPages) {
            if (qstrcmp(p.name, def.tabName) == 0 && p.layoutName)
                layoutControl = (this->*p.member)->findChild<QWidget*>(QLatin1String(p.layoutName));
        }
        if (!layoutControl)
            throw Error(QStringLiteral("No sheet %1 for chart %2")
                            .arg(QLatin1String(def.tabName), QLatin1String(def.chartName)));
        auto* grid = static_cast<QGridLayout*>(layoutControl->layout());

        auto* chart = new MatrixChart(def, layoutControl);
        m_charts[i] = chart;
        if (!def.lineChart) {
            chart->setSeries(m_model->series(static_cast<int>(i)), memCoord);
            connect(chart, &MatrixChart::contextMenuRequested, this, [this](MatrixChart* sender, QPoint globalPos) {
                guarded(this, [&] {
                    Chart1ContextPopup(sender);
                    PopupMenu2->popup(globalPos);
                });
            });
        }
        if (def.drag != DragStyle::None) {
            chart->installEventFilter(this);
            connect(chart, &MatrixChart::doubleClicked, this,
                    [this](MatrixChart* sender) { guarded(this, [&] { Chart1DblClick(sender); }); });
            connect(chart, &MatrixChart::mouseReleased, this,
                    [this](MatrixChart* sender) { guarded(this, [&] { ChartValorMouseUp(sender); }); });
        }
        // The strategy matrix recomputes only at release: its Y is derived.
        if (def.drag == DragStyle::Both) {
            connect(chart, &MatrixChart::mouseMoved, this,
                    [this](MatrixChart* sender, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
                        guarded(this, [&] { ChartValorMouseMove(sender, buttons, modifiers); });
                    });
        }

        const Placement& place = placementOf(def.chartName);
        Qt::Alignment alignment;
        if (place.width > 0) {
            chart->setFixedWidth(place.width);
            alignment |= Qt::AlignHCenter;
        }
        if (place.height > 0) {
            chart->setFixedHeight(place.height);
            alignment |= Qt::AlignVCenter;
        }
        grid->addWidget(chart, place.row, place.column, alignment);
        grid->setRowStretch(place.row, place.height > 0 ? 0 : 1);
        grid->setColumnStretch(place.column, place.width > 0 ? 0 : 1);
    }
}

void TFormKorvell::createStatusBar() {
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFont(tahoma(11));
    StatusBar1->setSizeGripEnabled(true);
    // Qt has no portable way to read the lock keys, and its editors always insert: the panel
    // names the keys and shows the insert mode the editors really have.
    keyboardStatePanel = new QLabel(QStringLiteral("CAPS   NUM   SCRL   INS"), StatusBar1);
    keyboardStatePanel->setObjectName(QStringLiteral("keyboardStatePanel"));
    keyboardStatePanel->setContentsMargins(6, 0, 6, 0);
    statusTextPanel = new QLabel(StatusBar1);
    statusTextPanel->setObjectName(QStringLiteral("statusTextPanel"));
    statusTextPanel->setContentsMargins(6, 0, 6, 0);
    StatusBar1->addWidget(keyboardStatePanel);
    StatusBar1->addWidget(statusTextPanel, 1);
    setStatusBar(StatusBar1);
}

void TFormKorvell::createChartMenu() {
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    pop_opt_minorgrid = PopupMenu2->addAction(QStringLiteral(" Minor Grid"));
    pop_opt_minorgrid->setObjectName(QStringLiteral("pop_opt_minorgrid"));
    pop_opt_minorgrid->setCheckable(true);
    pop_opt_minorgrid->setChecked(true);
    PopupMenu2->addSeparator()->setObjectName(QStringLiteral("N1"));
    pop_opt_ShowAll = PopupMenu2->addAction(QStringLiteral("Show All"));
    pop_opt_ShowAll->setObjectName(QStringLiteral("pop_opt_ShowAll"));
    pop_opt_HideAll = PopupMenu2->addAction(QStringLiteral("Hide All"));
    pop_opt_HideAll->setObjectName(QStringLiteral("pop_opt_HideAll"));
    connect(pop_opt_minorgrid, &QAction::triggered, this,
            [this] { guarded(this, [this] { pop_opt_minorgridClick(); }); });
    connect(pop_opt_ShowAll, &QAction::triggered, this, [this] { guarded(this, [this] { pop_opt_ShowAllClick(); }); });
    connect(pop_opt_HideAll, &QAction::triggered, this, [this] { guarded(this, [this] { pop_opt_HideAllClick(); }); });
}

MatrixChart* TFormKorvell::chart(const QString& name) const {
    for (MatrixChart* c : m_charts) {
        if (c->objectName() == name)
            return c;
    }
    return nullptr;
}

void TFormKorvell::FormCreate() {
    ReadLanguageSettings();
    ApplyLanguage(AppConfig.LangFile);
    PadXLabelCaptions();
    memCoord->open();
    memCoord->append();
    installDragTools();
    cxPageControl1->setCurrentWidget(P_MAP);
    cxPageControl1->setTabVisible(cxPageControl1->indexOf(P_NINEOD), false);
    // The design hides Import Data; a site that imports says so in the settings file.
    cxButton1->setVisible(IniFile::readString(settingsFilePath(), QStringLiteral("SAVED_VARS"),
                                              QStringLiteral("SHOW_IMPORT")) == QLatin1String("1"));
}

void TFormKorvell::installDragTools() {
    for (const char* name : kToolOrder) {
        MatrixChart* target = chart(QLatin1String(name));
        auto* tool = new DragPointTool(this);
        target->addTool(tool);
        tool->setStyle(target->definition().drag);
        tool->setSeries(target->series());
        for (DragPointTool* each : target->tools())
            each->setActive(true);
    }
}

void TFormKorvell::memCoordNewRecord(CoordTable* dataSet) {
    if (!FImporting) {
        initCoordRecord(*dataSet, AppTexts.WORD_Product);
    }
}

void TFormKorvell::pageControlCurrentChanged() {
    // Qt reports the change only once it is made; the window keeps the page that was active so that
    // the changing handler still sees it, then the change handler sees the new one.
    guarded(this, [this] { cxPageControl1PageChanging(); });
    m_activePage = cxPageControl1->currentWidget();
    guarded(this, [this] { cxPageControl1Change(); });
}

void TFormKorvell::cxPageControl1PageChanging() {
    FPreviousPage = m_activePage;
}

void TFormKorvell::cxPageControl1Change() {
    if (!memCoord->isOpen())
        memCoord->open();
    if (FPreviousPage == P_VALUES) {
        if (memCoord->state() == CoordTable::State::Edit)
            memCoord->post();
        BusyCursor busy;
        m_model->reloadAll();
        m_model->RecalculateFrom(QString());
        Panel2->hide();
        LHint->setText(AppTexts.HeaderPanel);
        cxButton2->setEnabled(true);
    }
    QWidget* active = cxPageControl1->currentWidget();
    cxButton1->setEnabled(active == P_VALUES);
    if (active == P_VALUES) {
        {
            BusyCursor busy;
            m_model->StoreSeriesToTable();
        }
        LHint->setText(AppTexts.HeaderPanel_TABLE);
        cxButton2->setEnabled(false);
        Panel2->show();
    }
}

void TFormKorvell::Chart1DblClick(MatrixChart*) {
    cxPageControl1->setCurrentWidget(P_VALUES);
}

void TFormKorvell::cxButton1Click() {
    if (FrmImportRes)
        FrmImportRes->exec();
}

void TFormKorvell::cxButtonCloseClick() {
    // Reconnecting reports nothing: whatever fails, the user is sent back to the login window.
    try {
        Connection* connection = frmLogin ? frmLogin->ADOConnection1 : nullptr;
        if (!connection)
            throw Error(QStringLiteral("No connection"));
        connection->close();
        connection->setConnectionString(reconnectConnectionString());
        connection->open();
    } catch (const std::exception&) {
        backToLogin();
    }
}

void TFormKorvell::backToLogin() {
    hide();
    if (frmLogin)
        frmLogin->show();
}

void TFormKorvell::cxTabSheet1Show() {
    cxGrid2->openDataSets(frmLogin ? frmLogin->ADOConnection1 : nullptr);
}

void TFormKorvell::FormCloseQuery(bool& CanClose) {
    // Also drops an editor still open in the grid, which would otherwise post its text when the question takes the
    // focus.
    if (memCoord->isOpen())
        cxGrid1->cancelRecord();
    const QString question = AppTexts.MSG_Close_TITLE + QLatin1Char('\n') + AppTexts.MSG_Close_TEXT;
    CanClose = Dialogs::show(this, Dialogs::Icon::Question, Dialogs::Buttons::YesNo, question) == Dialogs::Answer::Yes;
}

void TFormKorvell::FormClose() {
    QString saveError;
    if (!SavePreferredLanguage(&saveError)) {
        // The rest of the close must not be lost because the settings could not be written.
        Dialogs::reportError(this, saveError);
    }
    memCoord->close();
    FClosing = true;
    if (frmLogin && frmLogin->ADOConnection1)
        frmLogin->ADOConnection1->close();
    Forms::terminate();
}

void TFormKorvell::closeEvent(QCloseEvent* event) {
    bool canClose = false;
    guarded(this, [&] { FormCloseQuery(canClose); });
    if (!canClose) {
        event->ignore();
        return;
    }
    event->accept();
    guarded(this, [this] { FormClose(); });
}

bool TFormKorvell::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel1 && event->type() == QEvent::Resize) {
        Image1->setGeometry(Panel1->rect());
        Image1->setPixmap(Pictures::banner(Panel1->size()));
        Image1->lower();
    } else if (watched == cxTabSheet1 && event->type() == QEvent::Show) {
        guarded(this, [this] { cxTabSheet1Show(); });
    } else if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        auto* target = qobject_cast<MatrixChart*>(watched);
        const QList<DragPointTool*> tools = target ? target->tools() : QList<DragPointTool*>();
        if (std::any_of(tools.begin(), tools.end(), [](const DragPointTool* tool) { return tool->isDragging(); })) {
            // The chart puts the bubble back after this filter has run: the dependents follow it then,
            // as after a release.
            QMetaObject::invokeMethod(
                this,
                [this, chart = QPointer<MatrixChart>(target)] {
                    if (chart)
                        guarded(this, [&] { ChartValorMouseUp(chart); });
                },
                Qt::QueuedConnection);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormKorvell::copyEffortByActiveTab() {
    QWidget* active = cxPageControl1->currentWidget();
    if (active == P_VBI)
        m_model->copyNeededCapabilityToEffort();
    else if (active == P_MAP)
        m_model->copyEffortToNeededCapability();
}

void TFormKorvell::ChartValorMouseMove(MatrixChart* Sender, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    if (buttons != Qt::LeftButton || modifiers != Qt::NoModifier)
        return;
    const BubbleSeries* series = Sender->series();
    if (!series || series->count() == 0)
        return;
    copyEffortByActiveTab();
    m_model->RecalculateFrom(Sender->objectName());
}

void TFormKorvell::ChartValorMouseUp(MatrixChart* Sender) {
    if (BubbleSeries* series = Sender->series())
        m_model->normalisePoints(*series);
    copyEffortByActiveTab();
    m_model->RecalculateFrom(Sender->objectName());
}

void TFormKorvell::Chart1ContextPopup(MatrixChart* Sender) {
    pop_opt_minorgrid->setChecked(Sender->leftMinorGridVisible());
    FPopupChart = Sender;
}

void TFormKorvell::pop_opt_minorgridClick() {
    // A checkable action has already toggled its mark when this runs: the new mark is the wanted state.
    const bool visible = pop_opt_minorgrid->isChecked();
    if (!FPopupChart) {
        pop_opt_minorgrid->setChecked(!visible);
        return;
    }
    FPopupChart->setLeftMinorGridVisible(visible);
    FPopupChart->setBottomMinorGridVisible(visible);
    pop_opt_minorgrid->setChecked(visible);
}

void TFormKorvell::setAllMinorGrids(bool visible) {
    for (MatrixChart* c : m_charts) {
        c->setLeftMinorGridVisible(visible);
        c->setBottomMinorGridVisible(visible);
    }
}

void TFormKorvell::pop_opt_ShowAllClick() {
    setAllMinorGrids(true);
}

void TFormKorvell::pop_opt_HideAllClick() {
    setAllMinorGrids(false);
}

void TFormKorvell::Timer1Timer() {
    // Stopped during the check, so that two checks never overlap.
    Timer1->stop();
    if (CredentialsStillValid()) {
        Timer1->start();
        return;
    }
    if (frmLogin && frmLogin->ADOConnection1)
        frmLogin->ADOConnection1->close();
    backToLogin();
}

void TFormKorvell::ApplyLanguage(const QString& fileName) {
    const QString path = ProgramFolder::filePath(fileName);
    if (!fileName.isEmpty() && QFileInfo(path).isFile()) {
        LoadLanguageFile(path);
        cxButton4->setEnabled(true);
    } else {
        LoadDefaultTexts();
        cxButton4->setEnabled(false);
    }
    if (cxButton4->isEnabled())
        rebuildLanguageMenu();
    putTextsOnControls();
}

void TFormKorvell::rebuildLanguageMenu() {
    // This may run inside the click of one of the items: they go only once control has left them.
    for (QAction* old : PopupMenu1->actions()) {
        PopupMenu1->removeAction(old);
        m_languageGroup->removeAction(old);
        old->deleteLater();
    }
    const QStringList& captions = AppTexts.LangMenuCaptions;
    for (int i = 0; i < captions.size(); ++i) {
        QAction* item = PopupMenu1->addAction(captions[i]);
        item->setData(i);
        item->setCheckable(true);
        m_languageGroup->addAction(item);
        item->setChecked(i < AppTexts.LangMenuKeys.size() && AppTexts.LangMenuKeys[i] == AppConfig.LangName);
        connect(item, &QAction::triggered, this, [this] { guarded(this, [this] { PopupItemClick(); }); });
    }
}

void TFormKorvell::PopupItemClick() {
    const QList<QAction*> items = PopupMenu1->actions();
    for (int i = 0; i < items.size(); ++i) {
        if (items[i]->isChecked()) {
            SelectLanguage(AppTexts.LangMenuKeys.value(i));
            ApplyLanguage(AppConfig.LangFile);
            return;
        }
    }
}

void TFormKorvell::putTextsOnControls() {
    const TApplicationVar& t = AppTexts;
    LHint->setText(t.HeaderPanel);
    cxButton4->setText(QLatin1Char('&') + t.ButtonLang);
    cxButton2->setText(QLatin1Char('&') + t.Button_PrintToImage);
    statusTextPanel->setText(t.Copyright + QStringLiteral("  "));
    pop_opt_minorgrid->setText(t.LMinorGrid);
    pop_opt_ShowAll->setText(t.LGrid_ShowAll);
    pop_opt_HideAll->setText(t.LGRid_HideAll);
    cxPageControl1->setTabText(cxPageControl1->indexOf(P_MAP), t.WORD_MAP);
    cxPageControl1->setTabText(cxPageControl1->indexOf(P_VBI), t.WORD_VBI);
    cxPageControl1->setTabText(cxPageControl1->indexOf(P_EVA), t.WORD_EVA);
    cxPageControl1->setTabText(cxPageControl1->indexOf(P_VALUES), t.WORD_DataGrid);
    for (const ColumnKey& c : kColumnCaptions)
        cxGrid1->setColumnCaption(QLatin1String(c.column), t.text(QLatin1String(c.key)));
    for (const CaptionKey& b : kBandCaptions)
        cxGrid1->setBandCaption(b.band, t.text(QLatin1String(b.key)));

    for (MatrixChart* c : m_charts) {
        const MatrixDef& def = c->definition();
        if (!def.titleKey)
            continue;
        c->setTitle(t.text(QLatin1String(def.titleKey)));
        c->setLeftAxisTitle(t.text(QLatin1String(def.leftAxisKey)));
        c->setBottomAxisTitle(t.text(QLatin1String(def.bottomAxisKey)));
        for (int k = 0; k < def.labelCount; ++k) {
            const QuadrantLabelDef& label = def.labels[static_cast<std::size_t>(k)];
            c->quadrantLabel(QLatin1String(label.name))->setCaption(t.text(QLatin1String(label.textKey)));
        }
    }
}

void TFormKorvell::PadXLabelCaptions() {
    for (TXLabel* label : findChildren<TXLabel*>()) {
        if (label->metaObject() == &TXLabel::staticMetaObject)
            label->setCaption(label->caption() + QLatin1Char(' '));
    }
}

void TFormKorvell::setChartBorders(bool visible) {
    for (MatrixChart* c : m_charts)
        c->setBorderVisible(visible);
}

void TFormKorvell::cxButton2Click() {
    const QString fileName =
        ProgramFolder::filePath(QStringLiteral("Exported_") + newGuidText() + QStringLiteral(".jpg"));
    {
        BusyCursor busy;
        setChartBorders(false);
        // The borders come back also when the picture cannot be written.
        const auto restoreBorders = qScopeGuard([this] { setChartBorders(true); });
        const QImage picture = grab().toImage();
        QImageWriter writer(fileName, "jpg");
        if (!writer.write(picture)) {
            throw Error(QStringLiteral("The picture could not be saved as %1: %2")
                            .arg(QDir::toNativeSeparators(fileName), writer.errorString()));
        }
    }
    Dialogs::show(this, Dialogs::Icon::None, Dialogs::Buttons::Ok,
                  AppTexts.MSG_Exported + QDir::toNativeSeparators(fileName));
}

} // namespace korvell
