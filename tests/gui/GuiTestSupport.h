#pragma once

// A main window on a temporary data folder, with every message box answered here.

#include "MainWindow.h"
#include "MessageBoxUi.h"
#include "app/Session.h"
#include "support/TempDir.h"
#include "support/TestArchive.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace kumby::gui::testing {

using kumby::testing::DrawOf;
using kumby::testing::ReadArchive;
using kumby::testing::ReadBytes;
using kumby::testing::SpreadDraw;
using kumby::testing::TTempDir;
using kumby::testing::WriteBytes;

// Runs `act` on the first modal dialog of type T that opens within five seconds.
template <class T> void OnModal(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, act, clock] {
        T* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog && clock->elapsed() < 5000)
            return;
        timer->stop();
        timer->deleteLater();
        if (dialog)
            act(dialog);
    });
    timer->start();
}

class TGuiFixture {
public:
    TGuiFixture() : TGuiFixture(std::make_shared<TTempDir>()) {}
    // A second program on the same folder.
    explicit TGuiFixture(std::shared_ptr<TTempDir> dir) : Dir(std::move(dir)) {
        Ui.Answerer = [this](const TShownMessage& message) {
            Messages.push_back(message);
            if (message.Kind != TMessageKind::Question && message.Kind != TMessageKind::Deletion)
                return false;
            if (Answers.empty())
                return false;
            const bool answer = Answers.front();
            Answers.pop_front();
            return answer;
        };
        Ui.HelpAnswerer = [this](THelpDialogRequest& request) {
            ++HelpDialogs;
            request.DontShowAgain = HelpDontShowAgain;
        };
    }

    std::filesystem::path Path() const { return Dir->Path(); }
    void WriteArchive(const TDrawsArray& draws) const { kumby::testing::WriteArchive(Path(), draws); }

    // Creates the window and waits for its start-up; false when it did not run.
    bool Start() {
        TSessionOptions options;
        options.DataDir = Path();
        Core = std::make_unique<Session>(Ui, options);
        Window = std::make_unique<TFormMain>(*Core, Ui);
        Window->show();
        return QTest::qWaitFor([this] { return Window->StartedUp(); }, 5000);
    }

    std::vector<QString> TextsOf(TMessageKind kind) const {
        std::vector<QString> texts;
        for (const TShownMessage& m : Messages)
            if (m.Kind == kind)
                texts.push_back(m.Text);
        return texts;
    }

    std::shared_ptr<TTempDir> Dir;
    TMessageBoxUi Ui;
    std::vector<TShownMessage> Messages;
    std::deque<bool> Answers;
    int HelpDialogs = 0;
    bool HelpDontShowAgain = false;
    std::unique_ptr<Session> Core;
    std::unique_ptr<TFormMain> Window;
};

} // namespace kumby::gui::testing
