#include "Session.h"

#include "app/DataFiles.h"
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
    : Ui_(ui), Options_(std::move(options)), ViewStore_(Options_.DataDir / ViewStateFileName) {
    AddStakeCheckSink(&Ratings_);
}

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

        // The lock comes before the first write of any file, so that a copy refused
        // at start-up leaves the data folder exactly as it was.
        if (!TryTakeDataLock() && Options_.CommandLine.Restart)
            return false;

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
        if (!View_.PrefetchsInit && DataLockHeld()) {
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
        Downloader_.Settings().SiteUrl = ini.ReadString(DownloadSection, SiteUrlKey, "");
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка чтения файла конфигурации!\r\r%s", e);
    }
    try {
        ReadProxyGroup(TIniFile::Load(path), Proxy_);
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка чтения файла конфигурации!\r\r%s", e);
    }
}

bool Session::TryTakeDataLock() {
    const std::filesystem::path lockFile = DataPath(StakesFileName);
    bool heldElsewhere = false;
    try {
        if (!Stakes_.TryOpen(lockFile)) {
            // "restart": the copy that started this one still works on the folder.
            heldElsewhere = !Options_.CommandLine.Restart ||
                            !WaitWhileRunning([&] { return !Stakes_.TryOpen(lockFile); });
        }
    } catch (const std::exception&) {
        // Reported by the start-up step, which tries again.
    }
    if (Stakes_.IsOpen())
        RemoveStaleSaveTemporaries(DataDir());
    return !heldElsewhere;
}

bool Session::TakeDataLock() {
    if (Stakes_.IsOpen())
        return true;
    try {
        Stakes_.Open(DataPath(StakesFileName));
        RemoveStaleSaveTemporaries(DataDir());
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
        LoadStakes();

        LoadDraws();
        GenerateList(true, GenerateDefaults_);
        RefreshAnalysisViews();
        LoadRatingsRegularsAndScript();

        if (cl.LoadOnly) {
            DownloadDraws();
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
                    DownloadDraws();
            } else if (View_.DownloadDrawsOnStart == 1) {
                DownloadDraws();
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
    // A copy that never held the lock has no say in the folder's files.
    if (writeViewState && DataLockHeld())
        WriteViewSizes();
    Draws_.clear();
    CloseStakes();
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
    if (!groups.empty()) {
        ReloadRegistry(); // parameter ranges follow the channel and matrix settings
        CreatePrefetchFiles(false, groups);
    }
    // After the rebuild: what listens (method lists, script filters) reads the new registry.
    Ui_.Notify(TSessionEvent::SettingsChanged);
    RefreshAnalysisViews();
    Ui_.Notify(TSessionEvent::DrawsDisplayChanged);
    return groups;
}

void Session::ApplyShredding(const TShreddingSettings& shredding) {
    Shredding_ = shredding;
    try {
        TBusyScope busy(*this, "Сохранение файла конфигурации...");
        const std::filesystem::path path = DataPath(MainSettingsFileName);
        TIniFile ini = TIniFile::Load(path);
        WriteShreddingGroup(ini, Shredding_);
        ini.Save(path);
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка записи в файл конфигурации!\r\r%s", e);
    }
    ReloadRegistry(); // the method names carry the formulas
    CreatePrefetchFiles(false, {ShreddingGroup});
    Ui_.Notify(TSessionEvent::SettingsChanged);
    RefreshAnalysisViews();
}

} // namespace kumby
