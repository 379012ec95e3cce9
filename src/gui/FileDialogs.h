#pragma once

// Open and save dialogs of the commands, with a seam for tests.

#include <QString>

#include <filesystem>
#include <functional>

class QWidget;

namespace kumby::gui {

inline constexpr const char* DrawsFileFilter = "Файлы тиражей (*.csv)";
inline constexpr const char* SpreadsheetFileFilter = "Книга Microsoft Excel (*.xlsx)";

// When set, no dialog is shown: the answerer returns the file name (empty: cancelled).
using TFileDialogAnswerer = std::function<QString(bool save, const QString& filter)>;
void SetFileDialogAnswerer(TFileDialogAnswerer answerer);

// The dialog opens in `folder` when one is given.
QString AskOpenFileName(QWidget* parent, const QString& filter, const QString& folder = {});
// Adds the default suffix when the name has none.
QString AskSaveFileName(QWidget* parent, const QString& filter, const QString& defaultSuffix);

// A chosen file name as the core takes paths: in the file system's encoding.
std::filesystem::path LocalPath(const QString& name);

} // namespace kumby::gui
