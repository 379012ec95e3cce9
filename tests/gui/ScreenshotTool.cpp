// Renders the main window and its dialogs to PNG files, for a look at the layout:
//   kumby_gui_screenshots DATA_DIR OUT_DIR
// Run it under a real or virtual display (xvfb-run); it changes nothing in DATA_DIR
// except the view state that every run of the program writes and the full-set files
// that the statistics tab builds for its comparison columns. A folder without a view
// state shows the main window at its designed size. An empty script gets two sample
// lines, so that the script tab has something to show.

#include "AnalysisTabs.h"
#include "CardTab.h"
#include "CombsGenerateDialog.h"
#include "CombsTab.h"
#include "DrawDetailsWindow.h"
#include "DrawDialog.h"
#include "DrawsModel.h"
#include "DrawsTab.h"
#include "FileDialogs.h"
#include "FilterHelpWindow.h"
#include "FiltersManagerDialog.h"
#include "GraphsTab.h"
#include "HelpDialog.h"
#include "LayoutTab.h"
#include "MainWindow.h"
#include "MessageBoxUi.h"
#include "ProxyDialog.h"
#include "RepeatsDialog.h"
#include "ScriptLineDialog.h"
#include "ScriptTab.h"
#include "SettingsDialog.h"
#include "StatsModel.h"
#include "StatsTab.h"
#include "SystemDialogs.h"
#include "SystemsTab.h"
#include "ViewGridModel.h"
#include "WeekTab.h"
#include "app/Session.h"
#include "core/download/LocalSite.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QItemSelection>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusTipEvent>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <iostream>

using namespace kumby;
using namespace kumby::gui;

namespace {

void Save(QWidget& widget, const QString& dir, const char* name) {
    QTest::qWait(200);
    const QString file = QDir(dir).filePath(QString::fromUtf8(name) + QStringLiteral(".png"));
    std::cout << file.toStdString() << (widget.grab().save(file) ? "" : " (failed)") << "\n";
}

// Saves the modal window that `open` brings up, then closes it.
void SaveModal(const QString& dir, const char* name, const std::function<void()>& open) {
    QTimer::singleShot(400, [dir, name] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            Save(*modal, dir, name);
            modal->close();
        } else {
            std::cout << name << ": no window opened\n";
        }
    });
    open();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SetUpApplication();
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::cerr << "usage: kumby_gui_screenshots DATA_DIR OUT_DIR\n";
        return 2;
    }
    QDir().mkpath(args[2]);

    TMessageBoxUi ui;
    ui.Answerer = [](const TShownMessage& m) {
        std::cerr << m.Caption.toStdString() << ": " << m.Text.toStdString() << "\n";
        return false;
    };
    TSessionOptions options;
    options.DataDir = args[1].toStdString();
    Session session(ui, options);
    TFormMain window(session, ui);
    window.ShowRestored();
    if (!QTest::qWaitFor([&] { return window.StartedUp(); }, 5000) || window.ExitRequested())
        return 1;

    TDrawsTab& tab = *window.DrawsTab();
    if (tab.Model()->rowCount() > 3) {
        tab.OffsetEdit()->setValue(2);
        tab.List()->selectRow(0);
    }
    Save(window, args[2], "main");

    // The hint of a command takes the last panel and leaves the others in place.
    if (QWidget* button = window.ToolBar()->widgetForAction(tab.DrawsImport)) {
        QStatusTipEvent tip(tab.DrawsImport->statusTip());
        QApplication::sendEvent(button, &tip);
        Save(window, args[2], "main-hint");
        QStatusTipEvent clear{QString()};
        QApplication::sendEvent(button, &clear);
    }

    // As small as the window goes.
    const QSize designed = window.size();
    window.resize(1, 1);
    Save(window, args[2], "main-smallest");
    std::cout << "smallest size: " << window.width() << "x" << window.height() << "\n";
    window.resize(designed);

    // The standard dialogs in Russian: a question and the file dialogs.
    auto answerer = ui.Answerer;
    ui.Answerer = nullptr;
    SaveModal(args[2], "message-box",
              [&] { ui.Confirm("Удалить выделенную запись?", TConfirmKind::Deletion); });
    ui.Answerer = answerer;
    SaveModal(args[2], "file-dialog-open",
              [&] { AskOpenFileName(&window, QString::fromUtf8(DrawsFileFilter)); });
    SaveModal(args[2], "file-dialog-save",
              [&] { AskSaveFileName(&window, QString::fromUtf8(DrawsFileFilter), QStringLiteral("csv")); });

    // A download caught while it waits for a page of a local site that never answers,
    // then stopped.
    {
        kumby::testing::TLocalSite site([](const kumby::testing::TSiteRequest&) {
            kumby::testing::TSiteResponse stall;
            stall.Stall = true;
            return stall;
        });
        const std::string siteUrl = session.DownloadSettings().SiteUrl;
        session.DownloadSettings().SiteUrl = site.Url();
        QTimer waiter;
        QObject::connect(&waiter, &QTimer::timeout, [&] {
            QProgressDialog* progress = ui.Progress();
            if (site.Requests().empty() || !progress || !progress->isVisible())
                return;
            waiter.stop();
            Save(window, args[2], "download");
            Save(*progress, args[2], "download-progress");
            progress->findChild<QPushButton*>()->click();
        });
        waiter.start(50);
        tab.DrawsDownload->trigger();
        session.DownloadSettings().SiteUrl = siteUrl;
    }

    TProxy proxy;
    proxy.Mode = 2;
    proxy.Server = "proxy.example.org";
    proxy.Port = 3128;
    proxy.UserName = "user";
    proxy.Password = "secret";
    TProxyDialog proxyDialog(proxy, &window);
    proxyDialog.show();
    Save(proxyDialog, args[2], "proxy");
    proxyDialog.ModeButton(1)->setChecked(true);
    Save(proxyDialog, args[2], "proxy-automatic");
    proxyDialog.hide();

    // The statistics tab with a many-valued method, then with the full-set comparison.
    TStatsTab& stats = *window.StatsTab();
    auto selectMethod = [&](const char* code) {
        const int method = session.Registry().FindByCode(code);
        stats.MethodList()->setCurrentIndex(
            stats.MethodList()->findData(QVariant::fromValue<qulonglong>(static_cast<qulonglong>(method))));
    };
    selectMethod("EVNV");
    Save(window, args[2], "stats-evnv");
    selectMethod("NUMS");
    const bool prefetchs = session.View().PrefetchsEnabled;
    // The progress window shows while missing full-set files are built.
    ui.ProgressObserver = [&](long long done, long long total) {
        if (done == 3 && total > 0 && ui.Progress())
            Save(*ui.Progress(), args[2], "progress");
    };
    if (!prefetchs)
        stats.DrawsStatePrefetchsEnabled->trigger();
    ui.ProgressObserver = nullptr;
    Save(window, args[2], "stats-fullset");
    selectMethod("SMAL");
    Save(window, args[2], "stats-fullset-smal");
    // One method of each family past the numbers and sums, with the comparison.
    for (const char* code : {"DIFA", "DIFO", "KDS2", "CHNV", "CHN1", "KCM2", "COLA", "ROWC", "KRM2", "SGMS", "SGMC",
                             "SEQL", "LENS", "PRV2O3", "KNM4", "KNP21", "HCV1", "GRPV", "PRDV", "SDV2", "SHR1"}) {
        if (session.Registry().FindByCode(code) < 0) {
            std::cout << code << ": no such method\n";
            continue;
        }
        selectMethod(code);
        Save(window, args[2], (std::string("stats-") + code).c_str());
    }
    if (!prefetchs)
        stats.DrawsStatePrefetchsEnabled->trigger();
    selectMethod("NUMS");

    // The combinations tab after a keep step on two numbers and the exclusion of the
    // last draws, with the history under the list.
    if (stats.Model()->rowCount() > 0) {
        QItemSelectionModel& selected = *stats.List()->selectionModel();
        for (int r = 0; r < stats.Model()->rowCount(); ++r) {
            const QString value =
                stats.Model()->data(stats.Model()->index(r, StatColValue), Qt::DisplayRole).toString();
            if (value == QStringLiteral("5") || value == QStringLiteral("17"))
                selected.select(stats.Model()->index(r, 0),
                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        stats.StatFilterInclude->trigger();
    }
    TCombsTab& combs = *window.CombsTab();
    window.LeftPages()->setCurrentWidget(&combs);
    combs.ExcludeEdit()->setValue(10);
    if (combs.CombsExclude->isEnabled())
        combs.CombsExclude->trigger();
    combs.List()->selectRow(2);
    Save(window, args[2], "combs");

    TCombsGenerateDialog generate(session.GenerateDefaults(), &window);
    generate.show();
    Save(generate, args[2], "combs-generate");
    generate.ModeList()->setCurrentIndex(4);
    Save(generate, args[2], "combs-generate-file");
    generate.hide();
    window.LeftPages()->setCurrentIndex(0);

    TFiltersManagerDialog manager(session, &window);
    manager.show();
    manager.Tree()->setCurrentItem(manager.MethodItem(2));
    Save(manager, args[2], "filters-manager");
    manager.hide();

    TFilterHelpWindow filterHelp(session, 2, &window);
    filterHelp.show();
    Save(filterHelp, args[2], "filter-help");
    filterHelp.hide();

    TSettingsDialog settings(session.Config(), ui, &window);
    settings.show();
    Save(settings, args[2], "settings");
    settings.MatrixColsEdit()->setValue(5);
    Save(settings, args[2], "settings-5cols");
    settings.hide();

    if (!session.Draws().empty()) {
        TDrawDetailsWindow details(
            DrawDetailsContent(session.Registry(), static_cast<int>(session.Draws().size()) - 1, false),
            session.Config(), &window);
        details.show();
        Save(details, args[2], "details");
        details.ColumnsEdit()->setValue(12);
        Save(details, args[2], "details-12cols");
    }

    TDrawDialog draw(QString::fromUtf8(NextDrawCaption), session.NewDrawRecord(), true, ui, &window);
    draw.show();
    Save(draw, args[2], "draw-dialog");
    TDrawDialog noDate(QString::fromUtf8(NextDrawCaption), session.NewDrawRecord(), false, ui, &window);
    noDate.show();
    Save(noDate, args[2], "draw-dialog-nodate");

    THelpDialog help(QString(), &window);
    help.show();
    Save(help, args[2], "help");
    help.hide();

    // The card, layout and weekday tabs (at the offset set above), each in both looks
    // its view menu gives; the switches are put back.
    TAnalysisTabs& views = *window.AnalysisTabs();
    auto selectCells = [](QTableView& grid, int top, int left, int bottom, int right) {
        const QAbstractItemModel& m = *grid.model();
        if (m.rowCount() > bottom && m.columnCount() > right)
            grid.selectionModel()->select(QItemSelection(m.index(top, left), m.index(bottom, right)),
                                          QItemSelectionModel::ClearAndSelect);
    };
    window.RightPages()->setCurrentWidget(views.CardTab());
    selectCells(*views.CardTab()->Grid(), 1, 4, 3, 6);
    Save(window, args[2], "card");
    views.ColorCardSequences->trigger();
    Save(window, args[2], "card-channels");
    views.ColorCardSequences->trigger();
    window.RightPages()->setCurrentWidget(views.LayoutTab());
    selectCells(*views.LayoutTab()->Grid(), 0, 0, 0, 0);
    Save(window, args[2], "layout");
    views.LayoutGradient->trigger();
    Save(window, args[2], "layout-checker");
    views.LayoutGradient->trigger();
    TWeekTab& week = *views.WeekTab();
    window.RightPages()->setCurrentWidget(&week);
    week.Grid()->setCurrentIndex(week.Model()->index(4, 6));
    Save(window, args[2], "week");
    views.WeekChartType->trigger();
    views.WeekChartMode->trigger();
    Save(window, args[2], "week-line-by-days");
    views.WeekChartMode->trigger();
    views.WeekChartType->trigger();

    if (window.SystemsTab()->Shown()) {
        window.RightPages()->setCurrentWidget(window.SystemsTab());
        Save(window, args[2], "systems");
    }
    if (session.Script().Empty()) {
        session.ScriptAdd(
            "EXCL:3#FIRST#NEX|TMF1#NUMS:10#CMV:2#SF:1|BSD2#SUMS:5-30;5#WMV:3#ST:4#1.5:-1:1:0:0| | "
            "| | | |первая строка");
        session.ScriptAddSeparator();
        session.ScriptAdd("CURR:0#ALL#CLR|TSD1#NUMS:1,2,3#LNO:#SF:1| | | | | | |");
    }
    window.RightPages()->setCurrentWidget(window.ScriptTab());
    window.ScriptTab()->List()->selectRow(0);
    Save(window, args[2], "script");
    const TFilterEditorPresets presets = window.ScriptTab()->FilterPresets();
    TScriptLineDialog line(QString::fromUtf8(TScriptLineDialog::EditTitle), session.Script().Line(0), 0,
                           presets, session.Registry(), ui, &window);
    line.show();
    Save(line, args[2], "script-line");
    line.hide();
    TFilterDialog filter(ReadFilterItem(LineFilterText(session.Script().Line(0), 2), session.Registry()),
                         presets, session.Registry(), ui, &window);
    filter.show();
    Save(filter, args[2], "script-filter");
    filter.hide();

    // The graphs tab with value marks, the sum distribution and the repeats dialog.
    TGraphsTab& graphs = *window.GraphsTab();
    if (session.GraphsShown()) {
        window.RightPages()->setCurrentWidget(&graphs);
        const int sums = session.Registry().FindByCode("SUMS");
        graphs.MethodList()->setCurrentIndex(
            graphs.MethodList()->findData(QVariant::fromValue<qulonglong>(static_cast<qulonglong>(sums))));
        graphs.LengthEdit()->setValue(30);
        graphs.DrawsGraphCalc->trigger();
        graphs.MarksBox()->setChecked(true);
        Save(window, args[2], "graphs");
    }
    SaveModal(args[2], "sum-distribution", [&] { graphs.SumDistribution->trigger(); });
    TRepeatsDialog repeats(session, &window);
    repeats.show();
    Save(repeats, args[2], "repeats");
    repeats.hide();

    TSystemGenerateDialog systemGenerate(16, ui, &window);
    systemGenerate.show();
    Save(systemGenerate, args[2], "system-generate");
    TSystemCheck check;
    check.Draws = 1820;
    check.Worst = 10;
    check.DrawsByBest = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 120, 900, 800};
    TSystemFileInfo info;
    info.File = session.SystemsDir() / "12-16-0_1210.dat";
    info.Combinations = 61;
    TSystemReportDialog report(QStringLiteral("Система создана"), info, 12, &check, &window);
    report.show();
    Save(report, args[2], "system-report");
    return 0;
}
