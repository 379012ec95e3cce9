#pragma once

// Russian texts of the standard dialogs. Qt's own catalogue translates most of them;
// the buttons our dialogs create are named here as well, so that they read in Russian
// even where that catalogue is missing.

#include <QString>

class QDialogButtonBox;
class QFileDialog;
class QWidget;

namespace kumby::gui {

// Loads Qt's Russian catalogue from Qt's translations folder; false when it is missing.
bool LoadQtRussianTranslations();

// Names every standard button of the box in Russian.
void SetRussianButtonTexts(QDialogButtonBox& buttons);

// Non-native (the platform's own dialog would follow the desktop's language), with
// its labels and buttons in Russian.
void SetUpFileDialog(QFileDialog& dialog);

// A one-line text question with OK and "Отмена"; `ok` tells whether it was accepted.
QString AskText(QWidget* parent, const QString& caption, const QString& label, const QString& text, bool& ok);

} // namespace kumby::gui
