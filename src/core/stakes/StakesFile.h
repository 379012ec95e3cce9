#pragma once

// The stakes file: a plain sequence of stake records, held open and locked for the
// whole session, so that it is also the lock that keeps a second program away from
// the data folder.

#include "io/DataLock.h"
#include "model/Error.h"
#include "stakes/StakeRecord.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

namespace kumby {

inline constexpr const char* StakesFileName = "Kumby_12x24.lsk";
inline constexpr const char* StakesTempFileName = "Kumby_12x24.~tmp";

inline constexpr const char* StakesNotOpenText = "Файл ставок не открыт!";
inline constexpr const char* CheckedStakeAppendText = "Добавление в конец файла уже проверенной ставки!";
inline constexpr const char* ObsoleteStakesText =
    "Обнаружен файл ставок устаревшей версии - имеющиеся в файле ставки будут удалены!";

// What a long operation on the stakes reports and asks while it runs.
class IStakesProgress {
public:
    virtual ~IStakesProgress() = default;
    virtual void Status(const std::string& /*text*/) {}
    virtual void Progress(int64_t /*done*/, int64_t /*total*/) {}
    virtual bool StopRequested() { return false; }
};

// What the start-up check did to the file.
struct TStakesValidation {
    bool Obsolete = false; // emptied: not a file of version-2 records
    int64_t CutBytes = 0;  // size of a partial last record that was cut off
    int64_t Kept = 0;      // records left
};

// The temporary file of a rewrite could not take the old file's place.
class TStakesReplaceError : public Error {
public:
    using Error::Error;
};

class TStakesFile {
public:
    TStakesFile() = default;
    TStakesFile(const TStakesFile&) = delete;
    TStakesFile& operator=(const TStakesFile&) = delete;

    // Opens (creating when missing) and locks the file. False while another program
    // holds it; other problems raise Error naming the file.
    bool TryOpen(const std::filesystem::path& path);
    // The same with a held lock being an error too.
    void Open(const std::filesystem::path& path);
    void Close();
    bool IsOpen() const { return Lock_.Held(); }
    const std::filesystem::path& Path() const { return Lock_.Path(); }
    // Pushes what was written to the disk.
    void Sync();

    // A file that does not start with a version-2 record is emptied; a partial last
    // record (an append cut off by a crash) is cut and the whole records are kept.
    TStakesValidation Validate();

    int64_t Count() const { return Size_ / static_cast<int64_t>(StakeRecordSize); }
    bool Empty() const { return Size_ == 0; }

    // Record `index` (0-based; -1 the last one). The same record twice in a row is read
    // once: every cell of a grid row asks for it.
    const TStakeRecord& Read(int64_t index);
    // `count` records from `first` on, in one read.
    void ReadMany(int64_t first, std::size_t count, TStakeRecord* out) const;
    // Calls `visit` for every record from `first` on in file order, reading many at a
    // time; stops early when it returns false.
    void ForEach(int64_t first, const std::function<bool(int64_t, const TStakeRecord&)>& visit) const;
    // Writes a record in its place in one write, so that a crash leaves it whole.
    void WriteAt(int64_t index, const TStakeRecord& record);

    // Appends a stake; with two copies or more one copy per consecutive draw, each
    // after a separator unless the file ends with a separator or is empty. A checked
    // stake is refused. A failed write leaves the file as it was.
    void Append(const TStakeRecord& stake, int copies);
    // Appends many stakes in few writes, each as Append does; stops between stakes
    // when progress asks. Returns the stakes appended; a failure keeps the stakes
    // written whole before it and raises.
    int64_t AppendMany(std::span<const TStakeRecord> stakes, int copies, IStakesProgress* progress);

    // Whether a stake for that draw with the same numbers is in the file.
    bool Find(int32_t drawNumber, const TNumberList& numbers) const;
    void Clear();

    // Rewrites the file keeping the records for which `keep` holds, through a
    // temporary file that holds the lock before it is renamed into place, so that no
    // other program can take the folder in between. Returns the records removed, or
    // -1 when stopped (the file is then unchanged).
    int64_t Rewrite(const std::function<bool(int64_t, const TStakeRecord&)>& keep, IStakesProgress* progress);

    // Where the stakes of the last `k` draws with checked stakes begin.
    struct TDrawsPosition {
        int Draws = 0;     // draws counted, at most k
        int64_t Index = 0; // first record to read from
    };
    TDrawsPosition PositionAtLastDraws(int k) const;

    void ResetCache() { CachedIndex_ = -1; }

private:
    int Fd() const;
    void WriteBytesAt(int64_t offset, const void* data, std::size_t size);
    [[noreturn]] void ThrowSystem(const char* what, int err) const;

    TDataLock Lock_;
    int64_t Size_ = 0;
    int64_t CachedIndex_ = -1;
    TStakeRecord Cached_;
};

// "Запись со индексом %d в файле данных не найдена!"
std::string StakeIndexNotFoundText(int64_t index);

} // namespace kumby
