// The draw download from the desktop program: F3 against a local site, the wait
// window and its Stop, a failed page, the start-up question and the proxy dialog.

#include "GuiTestSupport.h"

#include "DrawsModel.h"
#include "DrawsTab.h"
#include "ProxyDialog.h"
#include "core/download/LocalSite.h"
#include "core/download/SitePages.h"
#include "io/AtomicFile.h"
#include "io/IniFile.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QToolBar>

#include <atomic>
#include <cstdio>
#include <deque>

using namespace kumby;
using namespace kumby::gui;
using namespace kumby::gui::testing;
using kumby::testing::RangePageHtml;
using kumby::testing::SiteDraws;
using kumby::testing::TLocalSite;
using kumby::testing::TSiteRequest;
using kumby::testing::TSiteResponse;

namespace {

// The range pages of a site that has drawn 1..newest; `stall` holds the answer for
// the batch that starts there.
TLocalSite::THandler SiteOf(int newest, int stall = 0) {
    return [newest, stall](const TSiteRequest& request) {
        int first = 0, last = 0;
        TSiteResponse response;
        if (std::sscanf(request.Target.c_str(), "/12x24/archive?mode=draw&firstDraw=%d&lastDraw=%d", &first,
                        &last) != 2) {
            response.Status = 404;
            return response;
        }
        response.Stall = first == stall;
        response.Body = RangePageHtml(first <= newest ? SiteDraws(first, std::min(last, newest))
                                                      : std::vector<kumby::testing::TSiteDraw>{});
        return response;
    };
}

void WriteSettings(const std::filesystem::path& dir, const std::string& mainIni, int downloadOnStart) {
    WriteBytes(dir / MainSettingsFileName, mainIni);
    WriteBytes(dir / ViewStateFileName,
               "[TFormMain]\r\nDownloadDrawsOnStart=" + std::to_string(downloadOnStart) + "\r\n");
}

std::string SiteIni(const TLocalSite& site) {
    return "[DOWNLOAD]\r\nSiteUrl=" + site.Url() + "\r\n";
}

TIniFile MainIni(const std::filesystem::path& dir) {
    return TIniFile::Load(dir / MainSettingsFileName);
}

void PressOk(QDialog* dialog) {
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

} // namespace

class TDrawDownloadTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetUpApplication(); }

    void f3FillsAnEmptyArchiveInBatchesUnderTheWaitWindow() {
        TLocalSite site(SiteOf(53));
        TGuiFixture f;
        WriteSettings(f.Path(), SiteIni(site), 2);
        QVERIFY(f.Start());
        QCOMPARE(site.Requests().size(), std::size_t(0)); // "Отключено": nothing at start

        TDrawsTab& tab = *f.Window->DrawsTab();
        QAction& download = *tab.DrawsDownload;
        QCOMPARE(download.text(), QStringLiteral("Загрузка"));
        QCOMPARE(download.shortcut(), QKeySequence(Qt::Key_F3));
        QCOMPARE(download.statusTip(), QStringLiteral("Загрузка архива тиражей с сайта лотереи"));
        QVERIFY(f.Window->ToolBar()->actions().contains(&download));

        QStringList headings;
        bool enabledWhileBusy = true;
        f.Ui.ProgressObserver = [&](long long, long long total) {
            if (total != 0 && f.Ui.Progress()) {
                headings << f.Ui.Progress()->labelText();
                enabledWhileBusy = download.isEnabled();
            }
        };
        // F3 from the draws list.
        f.Window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.Window.get()));
        tab.List()->setFocus();
        QTest::keyClick(tab.List(), Qt::Key_F3);
        f.Ui.ProgressObserver = nullptr;

        QCOMPARE(headings, QStringList{QStringLiteral("Загрузка архива тиражей...\n")});
        QVERIFY(!enabledWhileBusy);
        QVERIFY(!f.Ui.Progress());
        QVERIFY(!f.Core->Busy());
        QVERIFY(download.isEnabled());
        QVERIFY(f.Messages.empty());
        QCOMPARE(site.Requests().size(), std::size_t(2)); // 1..50 full, 51..100 short

        QCOMPARE(ReadArchive(f.Path()).size(), std::size_t(53));
        const TDrawsModel& model = *tab.Model();
        QCOMPARE(model.rowCount(), 53);
        QCOMPARE(model.data(model.index(0, TDrawsModel::ColNumber), Qt::DisplayRole).toInt(), 53);
        QCOMPARE(model.data(model.index(52, TDrawsModel::ColNumber), Qt::DisplayRole).toInt(), 1);
        QCOMPARE(f.Window->StatusText(TFormMain::PanelDraws), QStringLiteral("Архив тиражей: 53"));
        QCOMPARE(f.Window->StatusText(TFormMain::PanelNextDraw), QStringLiteral("Следующий тираж: 54"));
        QCOMPARE(f.Window->StatusText(TFormMain::PanelOperation), QString());

        // Nothing new: one request, nothing added, nothing said.
        download.trigger();
        QCOMPARE(site.Requests().size(), std::size_t(3));
        QCOMPARE(model.rowCount(), 53);
        QVERIFY(f.Messages.empty());
    }

    void stopEndsTheDownloadWithTheFinishedBatchesKept() {
        TLocalSite site(SiteOf(120, 51));
        TGuiFixture f;
        WriteSettings(f.Path(), SiteIni(site), 2);
        QVERIFY(f.Start());

        // Stop is pressed while the second page is awaited.
        QTimer stopper;
        QString stepShown;
        connect(&stopper, &QTimer::timeout, [&] {
            if (site.Requests().size() < 2 || !f.Ui.Progress())
                return;
            stepShown = f.Ui.Progress()->labelText();
            f.Ui.Progress()->findChild<QPushButton*>()->click();
            stopper.stop();
        });
        stopper.start(10);
        f.Window->DrawsTab()->DrawsDownload->trigger();

        QCOMPARE(stepShown, QStringLiteral("Загрузка архива тиражей...\nЗагрузка тиражей 51 - 100..."));
        QCOMPARE(ReadArchive(f.Path()).size(), std::size_t(50));
        QCOMPARE(f.Window->DrawsTab()->Model()->rowCount(), 50);
        QVERIFY(f.TextsOf(TMessageKind::ErrorQuestion).empty());
        QVERIFY(!f.Ui.Progress());
        QVERIFY(!f.Ui.StopRequested());
        QVERIFY(!f.Core->Busy());
    }

    void closingTheWindowStopsTheDownloadAndClosesOnceItEnds() {
        TLocalSite site(SiteOf(120, 51));
        TGuiFixture f;
        WriteSettings(f.Path(), SiteIni(site), 2);
        QVERIFY(f.Start());
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            if (site.Requests().size() < 2)
                return;
            closer.stop();
            f.Window->close();
        });
        closer.start(10);
        f.Window->DrawsTab()->DrawsDownload->trigger();

        QVERIFY(QTest::qWaitFor([&] { return !f.Window->isVisible(); }, 5000));
        QVERIFY(f.Messages.empty());
        QCOMPARE(ReadArchive(f.Path()).size(), std::size_t(50));
        QVERIFY(!f.Core->DataLockHeld());
    }

    void aFailedPageAsksWhetherToRetry() {
        std::atomic<int> failures = 1;
        TLocalSite site([&failures, ok = SiteOf(3)](const TSiteRequest& request) {
            if (failures.fetch_sub(1) > 0) {
                TSiteResponse error;
                error.Status = 500;
                return error;
            }
            return ok(request);
        });
        TGuiFixture f;
        WriteSettings(f.Path(), SiteIni(site), 2);
        QVERIFY(f.Start());
        std::deque<bool> retry;
        int overWaitWindow = 0;
        auto record = f.Ui.Answerer;
        f.Ui.Answerer = [&](const TShownMessage& m) {
            record(m);
            if (m.Kind != TMessageKind::ErrorQuestion || retry.empty())
                return false;
            overWaitWindow += f.Ui.Progress() != nullptr;
            const bool answer = retry.front();
            retry.pop_front();
            return answer;
        };

        // Yes tries the page again.
        retry = {true};
        f.Window->DrawsTab()->DrawsDownload->trigger();
        QCOMPARE(f.Messages.size(), std::size_t(1));
        QCOMPARE(f.Messages[0].Kind, TMessageKind::ErrorQuestion);
        QCOMPARE(f.Messages[0].Caption, QStringLiteral("Ошибка"));
        QVERIFY(f.Messages[0].Text.startsWith(QStringLiteral("Ошибка загрузки архива тиражей с сайта: \"")));
        QVERIFY(f.Messages[0].Text.endsWith(QStringLiteral("\"\n\nПовторить попытку?")));
        QCOMPARE(overWaitWindow, 1);
        QCOMPARE(f.Window->DrawsTab()->Model()->rowCount(), 3);

        // No ends the download with the archive as it was.
        failures = 1;
        f.Messages.clear();
        retry = {false};
        f.Window->DrawsTab()->DrawsDownload->trigger();
        QCOMPARE(f.Messages.size(), std::size_t(1));
        QCOMPARE(f.Messages[0].Kind, TMessageKind::ErrorQuestion);
        QCOMPARE(site.Requests().size(), std::size_t(3));
        QCOMPARE(f.Window->DrawsTab()->Model()->rowCount(), 3);
        QVERIFY(!f.Ui.Progress());
        QVERIFY(!f.Core->Busy());
        QVERIFY(f.Window->DrawsTab()->DrawsDownload->isEnabled());
    }

    void startUpDownloadFollowsTheSetting_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("draws");
        QTest::newRow("ask, yes") << 0 << true << 1 << 7;
        QTest::newRow("ask, no") << 0 << false << 1 << 0;
        QTest::newRow("automatic") << 1 << false << 0 << 7;
        QTest::newRow("off") << 2 << true << 0 << 0;
    }
    void startUpDownloadFollowsTheSetting() {
        QFETCH(int, mode);
        QFETCH(bool, answer);
        QFETCH(int, questions);
        QFETCH(int, draws);
        TLocalSite site(SiteOf(7));
        TGuiFixture f;
        WriteSettings(f.Path(), SiteIni(site), mode);
        f.Answers = {answer};
        bool waitWindow = false;
        f.Ui.ProgressObserver = [&](long long, long long total) {
            waitWindow = waitWindow || (total != 0 && f.Ui.Progress() && f.Ui.Progress()->isVisible());
        };
        QVERIFY(f.Start());
        f.Ui.ProgressObserver = nullptr;

        const std::vector<QString> asked = f.TextsOf(TMessageKind::Question);
        QCOMPARE(int(asked.size()), questions);
        if (questions > 0)
            QCOMPARE(asked[0],
                     QStringLiteral("Обновить список тиражей?\n\nДля выполнения обновления необходимо "
                                    "действующее подключение к сети Интернет."));
        QCOMPARE(waitWindow, draws > 0);
        QCOMPARE(f.Window->DrawsTab()->Model()->rowCount(), draws);
        QCOMPARE(f.Window->StatusText(TFormMain::PanelDraws), QStringLiteral("Архив тиражей: %1").arg(draws));
        QVERIFY(f.Window->DrawsTab()->DrawsDownload->isEnabled());
    }

    void proxyDialogStoresThePROXYSection() {
        TGuiFixture f;
        // A server without a mode is the manual choice.
        WriteBytes(f.Path() / MainSettingsFileName, "[PROXY]\r\nProxyServer=proxy.lan\r\nProxyPort=8080\r\n");
        QVERIFY(f.Start());
        QAction& command = *f.Window->DrawsTab()->ProxySettings;
        QCOMPARE(command.text(), QStringLiteral("Параметры proxy-сервера"));

        OnModal<TProxyDialog>([&](TProxyDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Параметры proxy-сервера"));
            QVERIFY(d->ModeButton(2)->isChecked());
            QCOMPARE(d->ServerEdit()->text(), QStringLiteral("proxy.lan"));
            QCOMPARE(d->PortEdit()->value(), 8080);
            QCOMPARE(d->PortEdit()->minimum(), 1);
            QCOMPARE(d->PortEdit()->maximum(), 65535);
            QCOMPARE(d->PasswordEdit()->echoMode(), QLineEdit::Password);
            d->ServerEdit()->setText(QStringLiteral("  10.0.0.1 "));
            d->PortEdit()->setValue(3128);
            d->UserEdit()->setText(QStringLiteral("Иван"));
            d->PasswordEdit()->setText(QStringLiteral("p=a;s s"));
            PressOk(d);
        });
        command.trigger();
        TIniFile ini = MainIni(f.Path());
        QCOMPARE(ini.ReadString("PROXY", "ProxyMode", ""), std::string("2"));
        QCOMPARE(ini.ReadString("PROXY", "ProxyServer", ""), std::string("10.0.0.1"));
        QCOMPARE(ini.ReadString("PROXY", "ProxyPort", ""), std::string("3128"));
        QCOMPARE(ini.ReadString("PROXY", "ProxyUsername", ""), std::string("Иван"));
        QCOMPARE(ini.ReadString("PROXY", "ProxyPassword", ""), std::string("p=a;s s"));

        // The next start reads back what the dialog stored.
        f.Window->close();
        TGuiFixture again(f.Dir);
        f.Window.reset();
        f.Core.reset();
        QVERIFY(again.Start());
        const TProxy& read = again.Core->Proxy();
        QCOMPARE(read.Mode, uint8_t(2));
        QCOMPARE(read.Server, std::string("10.0.0.1"));
        QCOMPARE(read.Port, 3128);
        QCOMPARE(read.UserName, std::string("Иван"));
        QCOMPARE(read.Password, std::string("p=a;s s"));

        // Cancel writes nothing; the automatic search keeps no server of its own.
        const std::string before = ReadBytes(again.Path() / MainSettingsFileName);
        OnModal<TProxyDialog>([](TProxyDialog* d) {
            d->ModeButton(0)->setChecked(true);
            d->reject();
        });
        again.Window->DrawsTab()->ProxySettings->trigger();
        QCOMPARE(ReadBytes(again.Path() / MainSettingsFileName), before);
        OnModal<TProxyDialog>([](TProxyDialog* d) {
            QVERIFY(d->UserEdit()->isEnabled());
            d->ModeButton(1)->setChecked(true);
            QVERIFY(!d->ServerEdit()->isEnabled());
            QVERIFY(!d->PasswordEdit()->isEnabled());
            PressOk(d);
        });
        again.Window->DrawsTab()->ProxySettings->trigger();
        ini = MainIni(again.Path());
        QCOMPARE(ini.ReadString("PROXY", "ProxyMode", ""), std::string("1"));
        QCOMPARE(ini.ReadString("PROXY", "ProxyServer", "x"), std::string());
        QCOMPARE(ini.ReadString("PROXY", "ProxyPort", ""), std::string("80"));
        QCOMPARE(ini.ReadString("PROXY", "ProxyUsername", "x"), std::string());
        QCOMPARE(ini.ReadString("PROXY", "ProxyPassword", "x"), std::string());
    }

    void aFailedWriteOfTheProxySettingsIsReportedAndTheFileKept() {
        TGuiFixture f;
        WriteBytes(f.Path() / MainSettingsFileName, "[PROXY]\r\nProxyMode=0\r\n");
        QVERIFY(f.Start());
        const std::string before = ReadBytes(f.Path() / MainSettingsFileName);
        OnModal<TProxyDialog>([](TProxyDialog* d) {
            d->ModeButton(2)->setChecked(true);
            d->ServerEdit()->setText(QStringLiteral("proxy.lan"));
            PressOk(d);
        });
        SetWriteFaultHookForTesting([](std::size_t) { return false; });
        f.Window->DrawsTab()->ProxySettings->trigger();
        SetWriteFaultHookForTesting(nullptr);

        const std::vector<QString> errors = f.TextsOf(TMessageKind::Error);
        QCOMPARE(errors.size(), std::size_t(1));
        QVERIFY(errors[0].startsWith(QStringLiteral("Ошибка записи в файл конфигурации!\n\n")));
        QCOMPARE(ReadBytes(f.Path() / MainSettingsFileName), before);
        QCOMPARE(f.Window->StatusText(TFormMain::PanelOperation), QString());
        QVERIFY(!f.Core->Busy());
    }

    void unknownStoredProxyModeShowsNoProxy() {
        TProxy proxy;
        proxy.Mode = 7;
        proxy.Port = 0;
        TProxyDialog d(proxy);
        QVERIFY(d.ModeButton(0)->isChecked());
        QVERIFY(!d.ServerEdit()->isEnabled());
        QCOMPARE(d.Result().Mode, uint8_t(0));
        QCOMPARE(d.Result().Port, 80);
    }
};

QTEST_MAIN(TDrawDownloadTest)
#include "DrawDownloadTest.moc"
