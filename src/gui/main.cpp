#include "MainWindow.h"
#include "MessageBoxUi.h"
#include "app/CommandLine.h"
#include "app/ProcessWait.h"
#include "app/Session.h"
#include "model/VexoUtils.h"

#include <QApplication>
#include <QFile>

#include <filesystem>
#include <system_error>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kumby::gui::SetUpApplication();

    // Qt has taken its own switches out of the arguments by now.
    std::vector<std::string> args;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i)
        args.push_back(QFile::encodeName(arguments[i]).toStdString());

    kumby::TSessionOptions options;
    options.CommandLine = kumby::ParseCommandLine(args);
    options.DataDir = options.CommandLine.DataDir.empty()
                          ? kumby::CurrentProgramFile().parent_path()
                          : std::filesystem::path(options.CommandLine.DataDir);

    kumby::gui::TMessageBoxUi ui;
    std::error_code ec;
    if (!std::filesystem::is_directory(options.DataDir, ec)) {
        // Nothing may be created in a folder the user mistyped.
        ui.ShowError(kumby::Format("Папка данных \"%s\" не существует. Укажите существующую папку ключом "
                                   "--data-dir.",
                                   options.DataDir.string().c_str()));
        return 1;
    }
    kumby::Session session(ui, options);
    kumby::gui::TFormMain window(session, ui);
    if (window.ExitRequested())
        return 0;
    window.ShowRestored();
    return app.exec();
}
