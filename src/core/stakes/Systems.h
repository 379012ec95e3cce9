#pragma once

// Systems: prepared tables of 12-number combinations over n numbers, written with
// positions 1..n, laid onto the numbers of the working list and staked.

#include "model/Records.h"
#include "stakes/StakesFile.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kumby {

inline constexpr const char* SystemsFolderName = "Systems";
// A system file is read whole; the full system over 24 numbers is about 100 MB.
inline constexpr std::size_t MaxSystemFileBytes = 256u << 20;
inline constexpr int MinSystemNumbers = NumbersInDraw + 1;
inline constexpr const char* SystemLoadErrorText = "Ошибка загрузки комбинаций системы!\r\r%s";
inline constexpr const char* SystemWaitStatus = "Подождите пожалуйста...";

// One line of a system file: 12 positions 1..n.
using TSystemLine = std::array<uint8_t, NumbersInDraw>;

// "12-16-" for a system over 16 numbers.
std::string SystemFilePrefix(int n);
// Whether a file name fits "12-NN-*_*.dat" for n numbers.
bool IsSystemFileName(const std::string& name, int n);
// The first system file for n numbers in the folder, by name; empty when there is none.
std::filesystem::path FindSystemFile(const std::filesystem::path& systemsDir, int n);

// A system file of the folder, as the systems tab lists it.
struct TSystemFileInfo {
    std::filesystem::path File;
    int N = 0;
    // Lines that hold a combination, counted without checking them (the game reads
    // them properly); -1 when the file cannot be read or is too large to play.
    int64_t Combinations = -1;
    // Block length 0: made by the program, "0000" the full system, else MMTT.
    bool Generated = false;
    bool Full = false;
    int M = 0; // drawn numbers among the n of a reduced generated system
    int T = 0; // matches it guarantees
};

// What the name and a count of the lines tell about a file; N is 0 (and nothing
// else is taken from the name) for a name that is no system file's.
TSystemFileInfo SystemFileInfo(const std::filesystem::path& file);
// Every system file of the folder for 13..24 numbers, by name (the order in which
// the game picks the first for n).
std::vector<TSystemFileInfo> ListSystemFiles(const std::filesystem::path& systemsDir);

// Reads the lines of a system over n numbers. Empty lines are skipped; a line that
// does not hold 12 different positions of 1..n raises Error naming the file and the
// line, so a damaged file never yields a stake of other numbers than the list's.
std::vector<TSystemLine> ReadSystemFile(const std::filesystem::path& file, int n);
// The same over text already read; `name` is used in the messages.
std::vector<TSystemLine> ParseSystemText(std::string_view text, int n, const std::string& name);

// A loaded system: the combinations laid onto the number list, unsorted.
struct TSystemLoad {
    bool Ok = false;
    int N = 0; // length of the number list
    std::vector<TCombination> Combinations;
    std::filesystem::path File; // the file found
    std::string Message;        // why it failed: for the error box and the script log
    bool ReadError = false;     // the file was found but could not be read
};

// Looks for the system of the number list's length and lays it onto the list:
// position p of a line becomes entry p (from 1) of the list.
TSystemLoad LoadSystem(const std::filesystem::path& systemsDir, const TByteArray& numberList);

// "Система для %d чисел не найдена или не загружена на компьютер!"
std::string SystemNotFoundText(int n);
// The error box of a missing system, with the hint where systems come from.
std::string SystemNotFoundBoxText(int n);

// Combinations of the working list looked up by their ascending numbers.
class TCombinationLookup {
public:
    explicit TCombinationLookup(const TCombsArray& list);
    bool Contains(const TCombination& sortedNumbers) const;

private:
    std::vector<TCombination> Sorted_;
};

enum class TSystemMode {
    All,    // every combination of the system
    Filter, // only those also in the working list
};

// The combinations a system game stakes, in file order, numbers ascending: all of
// them, or those also in the working list.
std::vector<TCombination> SystemGameCombinations(const TSystemLoad& system, TSystemMode mode,
                                                 const TCombsArray& workingList);

// "Системная игра для %d чисел [вся система]: %s" and its filter form.
std::string SystemStakeComment(TSystemMode mode, int n, const std::filesystem::path& file);

// The system game of a script line (result modes SYSA and SYSC): logs what was
// loaded, then hands every system combination (sorted, in SYSC only those in the
// working list) to addStake; stops when addStake returns false. Returns the number
// of combinations handed over, or -1 when no system could be loaded.
int64_t RunScriptSystemGame(const std::filesystem::path& systemsDir, const TCombsArray& workingList,
                            TSystemMode mode, const std::function<void(const std::string&)>& log,
                            const std::function<bool(const TCombination&)>& addStake);

} // namespace kumby
