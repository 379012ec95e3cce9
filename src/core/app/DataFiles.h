#pragma once

// The program's own files in its data folder, and the check that keeps an export
// from landing on one of them.

#include <filesystem>
#include <string>

namespace kumby {

// Whether `file` is (or, when it does not exist yet, would be) one of the program's
// own data files in `dataDir` or a file of its prefetch folder. Paths are compared
// after resolving links, "." and ".." and relative parts, and existing files also by
// identity, so a hard link or a second name of the folder is caught too.
bool IsProgramDataFile(const std::filesystem::path& dataDir, const std::filesystem::path& file);

// "Файл \"%s\" является файлом данных программы ..." for the refusal of such a target.
std::string ProgramDataFileText(const std::filesystem::path& file);

// Removes what interrupted saves left in the data folder and its prefetch folder.
// Call with the data lock held only.
void RemoveStaleSaveTemporaries(const std::filesystem::path& dataDir);

} // namespace kumby
