#include "CliApp.h"

#include "CliContext.h"
#include "model/VexoUtils.h"

#include <cstring>
#include <filesystem>
#include <istream>
#include <ostream>
#include <sstream>

namespace kumby::cli {

namespace {

constexpr const char* UsageText =
    "Использование: kumby-cli [--data-dir DIR|--data-dir=DIR] [--offset K] [--sorted|--unsorted] [--yes] "
    "КОМАНДА\n"
    "\n"
    "Команды:\n"
    "  draws                          архив тиражей, новые сверху\n"
    "  draws import FILE              импорт тиражей из CSV-файла\n"
    "  draws export FILE              экспорт тиражей в CSV-файл\n"
    "  draws add [--number N] --numbers \"1;2;...\" [--date \"dd.mm.yyyy hh:nn\"] [--force]\n"
    "                                 добавление тиража (--force: и с номером, который уже есть)\n"
    "  draws delete NUMBER...         удаление тиражей по номерам\n"
    "  draws delete --index I...      удаление тиражей по индексам в архиве (0 - самый старый)\n"
    "  download [--url URL] [--retries N]\n"
    "                                 загрузка новых тиражей с сайта (адрес: --url или ключ SiteUrl\n"
    "                                 раздела [DOWNLOAD] в Kumby_12x24.ini); N повторов пакета после\n"
    "                                 ошибки (по умолчанию 3, каждый с вопросом); ход - в stderr\n"
    "  status                         первые три панели строки состояния\n"
    "  demo [--draws N] [--seed S]    демонстрационный архив (синтетические тиражи)\n"
    "  methods [--all]                методы расчета статистики\n"
    "  stats CODE [--depth N] [--prefetch|--no-prefetch] [--sort COL[:desc]]\n"
    "                                 таблица статистики метода\n"
    "  shredding [--formulaK TEXT] [--digitsK D]\n"
    "                                 формулы шинковки (K = 1..3; D = 1..5) - показать или задать\n"
    "  prefetch [--force] [--groups 0,3,...] [CODE...]\n"
    "                                 файлы распределений по полному набору\n"
    "  combs generate [--mode M] [--param TEXT] --out FILE.lcv\n"
    "                                 список комбинаций в файл\n"
    "  combs exclude N [--in FILE.lcv] --out FILE.lcv\n"
    "                                 исключение N последних тиражей из списка\n"
    "  filter CODE [--depth N] (--keep|--remove) VALUE... [--in FILE.lcv] --out FILE.lcv\n"
    "                                 фильтр списка по значениям таблицы статистики\n"
    "  stakes [--last N]              ставки (с --last: начиная со ставок N последних проверенных тиражей)\n"
    "  stakes add --numbers \"1;2;...\" [--draw N] [--copies C] --comment TEXT\n"
    "                                 ставка вручную на тираж N и C-1 следующих\n"
    "  stakes add --in FILE.lcv (--all|--random) [--draw N] [--copies C] [--comment TEXT]\n"
    "                                 ставки на все или одну случайную комбинацию списка\n"
    "  stakes check                   проверка ставок по архиву тиражей\n"
    "  stakes delete --matches \"<3\"   удаление ставок по количеству совпадений (=, >, >=, <, <=)\n"
    "  stakes clear                   удаление всех ставок\n"
    "  ratings [--mode 0|1|2] [--sort COL[:desc]]\n"
    "                                 рейтинг источников ставок (вид столбцов E0..E12, сортировка)\n"
    "  ratings export FILE.csv        экспорт рейтинга в CSV-файл\n"
    "  ratings refresh                пересчет рейтинга по текущим ставкам\n"
    "  regulars                       регулярные ставки\n"
    "  regulars add [--comment TEXT] [--step S] (--numbers \"1;2;...\"|--last-draw|--in FILE.lcv --rows "
    "N,N,...)\n"
    "                                 добавление регулярной ставки (с --rows: по одной на комбинацию)\n"
    "  regulars delete ROW...         удаление регулярных ставок (номера строк с 1)\n"
    "  regulars stake ROW [--draw N] [--copies C]\n"
    "                                 ставка по регуляру на следующий тираж\n"
    "  regulars test ROW... [--count N]\n"
    "                                 тест регуляров на N прошедших тиражах (по умолчанию 10)\n"
    "  system stake (--all|--filter) [--in FILE.lcv] [--draw N] [--copies C] [--comment TEXT]\n"
    "                                 системная игра: вся система или только комбинации списка\n"
    "  system generate --n N (--full | --m M --t T)\n"
    "                                 система для N чисел в папку Systems: полная или с гарантией\n"
    "                                 \"t совпадений, если M выпавших чисел среди N\"\n"
    "  system check FILE --m M        гарантия системы по всем вариантам M выпавших чисел\n"
    "  script show [FILE]             строки сценария из файла (без FILE: текущий сценарий)\n"
    "  script run FILE [--log LOG] [--seed S]\n"
    "                                 прогноз по сценарию при смещении --offset; сделанные ставки\n"
    "  script test FILE --tests N [--log LOG] [--seed S]\n"
    "                                 тест сценария на N последних тиражах; итоги по тиражам\n"
    "  card                           карта тиражей: строка на тираж, новые сверху\n"
    "  layout [--len N]               схема выпадения номеров по N тиражам при смещении --offset\n"
    "                                 и пять списков сравнения\n"
    "  weekday [--len N]              количество выпадений номеров по дням недели за N тиражей\n"
    "  chart CODE [--depth N]         значения метода по N тиражам при смещении --offset, затем\n"
    "                                 среднее и наиболее частое значение\n"
    "  sumdist                        распределение сумм всех комбинаций и всех тиражей, три уровня\n"
    "  repeats [--len N] [--depth D]  совпадения каждого из N последних тиражей с D тиражами до него\n";

struct TCommand {
    const char* Word;
    const char* SubWord; // nullptr: the command has no second word
    int (*Run)(TCliContext&);
};

// Longer forms first: "draws import" before "draws".
const TCommand Commands[] = {
    {"draws", "import", CmdDrawsImport},
    {"draws", "export", CmdDrawsExport},
    {"draws", "add", CmdDrawsAdd},
    {"draws", "delete", CmdDrawsDelete},
    {"draws", "list", CmdDrawsList},
    {"draws", nullptr, CmdDrawsList},
    {"status", nullptr, CmdStatus},
    {"demo", nullptr, CmdDemo},
    {"download", nullptr, CmdDownload},
    {"methods", nullptr, CmdMethods},
    {"stats", nullptr, CmdStats},
    {"shredding", nullptr, CmdShredding},
    {"prefetch", nullptr, CmdPrefetch},
    {"combs", "generate", CmdCombsGenerate},
    {"combs", "exclude", CmdCombsExclude},
    {"filter", nullptr, CmdFilter},
    {"stakes", "add", CmdStakesAdd},
    {"stakes", "check", CmdStakesCheck},
    {"stakes", "delete", CmdStakesDelete},
    {"stakes", "clear", CmdStakesClear},
    {"stakes", "list", CmdStakesList},
    {"stakes", nullptr, CmdStakesList},
    {"ratings", "export", CmdRatingsExport},
    {"ratings", "refresh", CmdRatingsRefresh},
    {"ratings", "list", CmdRatingsList},
    {"ratings", nullptr, CmdRatingsList},
    {"regulars", "add", CmdRegularsAdd},
    {"regulars", "delete", CmdRegularsDelete},
    {"regulars", "stake", CmdRegularsStake},
    {"regulars", "test", CmdRegularsTest},
    {"regulars", "list", CmdRegularsList},
    {"regulars", nullptr, CmdRegularsList},
    {"system", "stake", CmdSystemStake},
    {"system", "generate", CmdSystemGenerate},
    {"system", "check", CmdSystemCheck},
    {"script", "show", CmdScriptShow},
    {"script", "run", CmdScriptRun},
    {"script", "test", CmdScriptTest},
    {"card", nullptr, CmdCard},
    {"layout", nullptr, CmdLayout},
    {"weekday", nullptr, CmdWeekday},
    {"chart", nullptr, CmdChart},
    {"sumdist", nullptr, CmdSumDist},
    {"repeats", nullptr, CmdRepeats},
};

bool HasSubCommands(const std::string& word) {
    for (const TCommand& c : Commands)
        if (word == c.Word && c.SubWord != nullptr)
            return true;
    return false;
}

struct TGlobalOptions {
    std::string DataDir;
    std::optional<int> Offset;
    std::optional<bool> Sorted;
    bool Yes = false;
    bool Help = false;
    std::vector<std::string> Rest;
};

TGlobalOptions ParseGlobals(const std::vector<std::string>& args) {
    TGlobalOptions g;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* name) -> std::string {
            if (i + 1 >= args.size())
                throw TCliError{Format("Не указано значение ключа %s.", name)};
            return args[++i];
        };
        if (a == "--data-dir")
            g.DataDir = value("--data-dir");
        else if (a.rfind("--data-dir=", 0) == 0)
            g.DataDir = a.substr(11);
        else if (a == "--offset") {
            int32_t k = 0;
            const std::string v = value("--offset");
            if (!TryParseInt(v, k) || k < 0)
                throw TCliError{Format("Некорректное смещение: \"%s\".", v.c_str())};
            g.Offset = k;
        } else if (a == "--sorted")
            g.Sorted = true;
        else if (a == "--unsorted")
            g.Sorted = false;
        else if (a == "--yes")
            g.Yes = true;
        else if (a == "--help" || a == "-h" || (a == "help" && g.Rest.empty()))
            g.Help = true;
        else
            g.Rest.push_back(a);
    }
    return g;
}

const TCommand* FindCommand(const std::vector<std::string>& rest) {
    for (const TCommand& c : Commands) {
        if (rest[0] != c.Word)
            continue;
        if (c.SubWord == nullptr) {
            // "draws" alone lists the archive; "draws WORD" must be a known command.
            if (rest.size() > 1 && HasSubCommands(c.Word) && rest[1].rfind("-", 0) != 0)
                return nullptr;
            return &c;
        }
        if (rest.size() > 1 && rest[1] == c.SubWord)
            return &c;
    }
    return nullptr;
}

// A missing data folder is named once, and only the demo creates it.
void PrepareDataDir(const std::filesystem::path& dir, bool create) {
    std::error_code ec;
    const auto status = std::filesystem::status(dir, ec);
    if (std::filesystem::is_directory(status))
        return;
    if (std::filesystem::exists(status))
        throw TCliError{Format("Папка данных \"%s\" не является папкой.", dir.string().c_str())};
    if (!create)
        throw TCliError{Format("Папка данных \"%s\" не существует. Укажите существующую папку ключом "
                               "--data-dir или создайте демонстрационный архив командой demo.",
                               dir.string().c_str())};
    std::filesystem::create_directories(dir, ec);
    if (ec)
        throw TCliError{
            Format("Не удалось создать папку данных \"%s\": %s", dir.string().c_str(), ec.message().c_str())};
}

} // namespace

void PrintRow(std::ostream& out, const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i)
            out << '\t';
        // A tab or a line break inside a text would shift the columns or split the row.
        for (char c : cells[i])
            out << (static_cast<unsigned char>(c) < 0x20 || c == '\x7F' ? ' ' : c);
    }
    out << '\n';
}

std::optional<std::string> TCliContext::TakeOption(const std::string& name) {
    for (std::size_t i = 0; i < Args.size(); ++i) {
        if (Args[i] != name)
            continue;
        if (i + 1 >= Args.size())
            throw TCliError{Format("Не указано значение ключа %s.", name.c_str())};
        std::string v = Args[i + 1];
        Args.erase(Args.begin() + static_cast<long>(i), Args.begin() + static_cast<long>(i) + 2);
        return v;
    }
    return std::nullopt;
}

bool TCliContext::TakeFlag(const std::string& name) {
    for (std::size_t i = 0; i < Args.size(); ++i)
        if (Args[i] == name) {
            Args.erase(Args.begin() + static_cast<long>(i));
            return true;
        }
    return false;
}

int TCliContext::TakeIntOption(const std::string& name, int def, int lo, int hi) {
    const auto v = TakeOption(name);
    if (!v)
        return def;
    int32_t n = 0;
    if (!TryParseInt(*v, n) || n < lo || n > hi)
        throw TCliError{Format("Некорректное значение ключа %s: \"%s\" (допустимо %d..%d).", name.c_str(),
                               v->c_str(), lo, hi)};
    return n;
}

void TCliContext::ExpectNoMoreArgs() const {
    if (!Args.empty())
        throw TCliError{Format("Лишний аргумент: \"%s\".", Args.front().c_str())};
}

int RunCli(const std::vector<std::string>& args, const std::string& programDir, std::ostream& out,
           std::ostream& err, std::istream& in, bool interactive) {
    try {
        TGlobalOptions g = ParseGlobals(args);
        if (g.Help || g.Rest.empty()) {
            (g.Help ? out : err) << UsageText;
            return g.Help ? 0 : 1;
        }

        if (g.Rest[0] == "regular")
            g.Rest[0] = "regulars"; // the singular reads as naturally
        const TCommand* command = FindCommand(g.Rest);
        if (!command) {
            std::string words = g.Rest[0];
            if (g.Rest.size() > 1 && HasSubCommands(g.Rest[0]))
                words += " " + g.Rest[1];
            throw TCliError{Format("Неизвестная команда: \"%s\".\n\n%s", words.c_str(), UsageText)};
        }
        const std::size_t words = command->SubWord ? 2 : 1;

        const std::filesystem::path dataDir = g.DataDir.empty() ? programDir : g.DataDir;
        PrepareDataDir(dataDir, command->Run == CmdDemo);

        TCliUserInterface ui(err, in, g.Yes, interactive);
        TSessionOptions options;
        options.DataDir = dataDir;
        options.Headless = true;
        Session session(ui, options);
        if (!session.Create() || session.Start() == TStartResult::Exit || !session.DataLockHeld())
            return 1;
        // What start-up reported (settings it could not read, ...) is a warning here:
        // the exit code tells whether the command did its work.
        ui.ClearErrorShown();

        if (g.Offset) {
            const int count = static_cast<int>(session.Draws().size());
            if (*g.Offset > 0 && *g.Offset >= count)
                throw TCliError{Format("Смещение %d вне допустимых пределов 0..%d.", *g.Offset,
                                       count > 0 ? count - 1 : 0)};
            session.SetDrawsOffset(*g.Offset);
        }

        session.View().SortedDraws = g.Sorted.value_or(session.View().SortedDraws); // this run only
        // The output is held back until the command succeeded, so that a failure never
        // leaves a count or a table that reads as done.
        std::ostringstream result;
        TCliContext ctx{session, ui, result,
                        std::vector<std::string>(g.Rest.begin() + static_cast<long>(words), g.Rest.end()),
                        g.Sorted.value_or(session.View().SortedDraws)};
        const int code = command->Run(ctx);
        session.Close(false);
        if (code != 0 || ui.ErrorShown() || ui.Declined())
            return code != 0 ? code : 1;
        out << result.str();
        return 0;
    } catch (const TCliError& e) {
        err << e.Text << '\n';
        return 1;
    } catch (const std::exception& e) {
        err << e.what() << '\n';
        return 1;
    }
}

} // namespace kumby::cli
