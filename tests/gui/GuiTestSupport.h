#pragma once

// A main window on a temporary data folder, with every message box answered here.

#include "MainWindow.h"
#include "MessageBoxUi.h"
#include "app/Session.h"
#include "draws/DrawArchive.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

namespace kumby::gui::testing {

using kumby::testing::ReadBytes;
using kumby::testing::TTempDir;
using kumby::testing::WriteBytes;

// A draw whose numbers start at `first` and run on around 1..24.
inline TDrawRecord MakeDraw(int32_t number, int first, const char* date = "01.02.2021 20:00") {
    TDrawRecord draw;
    draw.Number = number;
    for (int i = 0; i < NumbersInDraw; ++i)
        draw.Numbers[i] = static_cast<uint8_t>((first - 1 + i * 2) % MaxNumber + 1);
    draw.SetDateTextUtf8(date);
    return draw;
}

// A draw with the given numbers in drawn order.
inline TDrawRecord DrawOf(int32_t number, std::initializer_list<int> numbers) {
    TDrawRecord draw;
    draw.Number = number;
    int i = 0;
    for (int n : numbers)
        draw.Numbers[i++] = static_cast<uint8_t>(n);
    draw.SetDateTextUtf8("01.02.2021 20:00");
    return draw;
}

inline TDrawsArray ReadArchive(const std::filesystem::path& dir) {
    TDrawsArray draws;
    LoadDrawArchive(dir / DrawsFileName, draws);
    return draws;
}

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
    void WriteArchive(const TDrawsArray& draws) const { SaveDrawArchive(Path() / DrawsFileName, draws); }

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
