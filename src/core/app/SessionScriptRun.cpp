// Script runs: the forecast, the back-test, their switches and logs.

#include "app/Session.h"

#include "model/VexoUtils.h"

namespace kumby {

TScriptRunOptions Session::ScriptRunOptions() const {
    TScriptRunOptions options;
    options.LogEnabled = View_.ScriptLogEnabled || ScriptLogForced_;
    options.CheckOnLine = View_.StakesCheckOnLine;
    options.ScrollStakes = View_.StakesScrollEnabled;
    options.Seed = ScriptSeed_;
    return options;
}

void Session::SetScriptLogFile(const std::filesystem::path& file) {
    ScriptLog_.SetFixedFile(file);
    ScriptLogForced_ = !file.empty();
}

void Session::ScriptForecast(const TScriptLines& lines) {
    if (!CanRunScript(lines) || !CheckStakesOpen())
        return;
    TBusyScope busy(*this);
    ScriptRunner_.Forecast(lines, ScriptRunOptions());
    ScriptHost_.Settle();
}

bool Session::ScriptBackTest(const TScriptLines& lines, int tests) {
    if (!CanRunScript(lines) || !CheckStakesOpen())
        return false;
    if (tests < 1 || tests > MaxScriptTests()) {
        Ui_.ShowError(Format("Количество тестов должно быть от 1 до %d.", MaxScriptTests()));
        return false;
    }
    TBusyScope busy(*this);
    ScriptRunner_.BackTest(lines, tests, ScriptRunOptions());
    ScriptHost_.Settle();
    return true;
}

void Session::ScriptStop() {
    const TScriptRunState& state = ScriptRunner_.State();
    if (!state.Running || state.StopRequested)
        return;
    if (Ui_.Confirm(ScriptStopQuestion))
        ScriptRunner_.RequestStop();
}

void Session::StopRunningScript() {
    ScriptRunner_.RequestStop();
}

void Session::SetScriptLogEnabled(bool on) {
    View_.ScriptLogEnabled = on;
    WriteViewSwitch("ScriptLogEnabled");
}

void Session::SetStakesCheckOnLine(bool on) {
    View_.StakesCheckOnLine = on;
    WriteViewSwitch("StakesCheckOnLine");
}

bool Session::ScriptLogsDelete() {
    const std::vector<std::filesystem::path> logs = FindScriptLogs(DataDir());
    if (logs.empty()) {
        Ui_.ShowInfo("Файлы журналов не найдены!");
        return false;
    }
    std::string report;
    int deleted = 0;
    {
        TBusyScope busy(*this, "Поиск файлов журналов...");
        for (const std::filesystem::path& file : logs) {
            std::error_code ec;
            if (std::filesystem::remove(file, ec)) {
                ++deleted;
                report += "Удален файл \"" + file.filename().string() + "\"\r";
            } else {
                report +=
                    "Не удалось удалить файл \"" + file.filename().string() + "\": " + ec.message() + "\r";
            }
        }
    }
    report += Format("\rУдалено файлов: %d из %d.", deleted, static_cast<int>(logs.size()));
    Ui_.ShowInfo(report);
    return deleted > 0;
}

} // namespace kumby
