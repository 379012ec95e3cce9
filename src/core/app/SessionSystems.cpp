// The commands of the systems tab: the system game in its two modes, and the systems
// the program makes and checks itself.

#include "Session.h"
#include "SessionStakesSupport.h"

#include "io/AtomicFile.h"
#include "model/VexoUtils.h"

#include <algorithm>
#include <limits>

namespace kumby {

std::optional<Session::TSystemGame> Session::SystemPrepare(TSystemMode mode) {
    if (!CheckStakesOpen())
        return std::nullopt;
    if (WorkingList_.empty()) {
        Ui_.ShowError("Список комбинаций пуст.");
        return std::nullopt;
    }
    TByteArray numbers;
    {
        TBusyScope busy(*this, SystemWaitStatus);
        CollectDistinctNumbers(WorkingList_.data(), WorkingList_.size(), numbers);
    }
    TSystemGame game;
    game.Mode = mode;
    {
        TBusyScope busy(*this, SystemWaitStatus);
        game.System = LoadSystem(SystemsDir(), numbers);
    }
    if (!game.System.Ok) {
        Ui_.ShowError(game.System.ReadError ? Format(SystemLoadErrorText, game.System.Message.c_str())
                                            : SystemNotFoundBoxText(game.System.N));
        return std::nullopt;
    }
    game.DrawNumber = std::clamp<int64_t>(OffsetInfo_.NextDrawNumber, 1, std::numeric_limits<int32_t>::max());
    game.Comment = SystemStakeComment(mode, game.System.N, game.System.File);
    return game;
}

int64_t Session::SystemStake(const TSystemGame& game, int64_t drawNumber, int copies,
                             const std::string& comment) {
    if (!CheckStakesOpen())
        return -1;
    if (comment.empty()) {
        Ui_.ShowError(NoStakeCommentText);
        return -1;
    }
    if (const std::string problem = StakeFieldsProblem(drawNumber, copies, comment); !problem.empty()) {
        Ui_.ShowError(problem);
        return -1;
    }
    const std::vector<TCombination> combinations =
        SystemGameCombinations(game.System, game.Mode, WorkingList_);
    // A list read from a file may hold numbers that are no stake: nothing is made then.
    for (const TCombination& numbers : combinations) {
        if (!IsValidStakeCombination(numbers)) {
            Ui_.ShowError(Format("Комбинация системы (%s) не может быть ставкой: числа списка комбинаций "
                                 "должны быть от 1 до 24.",
                                 CombToText(numbers).c_str()));
            return -1;
        }
    }
    const auto combsCount = static_cast<int32_t>(
        game.Mode == TSystemMode::Filter ? WorkingList_.size() : game.System.Combinations.size());
    // The comment is converted once for the whole run.
    const TStakeRecord model = NewStake(StakeKindSystem, static_cast<int32_t>(drawNumber), combsCount,
                                        TCombination{}, StakeCost(), comment);

    return AppendStakeRun(model, copies, combinations, nullptr, true);
}

std::optional<std::filesystem::path> Session::SystemGenerate(const TSystemRequest& request) {
    if (const std::string problem = SystemRequestProblem(request); !problem.empty()) {
        Ui_.ShowError(problem);
        return std::nullopt;
    }
    const std::filesystem::path file = SystemsDir() / GeneratedSystemFileName(request);
    try {
        std::optional<std::vector<TPositionMask>> system;
        {
            TBusyScope busy(*this, "Создание системы...");
            TUiStakesProgress progress(Ui_);
            system = GenerateSystem(request, &progress);
            Ui_.SetProgress(0, 0);
        }
        if (!system)
            return std::nullopt; // stopped
        TBusyScope busy(*this, "Запись системы...");
        std::error_code ec;
        std::filesystem::create_directories(SystemsDir(), ec);
        if (ec)
            throw Error(Format("Не удалось создать папку \"%s\": %s", SystemsDir().string().c_str(),
                               ec.message().c_str()));
        SaveFileAtomic(file, SystemFileText(*system, request.N));
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка создания системы!\r\r%s", e);
        return std::nullopt;
    }
    return file;
}

std::optional<TSystemCheck> Session::SystemCheck(const std::filesystem::path& file, int m) {
    try {
        // The count of numbers is in the name; a foreign name is read for 24 numbers.
        const std::string name = file.filename().string();
        int n = MaxNumber;
        for (int k = MinSystemNumbers; k <= MaxNumber; ++k)
            if (IsSystemFileName(name, k))
                n = k;
        std::optional<TSystemCheck> result;
        TBusyScope busy(*this, "Проверка системы...");
        const std::vector<TPositionMask> system = SystemMasks(ReadSystemFile(file, n));
        const int lowM = std::max(1, n - (MaxNumber - NumbersInDraw));
        if (m < lowM || m > NumbersInDraw)
            throw Error(Format("Количество выпавших чисел среди %d (m = %d) вне пределов %d..%d.", n, m, lowM,
                               NumbersInDraw));
        TUiStakesProgress progress(Ui_);
        result = CheckSystem(system, n, m, &progress);
        Ui_.SetProgress(0, 0);
        return result;
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка проверки системы!\r\r%s", e);
        return std::nullopt;
    }
}

} // namespace kumby
