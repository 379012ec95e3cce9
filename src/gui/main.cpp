#include "app/CommandLine.h"
#include "app/ProcessWait.h"
#include "app/Session.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>

namespace {

QString Shown(const std::string& text) {
    return QString::fromStdString(text).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

class TMessageBoxUi : public kumby::IUserInterface {
public:
    void ShowError(const std::string& t) override { QMessageBox::critical(nullptr, "Ошибка", Shown(t)); }
    void ShowInfo(const std::string& t) override { QMessageBox::information(nullptr, "Информация", Shown(t)); }
    void ShowWarning(const std::string& t) override {
        QMessageBox::warning(nullptr, "Предупреждение", Shown(t));
    }
    void ShowAttention(const std::string& t) override { QMessageBox::warning(nullptr, "Внимание!", Shown(t)); }
    bool Confirm(const std::string& t, kumby::TConfirmKind kind) override {
        const bool deletion = kind == kumby::TConfirmKind::Deletion;
        return QMessageBox::question(nullptr, deletion ? "Предупреждение" : "Подтверждение", Shown(t),
                                     QMessageBox::Yes | QMessageBox::No,
                                     deletion ? QMessageBox::No : QMessageBox::Yes) == QMessageBox::Yes;
    }
    void SetStatus(const std::string&) override {}
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    kumby::TSessionOptions options;
    options.CommandLine = kumby::ParseCommandLine(args);
    options.DataDir = options.CommandLine.DataDir.empty() ? kumby::CurrentProgramFile().parent_path()
                                                          : std::filesystem::path(options.CommandLine.DataDir);
    TMessageBoxUi ui;
    kumby::Session session(ui, options);
    if (!session.Create())
        return 0;

    QMainWindow window;
    window.setWindowTitle(QString::fromUtf8(kumby::DefaultCaption));
    window.resize(1024, 700);
    window.show();
    QTimer::singleShot(100, &window, [&] {
        if (session.Start() == kumby::TStartResult::Exit) {
            app.quit();
            return;
        }
        window.setWindowTitle(QString::fromStdString(session.WindowCaption()));
    });
    const int code = app.exec();
    session.Close(true);
    return code;
}
