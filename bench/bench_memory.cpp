// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "RatioReporter.h"

#include "localisation/IniFile.h"
#include "localisation/ProgramFolder.h"
#include "model/CoordTable.h"
#include "ui/DataSetTableModel.h"
#include "ui/Dialogs.h"
#include "ui/Forms.h"
#include "ui/ImportResults.h"
#include "ui/LicenceTreeModel.h"
#include "ui/Login.h"
#include "ui/Main.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeView>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace korvell;

namespace {

constexpr int kWarmUp = 10;
constexpr int kLoop = 200;

/// The process's resident memory in bytes, from the kernel's count of resident pages.
double residentBytes() {
    long pages = 0;
    long resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

struct Growth {
    std::string loop;
    double startBytes = 0;
    double endBytes = 0;
    int steps = 0;
};

/// What each loop measured, in the order of the runs, for the summary after them.
std::vector<Growth>& growths() {
    static std::vector<Growth> measured;
    return measured;
}

/// Messages the program would have shown; a loop that raises one measures nothing useful.
QStringList& shownMessages() {
    static QStringList texts;
    return texts;
}

/// Lets the window handle what is queued and paints it all, charts included.
void settle(QWidget* window) {
    QApplication::processEvents();
    window->grab();
}

/// Shows the import window on the first licence holder and its first product; false when the
/// logged-in user has nothing to import.
bool openImportWindow() {
    FrmImportRes->show();
    settle(FrmImportRes);
    if (FrmImportRes->licenceModel->rowCount() == 0 || FrmImportRes->productModel->rowCount() == 0)
        return false;
    FrmImportRes->cxDBTreeList1->setCurrentIndex(FrmImportRes->licenceModel->index(0, 0));
    FrmImportRes->cxGrid1->selectRow(0);
    return true;
}

/// The program as it runs at a site: its own folder with the settings, the language files and a
/// copy of the demo database that the default data link names, logged in as the demo user, with
/// the first licence holder's first product imported.
bool startSession(const QTemporaryDir& folder) {
    const auto programFile = [&folder](const QString& name) { return folder.filePath(name); };
    for (const char* name : {"korvell.ini", "English.lng", "Portuguese.lng", "korvell-demo.db"}) {
        const QString file = QLatin1String(name);
        if (!QFile::copy(QStringLiteral(KORVELL_BIN_DIR "/") + file, programFile(file)))
            return false;
        QFile::setPermissions(programFile(file), QFile::ReadOwner | QFile::WriteOwner);
    }
    IniFile::writeString(programFile(QStringLiteral("korvell.ini")), QStringLiteral("SAVED_VARS"),
                         QStringLiteral("PREF_LANG"), QStringLiteral("English"));
    // Data-link files are written as Windows writes them.
    QStringEncoder encoder(QStringEncoder::Utf16LE, QStringConverter::Flag::WriteBom);
    QFile link(programFile(QStringLiteral("Cnnstr.udl")));
    if (!link.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    link.write(encoder(QStringLiteral("[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
                                      "Provider=SQLite;Data Source=%1\r\n")
                           .arg(programFile(QStringLiteral("korvell-demo.db")))));
    link.close();

    ProgramFolder::setPath(folder.path());
    // The benchmark's own arguments are not the login's.
    TfrmLogin::setCommandLine(QStringList());
    Dialogs::setAnswerer([](const Dialogs::Message& message) {
        shownMessages() << message.text;
        return message.buttons == Dialogs::Buttons::YesNo ? Dialogs::Answer::Yes : Dialogs::Answer::Ok;
    });
    Forms::setTerminator([] {});
    Forms::start();
    frmLogin->EdUser->setText(QStringLiteral("demo"));
    frmLogin->EdPass->setText(QStringLiteral("demo"));
    frmLogin->Button1->click();
    QApplication::processEvents();
    if (!FormKorvell || !FormKorvell->isVisible())
        return false;
    // Logging in again closed the connection of the first attempt: that notice is not the loops'.
    shownMessages().clear();
    // The tabs show imported products, as they do for a user who has just logged in and imported.
    FormKorvell->cxPageControl1->setCurrentWidget(FormKorvell->P_VALUES);
    if (!openImportWindow())
        return false;
    FrmImportRes->cxButtonProduct->click();
    FrmImportRes->hide();
    return FormKorvell->memCoord->recordCount() > 0 && shownMessages().isEmpty();
}

void record(benchmark::State& state, const Growth& growth) {
    growths().push_back(growth);
    state.counters["start_MB"] = growth.startBytes / (1024.0 * 1024.0);
    state.counters["end_MB"] = growth.endBytes / (1024.0 * 1024.0);
    state.counters["end_over_start"] = growth.startBytes > 0 ? growth.endBytes / growth.startBytes : 0;
    state.counters["KB_per_step"] = (growth.endBytes - growth.startBytes) / 1024.0 / growth.steps;
}

/// Tab changes cycling through every visible tab of the map window: each runs the window's
/// handlers (a reload and recomputation when the values tab is left) and paints the new page.
void TabChanges(benchmark::State& state) {
    TFormKorvell* window = FormKorvell;
    QTabWidget* pages = window->cxPageControl1;
    int next = pages->currentIndex();
    const auto change = [&] {
        do
            next = (next + 1) % pages->count();
        while (!pages->isTabVisible(next));
        pages->setCurrentIndex(next);
        settle(window);
    };
    for (int i = 0; i < kWarmUp; ++i)
        change();
    Growth growth{"tab changes"};
    growth.startBytes = residentBytes();
    for (auto _ : state)
        change();
    growth.endBytes = residentBytes();
    growth.steps = static_cast<int>(state.iterations());
    if (!shownMessages().isEmpty())
        state.SkipWithError(qPrintable(QStringLiteral("a message was shown: ") + shownMessages().first()));
    record(state, growth);
    int visible = 0;
    for (int i = 0; i < pages->count(); ++i)
        visible += pages->isTabVisible(i) ? 1 : 0;
    state.counters["pages"] = visible;
}

/// Imports of the first licence holder, alternating per user and per product (its first
/// product), through the import window's buttons, from the values tab where the map window
/// offers the import; the map window repaints after each.
void Imports(benchmark::State& state) {
    TFormKorvell* window = FormKorvell;
    window->cxPageControl1->setCurrentWidget(window->P_VALUES);
    openImportWindow();
    bool perProduct = false;
    bool empty = false;
    const auto import = [&] {
        perProduct = !perProduct;
        (perProduct ? FrmImportRes->cxButtonProduct : FrmImportRes->cxButtonUser)->click();
        empty = empty || window->memCoord->recordCount() == 0;
        settle(window);
    };
    for (int i = 0; i < kWarmUp; ++i)
        import();
    Growth growth{"imports"};
    growth.startBytes = residentBytes();
    for (auto _ : state)
        import();
    growth.endBytes = residentBytes();
    growth.steps = static_cast<int>(state.iterations());
    FrmImportRes->hide();
    if (!shownMessages().isEmpty())
        state.SkipWithError(qPrintable(QStringLiteral("a message was shown: ") + shownMessages().first()));
    else if (empty)
        state.SkipWithError("an import brought no records");
    record(state, growth);
    state.counters["records"] = window->memCoord->recordCount();
}

/// The start and end of each loop; the goal is a flat line once the caches are warm.
class MemoryReporter : public RatioReporter {
protected:
    void printRatios(std::ostream& out) const override {
        out << "\nResident memory after " << kWarmUp << " warm-up steps (goal: end/start <= 1.05):\n";
        for (const Growth& g : growths()) {
            char line[200];
            std::snprintf(line, sizeof line, "  %d %-12s %8.1f MB -> %8.1f MB  end/start %.3f  %+.1f KB per step\n",
                          g.steps, g.loop.c_str(), g.startBytes / (1024.0 * 1024.0), g.endBytes / (1024.0 * 1024.0),
                          g.startBytes > 0 ? g.endBytes / g.startBytes : 0.0,
                          (g.endBytes - g.startBytes) / 1024.0 / g.steps);
            out << line;
        }
    }
};

} // namespace

BENCHMARK(TabChanges)->Iterations(kLoop)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Imports)->Iterations(kLoop)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid() || !startSession(folder)) {
        std::fprintf(stderr, "cannot start a session on a copy of the demo database: %s\n",
                     qPrintable(shownMessages().join(QLatin1Char('\n'))));
        return 1;
    }
    MemoryReporter reporter;
    const int result = runBenchmarks(argc, argv, reporter);
    Forms::destroyAll();
    return result;
}
