#include "Session.h"

#include "app/ProcessWait.h"
#include "draws/DrawCsv.h"
#include "model/Error.h"
#include "model/VexoUtils.h"

#include <cstdlib>
#include <ctime>
#include <map>

namespace kumby {

namespace {

constexpr const char* StartFailedText = "Ошибка запуска программы!\r\r%s";
constexpr const char* InitFailedText = "Ошибка инициализации программы!\r\r%s";

std::string WithDetail(const char* operation, const std::string& detail) {
    std::string text = operation;
    const std::size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, detail);
    return text;
}

// Three-letter code of an interface language, as the help file names use it.
std::string LanguageCode(int language) {
    return language == 1049 ? "RUS" : "ENU";
}

} // namespace

// ---- Busy state -----------------------------------------------------------

TBusyScope::TBusyScope(Session& session, const std::string& status)
    : Session_(session), HasStatus_(!status.empty()) {
    Session_.BeginBusy();
    if (HasStatus_) {
        Session_.Ui().SetStatus(status);
        Session_.Ui().PumpEvents();
    }
}

TBusyScope::~TBusyScope() {
    if (HasStatus_)
        Session_.Ui().SetStatus("");
    Session_.EndBusy();
}

void Session::BeginBusy() {
    if (BusyCount_++ == 0)
        Ui_.Notify(TSessionEvent::BusyChanged);
}

void Session::EndBusy() {
    if (BusyCount_ > 0 && --BusyCount_ == 0)
        Ui_.Notify(TSessionEvent::BusyChanged);
}

// ---- Life cycle -----------------------------------------------------------

Session::Session(IUserInterface& ui, TSessionOptions options)
    : Ui_(ui), Options_(std::move(options)), ViewStore_(Options_.DataDir / ViewStateFileName) {}

Session::~Session() {
    if (!Closed_)
        Close(false);
}

std::string Session::WindowCaption() const {
    return std::string(DefaultCaption) + " версия " + KUMBY_VERSION;
}

void Session::ShowOperationError(const char* operation, const std::exception& e) {
    Ui_.ShowError(WithDetail(operation, e.what()));
}

bool Session::Create() {
    try {
        Proxy_ = TProxy{};
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        ClearCombinationStores();

        if (Options_.CommandLine.Restart) {
            const std::filesystem::path self = CurrentProgramFile();
            if (!WaitWhileRunning([&] { return OtherProcessRuns(self); }))
                return false;
        }

        const TIniFile frm = ViewStore_.Read();
        Language_ =
            Options_.CommandLine.NoLanguage ? 1049 : frm.ReadInteger(MainWindowSection, "Language", 1049);
        HelpFile_.clear();
        const std::string helpName = "Vexor_" + LanguageCode(Language_) + ".chm";
        for (const auto& dir : {DataDir(), DataDir() / "help", DataDir().parent_path()})
            if (std::filesystem::exists(dir / helpName)) {
                HelpFile_ = dir / helpName;
                break;
            }
    } catch (const std::exception& e) {
        ShowOperationError(StartFailedText, e);
    }

    LoadViewState();

    try {
        LoadMainSettings();
        BuildMethodRegistry();
        ResetStatTableKey();
    } catch (const std::exception& e) {
        ShowOperationError(StartFailedText, e);
    }
    return true;
}

void Session::LoadViewState() {
    try {
        const TIniFile frm = ViewStore_.Read();
        ReadViewState(frm, View_);
        if (!View_.PrefetchsInit) {
            View_.PrefetchsInit = true;
            ViewStore_.Write(MainWindowSection, {{"PrefetchsInit", "1"},
                                                 {"PrefetchsEnabled", View_.PrefetchsEnabled ? "1" : "0"}});
        }
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка загрузки параметров программы!\r\r%s", e);
    }
}

void Session::LoadMainSettings() {
    TBusyScope busy(*this, "Загрузка файла конфигурации...");
    const std::filesystem::path path = DataPath(MainSettingsFileName);
    try {
        const TIniFile ini = TIniFile::Load(path);
        ReadGenerateGroup(ini, GenerateDefaults_);
        ReadConfigGroup(ini, Config_);
        ReadShreddingGroup(ini, Shredding_);
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка чтения файла конфигурации!\r\r%s", e);
    }
    try {
        ReadProxyGroup(TIniFile::Load(path), Proxy_);
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка чтения файла конфигурации!\r\r%s", e);
    }
}

bool Session::TakeDataLock() {
    try {
        DataLock_.Acquire(DataPath(StakesFileName));
        return true;
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка чтения файла ставок!\r\r%s", e);
        Ui_.ShowError(NoDataLockText);
        return false;
    }
}

TStartResult Session::Start() {
    const TCommandLine& cl = Options_.CommandLine;
    try {
        TBusyScope busy(*this, "Инициализация...");

        for (int k = 0; k <= MaxHits; ++k) {
            PrizeClassSizes_[k] = HitCount(MaxNumber, NumbersInDraw, k);
            PrizeClassShares_[k] =
                static_cast<long double>(PrizeClassSizes_[k]) / Binomial(MaxNumber, NumbersInDraw);
        }
        ReserveCombinationStores();
        Offset_ = 0;

        if (!TakeDataLock())
            return TStartResult::Exit;

        LoadDraws();
        GenerateList(true, GenerateDefaults_);
        RefreshAnalysisViews();
        LoadRatingsRegularsAndScript();

        if (cl.LoadOnly) {
            DownloadNewDraws();
            if (!cl.FullRecreate && !cl.FullRefresh)
                return TStartResult::Exit;
        }
        if (cl.FullRecreate) {
            CreatePrefetchFiles(true, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
            return TStartResult::Exit;
        }
        if (View_.PrefetchsEnabled || cl.FullRefresh)
            CreatePrefetchFiles(cl.FullRefresh, {});
        if (cl.FullRefresh)
            return TStartResult::Exit;
    } catch (const std::exception& e) {
        ShowOperationError(InitFailedText, e);
    }

    if (Options_.Headless)
        return TStartResult::Ready;

    try {
        // The question only makes sense once new draws can be fetched.
        if (DrawDownloadAvailable()) {
            if (View_.DownloadDrawsOnStart == 0) {
                if (Ui_.Confirm("Обновить список тиражей?\r\rДля выполнения обновления необходимо "
                                "действующее подключение к сети Интернет."))
                    DownloadNewDraws();
            } else if (View_.DownloadDrawsOnStart == 1) {
                DownloadNewDraws();
            }
        }
        if (View_.FirstRun) {
            THelpDialogRequest request;
            request.HelpFileAvailable = !HelpFile_.empty();
            Ui_.ShowHelpDialog(request);
            if (request.DontShowAgain) {
                View_.FirstRun = false;
                WriteViewSwitch("FirstRun");
            }
        }
    } catch (const std::exception& e) {
        ShowOperationError(InitFailedText, e);
    }
    return TStartResult::Ready;
}

void Session::Close(bool writeViewState) {
    if (Closed_)
        return;
    Closed_ = true;
    StopRunningScript();
    if (writeViewState)
        WriteViewSizes();
    Draws_.clear();
    DataLock_.Release();
}

// ---- Statistic methods and combination stores ------------------------------

void Session::BuildMethodRegistry() {
    Registry_.SetHelpFile(HelpFile_.string());
    Registry_.SetLanguageCode(LanguageCode(Language_));
    Registry_.Rebuild();
    LoadMethodNames(DataPath(FilterNamesFileName), true);
}

void Session::ReloadRegistry() {
    SaveMethodNames(DataPath(FilterNamesFileName), true, false);
    Registry_.Rebuild();
    Registry_.MarkAll();
    LoadMethodNames(DataPath(FilterNamesFileName), true);
}

bool Session::LoadMethodNames(const std::filesystem::path& file, bool withFavourites) {
    try {
        Registry_.LoadNames(file, withFavourites);
        return true;
    } catch (const std::exception& e) {
        Ui_.ShowError(e.what());
        return false;
    }
}

bool Session::SaveMethodNames(const std::filesystem::path& file, bool withFavourites, bool allNames) {
    try {
        Registry_.SaveNames(file, withFavourites, allNames);
        return true;
    } catch (const std::exception& e) {
        Ui_.ShowError(e.what());
        return false;
    }
}

void Session::ClearCombinationStores() {
    WorkingList_.clear();
    UndoCopy_.clear();
    Buffer_.clear();
}

void Session::ReserveCombinationStores() {
    // Reserved once, so that filling the full set never reallocates.
    WorkingList_.reserve(FullSetSize);
    UndoCopy_.reserve(FullSetSize);
    Buffer_.reserve(FullSetSize);
}

// ---- Settings -------------------------------------------------------------

void Session::WriteViewSwitch(const std::string& key) {
    try {
        ViewStore_.Write(MainWindowSection, {{key, ViewKeyText(View_, key)}});
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка сохранения параметров программы!\r\r%s", e);
    }
}

void Session::WriteViewSizes() {
    try {
        ViewStore_.Write(MainWindowSection, ViewSizeValues(View_));
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка сохранения параметров программы!\r\r%s", e);
    }
}

std::vector<int> ChangedSettingGroups(const TConfigData& before, const TConfigData& after) {
    std::vector<int> groups;
    if (before.ChannelSize != after.ChannelSize)
        groups.push_back(3);
    if (before.MatrixCols != after.MatrixCols)
        groups.push_back(4);
    if (MatrixSegmentsToText(before.MatrixSegments) != MatrixSegmentsToText(after.MatrixSegments))
        groups.push_back(5);
    return groups;
}

std::vector<int> Session::ApplyConfig(const TConfigData& config) {
    const std::vector<int> groups = ChangedSettingGroups(Config_, config);
    Config_ = config;
    try {
        TBusyScope busy(*this, "Сохранение файла конфигурации...");
        const std::filesystem::path path = DataPath(MainSettingsFileName);
        TIniFile ini = TIniFile::Load(path);
        WriteConfigGroup(ini, Config_);
        ini.Save(path);
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка записи в файл конфигурации!\r\r%s", e);
    }
    Ui_.Notify(TSessionEvent::SettingsChanged);
    if (!groups.empty()) {
        ReloadRegistry(); // parameter ranges follow the channel and matrix settings
        CreatePrefetchFiles(false, groups);
    }
    RefreshAnalysisViews();
    Ui_.Notify(TSessionEvent::DrawsDisplayChanged);
    return groups;
}

// ---- Draw archive ---------------------------------------------------------

void Session::RefreshDrawsView() {
    if (Draws_.empty() || Offset_ < 0)
        Offset_ = 0;
    else if (static_cast<std::size_t>(Offset_) >= Draws_.size())
        Offset_ = static_cast<int>(Draws_.size()) - 1;
    OffsetInfo_ = ComputeOffsetInfo(Draws_, Offset_);
    Ui_.Notify(TSessionEvent::DrawsChanged);
}

void Session::RefreshAnalysisViews() {
    Ui_.Notify(TSessionEvent::AnalysisViewsChanged);
}

void Session::LoadDraws() {
    const std::filesystem::path path = DataPath(DrawsFileName);
    if (!std::filesystem::exists(path)) {
        Draws_.clear();
        RefreshDrawsView();
        return;
    }
    try {
        TBusyScope busy(*this, "Загрузка файла тиражей...");
        LoadDrawArchive(path, Draws_);
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка чтения файла тиражей!\r\r%s", e);
    }
    RefreshDrawsView();
}

bool Session::SaveDraws() {
    bool ok = true;
    try {
        TBusyScope busy(*this, "Сохранение файла тиражей...");
        SaveDrawArchive(DataPath(DrawsFileName), Draws_);
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка записи в файл тиражей!\r\r%s", e);
        ok = false;
    }
    RefreshDrawsView();
    return ok;
}

void Session::SetDrawsOffset(int k) {
    if (k == Offset_)
        return;
    Offset_ = k;
    RefreshDrawsView();
    RefreshAnalysisViews();
}

TDrawRecord Session::NewDrawRecord() const {
    TDrawRecord rec;
    rec.Number = NextDrawNumber(Draws_, 0);
    return rec;
}

bool Session::DrawsAdd(const TDrawRecord& draw) {
    Draws_.push_back(draw);
    const bool ok = SaveDraws();
    RefreshAnalysisViews();
    return ok;
}

bool Session::DrawsChange(int index, const TDrawRecord& draw) {
    if (index < 0 || static_cast<std::size_t>(index) >= Draws_.size()) {
        Ui_.ShowError(Format("Запись со индексом %d в файле данных не найдена!", index));
        return false;
    }
    Draws_[index] = draw;
    const bool ok = SaveDraws();
    RefreshAnalysisViews();
    return ok;
}

bool Session::DrawsDelete(const std::vector<int32_t>& selectedNumbers) {
    if (selectedNumbers.empty())
        return false;
    const std::string question =
        selectedNumbers.size() == 1
            ? std::string("Удалить выделенную запись?")
            : Format("Удалить все выделенные записи (всего будет удалено %d записи(ей))?",
                     static_cast<int>(selectedNumbers.size()));
    if (!Ui_.Confirm(question, TConfirmKind::Deletion))
        return false;
    {
        TBusyScope busy(*this, "Удаление выделенных тиражей....");
        try {
            for (auto it = selectedNumbers.rbegin(); it != selectedNumbers.rend(); ++it) {
                const int index = FindDrawIndex(Draws_, *it);
                if (index >= 0)
                    DeleteDraw(Draws_, index);
            }
        } catch (const std::exception& e) {
            Ui_.ShowError(e.what());
        }
        RefreshDrawsView();
    }
    const bool ok = SaveDraws();
    RefreshAnalysisViews();
    return ok;
}

int Session::DrawsImport(const std::filesystem::path& file) {
    int added = -1;
    {
        TBusyScope busy(*this, Format("Импорт тиражей из файла \"%s\"...", file.string().c_str()));
        try {
            TDrawsArray draws = Draws_;
            added = ImportDrawsCsv(file, draws);
            Draws_ = std::move(draws);
        } catch (const std::exception& e) {
            Ui_.ShowError(e.what());
            return -1;
        }
    }
    SaveDraws();
    RefreshAnalysisViews();
    return added;
}

bool Session::DrawsExport(const std::filesystem::path& file) {
    TBusyScope busy(*this, Format("Экспорт тиражей в файл \"%s\"...", file.string().c_str()));
    try {
        ExportDrawsCsv(file, Draws_);
        return true;
    } catch (const std::exception& e) {
        Ui_.ShowError(e.what());
        return false;
    }
}

void Session::SetSortedDraws(bool on) {
    View_.SortedDraws = on;
    WriteViewSwitch("SortedDraws");
    Ui_.Notify(TSessionEvent::DrawsDisplayChanged);
    RefreshAnalysisViews();
}

void Session::SetColorDraws(bool on) {
    View_.ColorDraws = on;
    WriteViewSwitch("ColorDraws");
    Ui_.Notify(TSessionEvent::DrawsDisplayChanged);
}

void Session::SetDownloadDrawsOnStart(int mode) {
    View_.DownloadDrawsOnStart = mode >= 0 && mode <= 2 ? mode : 0;
    WriteViewSwitch("DownloadDrawsOnStart");
}

} // namespace kumby
