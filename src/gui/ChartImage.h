#pragma once

// Every chart of the program can be saved as a PNG picture of what it shows.

#include <QString>

class QAction;
class QChartView;

namespace kumby {
class IUserInterface;
}

namespace kumby::gui {

inline constexpr const char* ImageFileFilter = "Рисунок PNG (*.png)";

// Writes the chart as it is drawn now. The file is written beside the target and
// renamed over it, so a failed write leaves no file and an existing one as it was.
// False with `error` set on failure.
bool WriteChartImage(QChartView& chart, const QString& path, QString& error);

// Gives the chart the context menu command "Сохранить график...", which asks for the
// file name and reports a failed write through `ui`. The action is returned for a
// window's button.
QAction* AddSaveChartAction(QChartView& chart, IUserInterface& ui);

} // namespace kumby::gui
