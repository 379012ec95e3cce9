#pragma once

// The headless main window: owns every piece of the program's data, runs the
// creation, start-up and closing orders and carries out the commands.

#include "app/CommandLine.h"
#include "app/IUserInterface.h"
#include "app/MainSettings.h"
#include "app/SessionScriptHost.h"
#include "app/ViewState.h"
#include "combs/PrefetchFile.h"
#include "download/DrawDownload.h"
#include "draws/DrawArchive.h"
#include "draws/DrawCsv.h"
#include "model/Records.h"
#include "script/Script.h"
#include "script/ScriptRunner.h"
#include "stakes/Ratings.h"
#include "stakes/RatingsCharts.h"
#include "stakes/RegularStakes.h"
#include "stakes/StakesCheck.h"
#include "stakes/StakesFile.h"
#include "stakes/StakesFilter.h"
#include "stakes/SystemGenerator.h"
#include "stakes/Systems.h"
#include "stats/StatFilter.h"
#include "stats/StatList.h"
#include "stats/StatTable.h"
#include "views/CardView.h"
#include "views/GraphSeries.h"
#include "views/LayoutView.h"
#include "views/RepeatsAnalysis.h"
#include "views/SumDistribution.h"
#include "views/WeekView.h"

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kumby {

inline constexpr const char* FilterNamesFileName = "Kumby_12x24.flt";
inline constexpr const char* DefaultCaption = "Kumby 12x24";
inline constexpr const char* NoDataLockText =
    "Невозможно получить монопольный доступ к файлам данных!\r\rВозможные причины данной ошибки: "
    "\r\r1) Вы пытаетесь запустить вторую копию программы из одного и того же каталога. Корректная "
    "работа нескольких копий программы возможна только из разных каталогов.\r\r2) Для программы нет "
    "прав на запись в том каталоге, где она расположена. Например: в Windows 7 и выше по умолчанию "
    "запрещена запись в c:\\Program Files.\r\rПрограмма будет закрыта!";

struct TSessionOptions {
    std::filesystem::path DataDir;
    TCommandLine CommandLine;
    // A program without windows (the command-line program): no questions at start,
    // no help dialog, no online services.
    bool Headless = false;
};

enum class TStartResult { Ready, Exit };

class Session {
    friend class TSessionDownloadHost;

public:
    Session(IUserInterface& ui, TSessionOptions options);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Creation steps; false when the program has to end at once.
    bool Create();
    // Start-up steps, run once the window is on screen.
    TStartResult Start();
    // Closing; the GUI puts its sizes into View() before and asks to write them.
    void Close(bool writeViewState);

    IUserInterface& Ui() { return Ui_; }
    const std::filesystem::path& DataDir() const { return Options_.DataDir; }
    std::filesystem::path DataPath(const std::string& fileName) const { return Options_.DataDir / fileName; }
    const TCommandLine& CommandLine() const { return Options_.CommandLine; }
    std::string WindowCaption() const;

    // ---- Busy state --------------------------------------------------------
    bool Busy() const { return BusyCount_ > 0; }
    void BeginBusy();
    void EndBusy();

    // ---- Settings ----------------------------------------------------------
    const TConfigData& Config() const { return Config_; }
    const TGenerateDefaults& GenerateDefaults() const { return GenerateDefaults_; }
    const TShreddingSettings& Shredding() const { return Shredding_; }
    const TProxy& Proxy() const { return Proxy_; }
    TViewState& View() { return View_; }
    const TViewState& View() const { return View_; }
    const TViewStore& ViewStore() const { return ViewStore_; }
    int Language() const { return Language_; }
    const std::filesystem::path& HelpFile() const { return HelpFile_; }

    // The settings dialog's OK: stores the copy and runs what depends on it.
    // Returns the method groups whose full-set files had to be made again.
    std::vector<int> ApplyConfig(const TConfigData& config);
    // The formula dialog's OK: the formulas and digits replace the current ones, the
    // SHREDDING section is written, the group 12 full-set files are made again (while
    // the comparison with the full set is on) and the method lists name the new
    // formulas.
    void ApplyShredding(const TShreddingSettings& shredding);
    // Writes one switch of the view table at once ("SortedDraws", ...).
    void WriteViewSwitch(const std::string& key);
    // Writes the sizes and depths of the view table (on exit).
    void WriteViewSizes();

    // ---- Draw archive ------------------------------------------------------
    const TDrawsArray& Draws() const { return Draws_; }
    int DrawsOffset() const { return Offset_; }
    void SetDrawsOffset(int k);
    const TDrawsOffsetInfo& OffsetInfo() const { return OffsetInfo_; }
    std::string DrawsCountPanel() const { return DrawsCountText(Draws_.size()); }
    std::string NextDrawPanel() const { return NextDrawText(OffsetInfo_.NextDrawNumber); }
    const std::string& NextDrawNumbersPanel() const { return OffsetInfo_.NextDrawNumbersText; }

    void LoadDraws();
    // False after a reported failure. While the archive has not loaded whole, every
    // write of it is refused, so that the draws that could not be read survive.
    bool SaveDraws();
    bool DrawsLoadFailed() const { return DrawsLoadFailed_; }
    // A new record for the draw dialog: zero numbers, the number after the newest
    // (0 when the newest has the largest number).
    TDrawRecord NewDrawRecord() const;
    // Appends a draw; a number the archive already has is refused unless allowed.
    // Each change of the archive is undone in memory when it could not be saved.
    bool DrawsAdd(const TDrawRecord& draw, bool allowExistingNumber = false);
    bool DrawsChange(int index, const TDrawRecord& draw);
    // Deletes exactly the draws at these archive indexes after the deletion question.
    bool DrawsDeleteAt(std::vector<int> indexes);
    // Deletes the draws with these numbers; a number that no draw or several draws
    // have is refused with a message listing them.
    bool DrawsDelete(const std::vector<int32_t>& numbers);
    // Number of draws added, or -1 on failure (nothing saved then).
    int DrawsImport(const std::filesystem::path& file, TDrawsImportReport* report = nullptr);
    bool DrawsExport(const std::filesystem::path& file);
    bool CanExportDraws() const { return !Busy() && !Draws_.empty(); }
    // Whether a file is one of the program's own files in the data folder.
    bool IsOwnDataFile(const std::filesystem::path& file) const;
    // Refuses, with a message, an output file that is one of them.
    bool CheckOutputFile(const std::filesystem::path& file);

    // ---- Draw download ------------------------------------------------------
    // "Загрузка": every draw after the newest, batch by batch, each batch saved before
    // the next is fetched; then the stakes are checked. Without a log the draws left out
    // are listed in one warning at the end. Failed is set when the download could not
    // start or ended on an error (the batches saved before stay).
    TDownloadReport DownloadDraws(const TDownloadOptions& options = {});
    bool CanDownloadDraws() const { return !Busy(); }
    // Whether the results site's address is set, so that a download can be offered.
    bool DrawDownloadAvailable() const { return !Downloader_.Settings().SiteUrl.empty(); }
    TDownloadSettings& DownloadSettings() { return Downloader_.Settings(); }
    // Replaces the HTTP client (the libcurl one is made on first use).
    void SetHttpClient(std::unique_ptr<IHttpClient> client) { Downloader_.SetClient(std::move(client)); }
    // The proxy dialog's OK: stores the mode and fields (the automatic mode keeps no
    // server) and writes the PROXY section; false after a reported failure.
    bool ProxySave(const TProxy& proxy);

    void SetSortedDraws(bool on);
    void SetColorDraws(bool on);
    void SetDownloadDrawsOnStart(int mode);

    // Prize-class sizes by number of hits and their shares of the full set.
    const std::array<uint64_t, MaxHits + 1>& PrizeClassSizes() const { return PrizeClassSizes_; }
    const std::array<long double, MaxHits + 1>& PrizeClassShares() const { return PrizeClassShares_; }

    // The open stakes file is the data lock.
    bool DataLockHeld() const { return Stakes_.IsOpen(); }

    // ---- Statistic methods -------------------------------------------------
    TStatList& Registry() { return Registry_; }
    const TStatList& Registry() const { return Registry_; }
    // Saves favourites and names, rebuilds the registry (parameter ranges follow the
    // settings) and reads them back.
    void ReloadRegistry();
    // The favourites file or an exported names file; a failure is shown, then false.
    bool LoadMethodNames(const std::filesystem::path& file, bool withFavourites);
    bool SaveMethodNames(const std::filesystem::path& file, bool withFavourites, bool allNames);

    // ---- Graphs and side analyses ------------------------------------------------
    bool GraphsShown() const { return View_.TabGraphs; }
    // The view menu's switch, written at once; a hidden tab forgets its graph.
    void SetTabGraphs(bool on);
    // The graph of registry entry `method` over the last DrawsGraphLen draws at the
    // offset. A hidden tab does no work; unforced, nothing happens while what the graph
    // was made from is unchanged; NoStatMethod clears it. Returns whether the graph was
    // touched. A failure is shown and leaves no graph.
    bool ComputeGraph(std::size_t method, bool force);
    const TGraphSeries& LastGraph() const { return Graph_; }
    // The next request builds the graph again (the settings changed what methods give).
    void ResetGraphKey() { GraphKey_.reset(); }
    // The full set and the archive by sum, with status, progress and Stop; none when
    // stopped or after a reported failure.
    std::optional<TSumDistribution> SumDistribution();
    // The repeats of the last `length` draws up to `depth` back, with progress and
    // Stop; none when stopped or after a reported failure.
    std::optional<std::vector<TRepeatRow>> Repeats(int length, int depth);

    // ---- Combination stores --------------------------------------------------
    TCombsArray& WorkingList() { return WorkingList_; }
    const TCombsArray& WorkingList() const { return WorkingList_; }
    TCombsArray& UndoCopy() { return UndoCopy_; }
    TCombsArray& Buffer() { return Buffer_; }

    // ---- Working combination list ------------------------------------------------
    // One row of the operation history under the list.
    struct TFilterRow {
        bool Exclude = false; // a remove step (else keep)
        std::string Caption;
        std::string Values;
        std::size_t Count = 0; // combinations after the step
    };
    const std::vector<TFilterRow>& FilterRows() const { return FilterRows_; }
    void AddFilterRow(bool exclude, const std::string& caption, const std::string& values);
    void DeleteLastFilterRow();
    void ClearFilterRows();
    std::string CombsCountPanel() const;

    // Replaces the list; interactive: with status, history cleared, undo and buffer
    // emptied. False after a reported failure.
    bool GenerateList(bool interactive, const TGenerateDefaults& settings);
    void MakeUndoCopy(bool interactive);
    void RestoreUndoCopy(bool interactive);
    void ClearUndo() { UndoCopy_.clear(); }
    // The list becomes the undo copy, without a copy; the list is left undefined
    // for a filter pass to overwrite.
    void SwapListIntoUndo() { std::swap(WorkingList_, UndoCopy_); }
    bool CanUndo() const { return !UndoCopy_.empty(); }
    void SaveToBuffer(int a, int b);
    bool RestoreFromBuffer(int a, int b);
    void InvalidateBuffer();
    // Removes the combinations drawn in the last n draws at the offset (undo copy
    // made by the caller).
    void ExcludeLastDraws(int n);

    // Commands of the combinations tab.
    bool CombsGenerate(const TGenerateDefaults& settings, bool makeDefault);
    void CombsExclude(int n);
    void CombsDeleteSelected(const std::vector<std::size_t>& rows);
    void CombsUndo();
    bool CombsOpen(const std::filesystem::path& file);
    bool CombsSave(const std::filesystem::path& file);
    std::string CombsCopyText(const std::vector<std::size_t>& rows);
    bool CombsPaste(std::string_view text);
    void CombsDistinctNumbers();
    void CombsFindInArchive(std::size_t row);

    // ---- Filtering -------------------------------------------------------------------
    // Keeps (or removes) the combinations of the undo copy that have one of the
    // selected values; adds a history row. The undo copy is made by the caller.
    void ApplyValuesFilter(const TStatMethodFactory& create, const TStatDrawArray& selected, bool exclude,
                           const std::string& caption, const std::string& valuesText);
    // The statistics tab's keep/remove buttons: rows are display rows of the last table.
    void StatFilter(const std::vector<std::size_t>& selectedRows, bool exclude);
    // The filter step of both, over the undo copy the caller made; raises Error.
    void ApplyTableFilter(const std::vector<std::size_t>& selectedRows, bool exclude);

    // ---- Full set and prefetch files -------------------------------------------
    std::filesystem::path PrefetchFileName(std::size_t method) const;
    // Builds the file of one registry entry; false after the failure was reported.
    bool CreatePrefetchFile(std::size_t method);
    // The full-set distribution of a method, building a missing or empty file first;
    // nothing while the comparison is off, for methods without one, or on failure.
    std::optional<TPrefetchData> OpenPrefetchFile(std::size_t method);
    // Creates the missing files and re-creates those of the given groups; does
    // nothing unless forced or the comparison is on. Returns the files written.
    int CreatePrefetchFiles(bool force, const std::vector<int>& groups);
    // The menu switch: stores the setting and builds what is missing.
    void SetPrefetchsEnabled(bool on);

    // ---- Statistics table ------------------------------------------------------
    // Registry index standing for "no method selected".
    static constexpr std::size_t NoStatMethod = static_cast<std::size_t>(-1);
    // Recomputes the table of registry entry `method` over the last DrawsStatLen draws
    // at the offset; unforced, nothing happens while the archive size, offset, length
    // and method are those of the last computation. Returns whether the table was
    // touched. A failure empties the table and propagates.
    bool ComputeTable(std::size_t method, bool force);
    const TStatTable& LastStatTable() const { return StatTable_; }
    // Registry index of the last table's method, NoStatMethod when none.
    std::size_t LastStatMethod() const { return StatMethod_; }
    // Sort of the table, kept for the next computations (-1..19; Error otherwise).
    void SortStatTable(int column, bool descending);
    int StatSortColumn() const { return StatSortColumn_; }
    bool StatSortDescending() const { return StatSortDescending_; }
    void ResetStatTableKey() { StatKey_.reset(); }

    // ---- Card, layout and weekday views -------------------------------------------
    const TCardView& Card() const { return Card_; }
    const TLayoutView& Layout() const { return Layout_; }
    const TWeekView& Week() const { return Week_; }
    bool ViewTabShown(TAnalysisView view) const;
    // The view menu's switches ("TabCard", ...), written at once; a hidden view
    // forgets its data.
    void SetViewTabShown(TAnalysisView view, bool on);
    TCardColouring CardColouring() const {
        return {View_.ColorCard, View_.ColorCardSequences, Config_.ChannelSize};
    }
    // Builds a shown view (a hidden one does no work); unforced, only when what it
    // shows changed since its last build. Returns whether it was built.
    bool RefreshCard(bool force);
    bool RefreshLayout(bool force);
    bool RefreshLayoutCompare(bool force);
    bool RefreshWeek(bool force);
    bool CanViewFilter(TAnalysisView view) const {
        return !Busy() && !WorkingList_.empty() && ViewTabShown(view);
    }
    // "Оставить выделенные" / "Удалить выделенные" of a view: keeps (removes) the
    // combinations with any number of the selected cells, as the numbers method's
    // filter does. False when the cells hold no number (the list is left alone).
    bool ViewFilter(TAnalysisView view, std::span<const TGridCell> cells, bool exclude);

    // ---- Stakes ----------------------------------------------------------------
    TStakesFile& Stakes() { return Stakes_; }
    const TStakesFile& Stakes() const { return Stakes_; }
    std::string StakesCountPanel() const;
    bool CanEditStakes() const { return !Busy() && Stakes_.IsOpen(); }
    // What the stake dialog opens on: a manual stake for the next draw at the offset
    // with these numbers (none: zeros).
    TStakeRecord NewManualStake(const TCombination* numbers) const;
    // A uniformly drawn index of the working list; none when it is empty.
    std::optional<std::size_t> RandomCombinationIndex() const;

    struct TStakeInput {
        int64_t DrawNumber = 0;
        int Copies = 1;
        std::string NumbersText; // "1;2;..."
        std::string Comment;
        TStakeKind Kind = StakeKindManual;
    };
    // The stake dialog's OK: a refused stake gets the dialog's message and false;
    // otherwise the stake is appended with its copies and all stakes are checked.
    bool StakeAddManual(const TStakeInput& input);
    // Stakes for the combinations at these rows of the working list (all of it when
    // rows is null), each with its copies, then a check. Returns the stakes appended
    // (those before a failure stay), -1 when nothing could be appended.
    int64_t StakesAddCombinations(const std::vector<std::size_t>* rows, int64_t drawNumber, int copies,
                                  const std::string& comment);
    // Checks every stake whose draw is known; the number checked, -1 after a failure.
    int64_t StakesCheck();
    // Deletes the records first..last (0-based) after the deletion question.
    bool StakesDeleteRange(int64_t first, int64_t last);
    // Records removed, -1 on failure or stop.
    int64_t StakesDeleteByCondition(const TStakeFilter& filter);
    bool StakesClear();
    bool StakesLogsDelete();
    void SetStakesLogEnabled(bool on);
    void SetStakesScrollEnabled(bool on);
    // Profit per draw for the chart; none after a reported failure.
    std::optional<TProfitDrawArray> StakesProfitByDraw();
    // Every stake a check turns into a checked one is handed on here too.
    void AddStakeCheckSink(IStakeCheckSink* sink);
    void RemoveStakeCheckSink(IStakeCheckSink* sink);

    // ---- Systems ---------------------------------------------------------------
    std::filesystem::path SystemsDir() const { return DataDir() / SystemsFolderName; }
    bool CanPlaySystem() const { return !Busy() && !WorkingList_.empty() && Stakes_.IsOpen(); }
    // A system laid onto the working list's numbers, with what the multi-stake dialog
    // opens on.
    struct TSystemGame {
        TSystemMode Mode = TSystemMode::All;
        TSystemLoad System;
        int64_t DrawNumber = 1;
        std::string Comment;
    };
    // Finds and loads the system for the working list; none after the error box.
    std::optional<TSystemGame> SystemPrepare(TSystemMode mode);
    // The multi-stake dialog's OK: the system's stakes (kind 4) after a separator, each
    // with its copies, then a check. Returns the stakes appended, -1 on failure.
    int64_t SystemStake(const TSystemGame& game, int64_t drawNumber, int copies, const std::string& comment);
    // Generates a system and writes it into the systems folder; the file, or none
    // after a reported problem or a stop.
    std::optional<std::filesystem::path> SystemGenerate(const TSystemRequest& request);
    // The exact guarantee of a system file for m drawn numbers among its n.
    std::optional<TSystemCheck> SystemCheck(const std::filesystem::path& file, int m);

    // ---- Ratings ---------------------------------------------------------------
    const TRatings& Ratings() const { return Ratings_; }
    std::string RatingsCountPanel() const;
    // The view of the effectiveness columns, 0..2.
    int RatingsEffMode() const;
    // Stores the view setting at once.
    void SetRatingsEffMode(int mode);
    int RatingsSortColumn() const { return RatingsSortColumn_; }
    bool RatingsSortDescending() const { return RatingsSortDescending_; }
    // A click on a column header: sorts, keeps the order for later sorts and saves.
    // Before the ratings are loaded at start-up (a restored list order) it only keeps
    // the order, which the load then sorts by: a save then would empty the file.
    bool RatingsSort(int column, bool descending);
    // Rebuilds the ratings from the checked stakes of the stakes file, after the
    // question when there are ratings to lose. False when refused, stopped or failed
    // (the ratings stay as they were then).
    bool RatingsRefresh();
    bool RatingsExport(const std::filesystem::path& file);
    bool CanRefreshRatings() const { return !Busy() && Stakes_.IsOpen(); }
    bool CanExportRatings() const { return !Busy() && !Ratings_.Empty(); }
    // Whether the ratings file could not be read whole at start-up: it is then never
    // written, so that what could not be read is not lost, until a rebuild.
    bool RatingsSaveBlocked() const { return RatingsSaveBlocked_; }
    // The match-count chart of the rows of the list.
    std::vector<TRatingsSeries> RatingsOverlapChart(const std::vector<std::size_t>& rows) const;
    // The per-draw chart of the sources of the rows; none after the reported error.
    std::optional<std::vector<TRatingsSeries>> RatingsDrawChart(const std::vector<std::size_t>& rows,
                                                                TRatingsDrawValue value);

    // ---- Regular stakes --------------------------------------------------------
    // Held only while the tab "Регуляры" is shown.
    const TRegularsArray& Regulars() const { return Regulars_; }
    bool RegularsVisible() const { return View_.TabTables; }
    bool CanEditRegulars() const { return !Busy() && View_.TabTables; }
    // The view menu's switch: stores it at once; showing loads, hiding drops them.
    void SetTabTables(bool on);
    void LoadRegulars();
    bool SaveRegulars();
    // What the add dialog opens on, for the selected rows of the working list.
    TRegularInput NewRegularInput(const std::vector<std::size_t>& selectedRows) const;
    // The add dialog's OK: a refused input gets the dialog's message and false.
    // Returns the regulars added.
    int RegularsAdd(const TRegularInput& input, const std::vector<std::size_t>& selectedRows);
    bool RegularsDelete(std::vector<std::size_t> rows);
    // A stake by the regular at `row`: the advanced copy and the stake the dialog
    // opens on; none after a reported refusal.
    struct TRegularStake {
        TRegularRecord Advanced;
        TStakeRecord Stake;
    };
    std::optional<TRegularStake> RegularStakePrepare(std::size_t row);
    // The stake dialog's OK: stores the advanced copy, then appends and checks.
    bool RegularStakeCommit(std::size_t row, const TRegularRecord& advanced, const TStakeInput& input);
    // Back-test over the last n draws; the stakes appended, -1 when none could be.
    int64_t RegularsTest(const std::vector<std::size_t>& rows, int n);

    // ---- Script runs -------------------------------------------------------------
    bool CanRunScript(const TScriptLines& lines) const {
        return !Busy() && !lines.empty() && !Draws_.empty();
    }
    bool ScriptRunning() const { return ScriptRunner_.State().Running; }
    const TScriptRunState& ScriptRunState() const { return ScriptRunner_.State(); }
    // The forecast at the current offset.
    void ScriptForecast(const TScriptLines& lines);
    // The back-test over the last `tests` draws (1 .. draws - 1); false when refused.
    bool ScriptBackTest(const TScriptLines& lines, int tests);
    int MaxScriptTests() const { return std::max(0, static_cast<int>(Draws_.size()) - 1); }
    // The Stop action: asks, then ends the run at its next step.
    void ScriptStop();
    void SetScriptLogEnabled(bool on);
    void SetStakesCheckOnLine(bool on);
    // Deletes the logs of earlier runs after telling what it found; false when none.
    bool ScriptLogsDelete();
    // RAND repeats exactly with a seed (the command line's).
    void SetScriptSeed(std::optional<uint64_t> seed) { ScriptSeed_ = seed; }
    // Every run logs to this file (the command line's), whatever the log switch says.
    void SetScriptLogFile(const std::filesystem::path& file);

    // Cost of one 12-number stake: an unchecked stake carries minus it.
    TMoney StakeCost() const;

    // ---- Script -----------------------------------------------------------------
    const TScript& Script() const { return Script_; }
    // "Строк: %d"
    std::string ScriptCountPanel() const;
    // Enabling of the script tab's actions; `row` is the current row, -1 for none.
    bool CanScriptOpen() const { return !Busy(); }
    bool CanScriptSave() const { return !Busy() && !Script_.Empty(); }
    bool CanScriptAdd() const { return !Busy(); }
    bool CanScriptAddSeparator() const { return !Busy() && !Script_.Empty(); }
    bool CanScriptLoad() const { return !Busy(); }
    bool CanScriptClone(int row) const { return CanScriptEdit(row); }
    bool CanScriptEdit(int row) const;
    bool CanScriptDelete(std::size_t selectedCount) const { return !Busy() && selectedCount > 0; }
    bool CanScriptClear() const { return !Busy() && !Script_.Empty(); }
    bool CanScriptUp(int row) const;
    bool CanScriptDown(int row) const;
    // The commands return false after a reported failure. A change whose mirror write
    // failed stays in the list (the failure is reported all the same).
    bool ScriptOpen(const std::filesystem::path& file);
    bool ScriptSave(const std::filesystem::path& file);
    // Appends a script file.
    bool ScriptLoad(const std::filesystem::path& file);
    // The line editor's OK for a new (or cloned) line: the line's row, none when it
    // could not be added.
    std::optional<std::size_t> ScriptAdd(const std::string& line);
    bool ScriptEdit(std::size_t row, const std::string& line);
    std::optional<std::size_t> ScriptAddSeparator();
    // After the deletion question; false when declined too.
    bool ScriptDelete(const std::vector<std::size_t>& rows);
    bool ScriptClear();
    // The row the line went to (the selection follows it); none on failure.
    std::optional<std::size_t> ScriptMoveUp(std::size_t row);
    std::optional<std::size_t> ScriptMoveDown(std::size_t row);
    // "Добавить в сценарий": the sources of these ratings rows as script lines, in
    // list order; a source that gives no line is named in an error box. The lines
    // added (the mirror is written once for all of them).
    bool CanRatingsToScript(std::size_t selectedCount) const { return !Busy() && selectedCount > 0; }
    int RatingsToScript(std::vector<std::size_t> rows);

private:
    void LoadViewState();
    void LoadMainSettings();
    // Takes the data lock without a message; with "restart" it waits while another
    // copy holds it. False when it is held elsewhere (or could not be taken).
    bool TryTakeDataLock();
    bool TakeDataLock();
    void LoadStakes();
    TScriptRunOptions ScriptRunOptions() const;
    void CloseStakes();
    bool CheckStakesOpen();
    bool StakesRewrite(const std::function<bool(int64_t, const TStakeRecord&)>& keep, int64_t* removed);
    // Appends `model` with the numbers of each combination (of `rows` of them, when
    // given) in batches, with progress and Stop, then checks the stakes; a separator
    // first when asked and the file ends with a stake. Stakes appended, or -1 when
    // none were and the run failed.
    int64_t AppendStakeRun(const TStakeRecord& model, int copies, std::span<const TCombination> combinations,
                           const std::vector<std::size_t>* rows, bool separatorFirst);
    void RefreshDrawsView();
    bool CheckDrawsWritable();
    // Saves the changed archive; on failure puts `before` back.
    bool CommitDraws(TDrawsArray&& before);
    void RefreshAnalysisViews();
    void ShowOperationError(const char* operation, const std::exception& e);

    // Steps of subsystems that are not part of the program yet.
    void ClearCombinationStores();
    void ReserveCombinationStores();
    void BuildMethodRegistry();
    void LoadRatingsRegularsAndScript() {
        LoadRatings();
        LoadRegulars();
        LoadScript();
    }
    bool CheckRegularsShown();
    void LoadScript();
    // Runs a change of the script, shows what it raised; false then.
    bool ScriptChange(const std::function<void()>& change, const std::string& status = {});
    void LoadRatings();
    // Feeds the ratings what a check interrupted by a crash marked, from the journal
    // it left; true when they got it (the journal goes once they are saved). Any
    // other journal is removed here, an unusable one with a warning.
    bool ResumeInterruptedCheck();
    void DropCheckJournal();
    // Sorts by the list's order and saves; false after a reported failure.
    bool SortAndSaveRatings();
    // Writes the PROXY section; false after a reported failure.
    bool WriteProxySettings();
    void StopRunningScript();
    // Runs the build of a view with its status text; a failure is shown and leaves
    // the view empty.
    void BuildView(const std::string& status, const std::function<void()>& build,
                   const std::function<void()>& clear);
    TLayoutInput LayoutInput() const { return {Draws_, Offset_, View_.SortedDraws, OffsetInfo_.NextDrawSet}; }

    IUserInterface& Ui_;
    TSessionOptions Options_;
    TViewStore ViewStore_;
    int BusyCount_ = 0;
    bool Closed_ = false;

    TConfigData Config_;
    TGenerateDefaults GenerateDefaults_;
    TShreddingSettings Shredding_;
    TProxy Proxy_;
    TDrawDownloader Downloader_;
    TViewState View_;
    int Language_ = 1049;
    std::filesystem::path HelpFile_;

    TDrawsArray Draws_;
    bool DrawsLoadFailed_ = false;
    int Offset_ = 0;
    TDrawsOffsetInfo OffsetInfo_;

    std::array<uint64_t, MaxHits + 1> PrizeClassSizes_{};
    std::array<long double, MaxHits + 1> PrizeClassShares_{};

    TStatList Registry_{Draws_, Config_, Shredding_};
    TCombsArray WorkingList_;
    TCombsArray UndoCopy_;
    TCombsArray Buffer_;
    std::pair<int, int> BufferKey_{-1, -1};
    std::vector<TFilterRow> FilterRows_;

    std::optional<TGraphKey> GraphKey_;
    TGraphSeries Graph_;

    TStakesFile Stakes_;
    std::vector<IStakeCheckSink*> StakeSinks_;

    TRatings Ratings_;
    bool RatingsSaveBlocked_ = false;
    bool RatingsLoaded_ = false;
    // What the ratings file holds, while it is the one the ratings were read from or
    // last saved to.
    std::optional<TRatingsFileId> RatingsFileId_;
    int RatingsSortColumn_ = RatingsDefaultSortColumn;
    bool RatingsSortDescending_ = RatingsDefaultSortDescending;

    TScript Script_{Options_.DataDir / ScriptMirrorFileName};

    TRegularsArray Regulars_;
    // The file could not be read whole: it is not rewritten, so nothing is lost.
    bool RegularsSaveBlocked_ = false;

    // Statistics table
    struct TStatTableKey {
        std::size_t DrawCount = 0;
        int Offset = 0;
        int Len = 0;
        std::size_t Method = 0;
        bool operator==(const TStatTableKey&) const = default;
    };
    std::optional<TStatTableKey> StatKey_; // empty at start-up: the first request computes
    TStatTable StatTable_;
    std::size_t StatMethod_ = NoStatMethod;
    int StatSortColumn_ = 1;
    bool StatSortDescending_ = false;
    TWeights StatWeights_; // those the last table was computed with

    TCardView Card_;
    TLayoutView Layout_;
    TWeekView Week_;

    TSessionScriptHost ScriptHost_{*this};
    TScriptLog ScriptLog_{Options_.DataDir};
    TScriptRunner ScriptRunner_{ScriptHost_, ScriptLog_};
    std::optional<uint64_t> ScriptSeed_;
    bool ScriptLogForced_ = false;
};

// Raises the busy counter for its lifetime and shows an operation text meanwhile.
class TBusyScope {
public:
    explicit TBusyScope(Session& session, const std::string& status = {});
    ~TBusyScope();
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    Session& Session_;
    bool HasStatus_;
};

// The refusal to write an archive that did not load whole.
std::string DrawsNotLoadedText(const std::filesystem::path& file);

// The groups of methods whose full-set files depend on what changed.
std::vector<int> ChangedSettingGroups(const TConfigData& before, const TConfigData& after);

} // namespace kumby
