// The download as the program runs it, over a fake site: batches, saves, the draws
// left out, the retry question, Stop and the proxy.

#include "SitePages.h"
#include "download/DrawDownload.h"
#include "io/IniFile.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <map>

namespace kumby {
namespace {

using testing::RangePageHtml;
using testing::SiteDraw;
using testing::SiteDraws;
using testing::TSiteDraw;
using testing::TTestSession;

constexpr const char* Site = "https://site.test";

// Pages by address; an address without a page fails like a dead connection. Each
// request may run a hook first (to look at the disk, or to fail once).
class TFakeSite : public IHttpClient {
public:
    std::string Get(const THttpRequest& request, const std::function<bool()>& idle) override {
        Requests.push_back(request);
        if (idle && !idle())
            throw DownloadStopped();
        if (OnRequest)
            OnRequest(request.Url);
        const auto it = Pages.find(request.Url);
        if (it == Pages.end())
            throw Error("Connection refused: " + request.Url);
        return it->second;
    }

    std::map<std::string, std::string> Pages;
    std::vector<THttpRequest> Requests;
    std::function<void(const std::string&)> OnRequest;
};

std::string Range(int first, int last) {
    return RangePageUrl(Site, first, last);
}

class SessionDownloadTest : public ::testing::Test {
protected:
    void SetUp() override { Start({}); }

    void Start(const TDrawsArray& draws) {
        T.StartWith(draws);
        auto site = std::make_unique<TFakeSite>();
        Fake = site.get();
        T.S->SetHttpClient(std::move(site));
        T.S->DownloadSettings().SiteUrl = Site;
    }

    TDownloadReport Download() {
        TDownloadOptions options;
        options.Log = [this](const std::string& line) { Log.push_back(line); };
        return T.S->DownloadDraws(options);
    }

    TDrawsArray OnDisk() const {
        TDrawsArray draws;
        LoadDrawArchive(T / DrawsFileName, draws);
        return draws;
    }

    TTestSession T;
    TFakeSite* Fake = nullptr;
    std::vector<std::string> Log;
};

TEST_F(SessionDownloadTest, EmptyArchiveFillsInBatchesSavingEachBeforeTheNext) {
    Fake->Pages[Range(1, 50)] = RangePageHtml(SiteDraws(1, 50));
    Fake->Pages[Range(51, 100)] = RangePageHtml(SiteDraws(51, 99));
    std::size_t onDiskAtSecondBatch = 0;
    Fake->OnRequest = [&](const std::string& url) {
        if (url == Range(51, 100))
            onDiskAtSecondBatch = OnDisk().size();
    };

    const TDownloadReport r = Download();
    EXPECT_EQ(r.Added, 99);
    EXPECT_EQ(r.Batches, 2);
    EXPECT_FALSE(r.Failed);
    EXPECT_EQ(onDiskAtSecondBatch, 50u);
    ASSERT_EQ(T.S->Draws().size(), 99u);
    for (int i = 0; i < 99; ++i)
        ASSERT_EQ(T.S->Draws()[static_cast<std::size_t>(i)].Number, i + 1);
    const TSiteDraw d = SiteDraw(7);
    const TDrawRecord& rec = T.S->Draws()[6];
    EXPECT_EQ(rec.DateTextUtf8(), d.Date);
    for (std::size_t i = 0; i < 12; ++i)
        EXPECT_EQ(rec.Numbers[i], d.Numbers[i]);
    EXPECT_EQ(OnDisk().size(), 99u);
    EXPECT_EQ(Log,
              (std::vector<std::string>{"Тиражи 1 - 50: добавлено 50", "Тиражи 51 - 100: добавлено 49"}));
    EXPECT_EQ(T.S->NextDrawPanel(), "Следующий тираж: 100");
    EXPECT_TRUE(T.Ui.Messages.empty());
    // The headers of the site's requests, and no proxy in mode 0.
    ASSERT_EQ(Fake->Requests.size(), 2u);
    EXPECT_FALSE(Fake->Requests[0].Proxy);
    EXPECT_EQ(Fake->Requests[0].Headers.at(0).first, "Accept");
    EXPECT_EQ(Fake->Requests[0].Url,
              "https://site.test/12x24/archive?mode=draw&firstDraw=0001&lastDraw=0050");
}

TEST_F(SessionDownloadTest, BadAndDuplicateDrawsAreLeftOutWithoutEndingTheDownload) {
    // 91 was entered by hand out of order: the download starts after 40 and meets it.
    Start({testing::PlainDraw(1), testing::PlainDraw(2), testing::PlainDraw(91), testing::PlainDraw(40)});
    // Next is 41: the page lists 41..90 with faults, plus an older draw; then 91..95.
    std::vector<TSiteDraw> first = SiteDraws(41, 90);
    first[0].Numbers[3] = first[0].Numbers[4];      // 90: a number twice
    first[1].Numbers[0] = 25;                       // 89: out of range
    first[2].Nbsp = true;                           // 88: read without the entity
    first[3].Date = "01.02.2021 20:00 понедельник"; // 87: cut to 16
    first[4].NoNumbersBlock = true;                 // 86: from the single draw page
    first[5].NoNumbersBlock = true;                 // 85: single draw page without numbers
    first.push_back(SiteDraw(2));                   // older than the batch: ignored
    first.insert(first.begin() + 10, SiteDraw(70)); // listed twice: the first is kept
    Fake->Pages[Range(41, 90)] = RangePageHtml(first);
    Fake->Pages[DrawPageUrl(Site, 86)] =
        testing::SingleDrawPageHtml({24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13});
    Fake->Pages[DrawPageUrl(Site, 85)] = "<html>no numbers</html>";
    Fake->Pages[Range(91, 140)] = RangePageHtml(SiteDraws(91, 95));

    // Without a log of its own the command lists them in one warning.
    const TDownloadReport r = T.S->DownloadDraws();
    EXPECT_EQ(r.Added, 47 + 4);
    EXPECT_EQ(r.Batches, 2);
    ASSERT_EQ(r.Skipped.size(), 5u);
    EXPECT_EQ(r.Skipped[0].rfind("Пропущен тираж 90: числа ", 0), 0u);
    EXPECT_EQ(r.Skipped[1].rfind("Пропущен тираж 89: числа ", 0), 0u);
    EXPECT_EQ(r.Skipped[2], "Пропущен тираж 85: на странице тиража нет чисел");
    EXPECT_EQ(r.Skipped[3], "Пропущен тираж 70: он уже есть в архиве");
    EXPECT_EQ(r.Skipped[4], "Пропущен тираж 91: он уже есть в архиве");
    const TDrawsArray& draws = T.S->Draws();
    ASSERT_EQ(draws.size(), 4u + 51u);
    const int i88 = FindDrawIndex(draws, 88);
    ASSERT_GE(i88, 0);
    EXPECT_EQ(draws[static_cast<std::size_t>(i88)].Numbers[0], SiteDraw(88).Numbers[0]);
    EXPECT_EQ(draws[static_cast<std::size_t>(FindDrawIndex(draws, 87))].DateTextUtf8(), "01.02.2021 20:00");
    EXPECT_EQ(draws[static_cast<std::size_t>(FindDrawIndex(draws, 86))].Numbers[0], 24);
    for (int n : {85, 89, 90})
        EXPECT_EQ(FindDrawIndex(draws, n), -1) << n;
    EXPECT_EQ(DrawIndexesOfNumber(draws, 91).size(), 1u);
    EXPECT_EQ(OnDisk().size(), draws.size());
    // Oldest first within the batch.
    EXPECT_EQ(draws[4].Number, 41);
    ASSERT_EQ(T.Ui.Messages.size(), 1u);
    EXPECT_EQ(T.Ui.Messages[0].Kind, "warning");
    EXPECT_NE(T.Ui.Messages[0].Text.find("Пропущен тираж 70"), std::string::npos);
}

TEST_F(SessionDownloadTest, AFullBatchOfOnlyBadDrawsGoesOnToTheNextBatch) {
    std::vector<TSiteDraw> bad = SiteDraws(1, 50);
    for (TSiteDraw& d : bad)
        d.Numbers[0] = 0;
    Fake->Pages[Range(1, 50)] = RangePageHtml(bad);
    Fake->Pages[Range(51, 100)] = RangePageHtml(SiteDraws(51, 52));
    const TDownloadReport r = Download();
    EXPECT_EQ(r.Added, 2);
    EXPECT_EQ(r.Skipped.size(), 50u);
    EXPECT_EQ(Fake->Requests.size(), 2u);
}

TEST_F(SessionDownloadTest, AFailedBatchIsRetriedOnYesAndEndsTheDownloadOnNo) {
    Fake->Pages[Range(1, 50)] = RangePageHtml(SiteDraws(1, 50));
    int failures = 1;
    Fake->OnRequest = [&](const std::string& url) {
        if (url == Range(1, 50) && failures-- > 0)
            throw Error("HTTP 500");
    };
    // Yes once; the batch after the first then has no page and the answer is No.
    T.Ui.Answers = {true, false};
    const TDownloadReport r = Download();
    EXPECT_EQ(r.Added, 50);
    EXPECT_TRUE(r.Failed);
    EXPECT_EQ(OnDisk().size(), 50u);
    ASSERT_EQ(T.Ui.Messages.size(), 2u);
    EXPECT_EQ(T.Ui.Messages[0].Kind, "confirm");
    EXPECT_EQ(T.Ui.Messages[0].Text,
              "Ошибка загрузки архива тиражей с сайта: \"HTTP 500\"\r\rПовторить попытку?");
    EXPECT_EQ(
        T.Ui.Messages[1].Text.rfind("Ошибка загрузки архива тиражей с сайта: \"Connection refused: ", 0), 0u);
    EXPECT_EQ(Fake->Requests.size(), 3u);
}

TEST_F(SessionDownloadTest, PagesWithoutTheListEndQuietlyAndBrokenListsAskToRetry) {
    Fake->Pages[Range(1, 50)] = "<html>Технические работы</html>";
    TDownloadReport r = Download();
    EXPECT_EQ(r.Added, 0);
    EXPECT_FALSE(r.Failed);
    EXPECT_TRUE(T.Ui.Messages.empty());

    const std::string page = RangePageHtml(SiteDraws(1, 50));
    Fake->Pages[Range(1, 50)] = page.substr(0, page.size() / 2);
    r = Download();
    EXPECT_TRUE(r.Failed);
    ASSERT_EQ(T.Ui.Messages.size(), 1u);
    EXPECT_NE(T.Ui.Messages[0].Text.find("Не удалось найти пару идентификаторов"), std::string::npos);
    EXPECT_TRUE(T.S->Draws().empty());
}

class TStoppingUi : public testing::TRecordingUi {
public:
    bool StopRequested() override { return Stop; }
    bool Stop = false;
};

TEST_F(SessionDownloadTest, StopBetweenPagesKeepsTheSavedBatchesAndDropsTheUnfinishedOne) {
    Fake->Pages[Range(1, 50)] = RangePageHtml(SiteDraws(1, 50));
    std::vector<TSiteDraw> second = SiteDraws(51, 100);
    second[10].NoNumbersBlock = true;
    Fake->Pages[Range(51, 100)] = RangePageHtml(second);
    // The stop comes while the second batch waits for its single draw page.
    const std::map<std::string, std::string> pages = Fake->Pages;
    TStoppingUi ui;
    TSessionOptions options;
    options.DataDir = T.Path();
    options.Headless = true;
    T.S.reset();
    Session s(ui, options);
    ASSERT_TRUE(s.Create());
    ASSERT_EQ(s.Start(), TStartResult::Ready);
    auto site = std::make_unique<TFakeSite>();
    TFakeSite* fake = site.get();
    fake->Pages = pages;
    fake->OnRequest = [&](const std::string& url) { ui.Stop = url == Range(51, 100); };
    s.SetHttpClient(std::move(site));
    s.DownloadSettings().SiteUrl = Site;

    const TDownloadReport r = s.DownloadDraws();
    EXPECT_TRUE(r.Stopped);
    EXPECT_EQ(r.Added, 50);
    EXPECT_EQ(s.Draws().size(), 50u);
    EXPECT_EQ(fake->Requests.size(), 2u);
    EXPECT_FALSE(s.Busy());
}

TEST_F(SessionDownloadTest, WithoutASiteAddressItSaysWhereToSetIt) {
    T.S->DownloadSettings().SiteUrl = "";
    EXPECT_FALSE(T.S->DrawDownloadAvailable());
    EXPECT_TRUE(Download().Failed);
    ASSERT_EQ(T.Ui.Errors().size(), 1u);
    const std::string text = T.Ui.Errors()[0];
    EXPECT_NE(text.find((T / MainSettingsFileName).string()), std::string::npos);
    EXPECT_NE(text.find("[DOWNLOAD]"), std::string::npos);
    EXPECT_NE(text.find("SiteUrl"), std::string::npos);
    EXPECT_TRUE(Fake->Requests.empty());

    T.S->DownloadSettings().SiteUrl = "ftp://site.test";
    EXPECT_TRUE(Download().Failed);
    EXPECT_NE(T.Ui.Errors().back().find("https://"), std::string::npos);
    EXPECT_TRUE(Fake->Requests.empty());
}

TEST_F(SessionDownloadTest, SiteAddressComesFromTheSettingsFile) {
    TIniFile ini;
    ini.WriteString(DownloadSection, SiteUrlKey, "http://127.0.0.1:8080/");
    ini.Save(T / MainSettingsFileName);
    T.Open();
    ASSERT_EQ(T.Start(), TStartResult::Ready);
    EXPECT_TRUE(T.S->DrawDownloadAvailable());
    auto site = std::make_unique<TFakeSite>();
    TFakeSite* fake = site.get();
    T.S->SetHttpClient(std::move(site));
    T.S->DownloadDraws();
    ASSERT_FALSE(fake->Requests.empty());
    EXPECT_EQ(fake->Requests[0].Url,
              "http://127.0.0.1:8080/12x24/archive?mode=draw&firstDraw=0001&lastDraw=0050");
}

TEST_F(SessionDownloadTest, ProxyModes) {
    Fake->Pages[Range(1, 50)] = RangePageHtml(SiteDraws(1, 2));
    TProxy proxy;
    proxy.Mode = 2;
    proxy.Server = "proxy.test";
    proxy.Port = 3128;
    proxy.UserName = "user";
    proxy.Password = "secret";
    ASSERT_TRUE(T.S->ProxySave(proxy));
    Download();
    ASSERT_EQ(Fake->Requests.size(), 1u);
    ASSERT_TRUE(Fake->Requests[0].Proxy);
    EXPECT_EQ(Fake->Requests[0].Proxy->Host, "proxy.test");
    EXPECT_EQ(Fake->Requests[0].Proxy->Port, 3128);
    EXPECT_EQ(Fake->Requests[0].Proxy->UserName, "user");
    EXPECT_EQ(Fake->Requests[0].Proxy->Password, "secret");
    const TIniFile ini = TIniFile::Load(T / MainSettingsFileName);
    EXPECT_EQ(ini.ReadString("PROXY", "ProxyServer", ""), "proxy.test");
    EXPECT_EQ(ini.ReadInteger("PROXY", "ProxyMode", 0), 2);

    // The automatic mode without a proxy search goes direct and keeps no server.
    proxy.Mode = 1;
    ASSERT_TRUE(T.S->ProxySave(proxy));
    EXPECT_EQ(T.S->Proxy().Server, "");
    Fake->Pages[Range(3, 52)] = RangePageHtml(SiteDraws(3, 4));
    Download();
    ASSERT_EQ(Fake->Requests.size(), 2u);
    EXPECT_FALSE(Fake->Requests[1].Proxy);
    EXPECT_EQ(T.S->Draws().size(), 4u);
}

// The wait window names the proxy and counts the tries of a batch.
TEST_F(SessionDownloadTest, WaitWindowNamesTheProxyAndTheTry) {
    Fake->Pages[Range(1, 50)] = RangePageHtml(SiteDraws(1, 50));
    Fake->Pages[Range(51, 100)] = RangePageHtml(SiteDraws(51, 52));
    int requests = 0;
    Fake->OnRequest = [&](const std::string&) {
        if (++requests == 1)
            throw Error("Connection reset");
    };
    TProxy proxy;
    proxy.Mode = 2;
    proxy.Server = "proxy.test";
    proxy.Port = 3128;
    ASSERT_TRUE(T.S->ProxySave(proxy));
    T.Ui.Answers = {true};
    T.Ui.WaitHeadings.clear();
    EXPECT_EQ(Download().Added, 52);
    const std::string heading = "Загрузка архива тиражей...\r\rПопытка %d, proxy proxy.test : 3128";
    EXPECT_EQ(T.Ui.WaitHeadings,
              (std::vector<std::string>{Format(heading.c_str(), 1), Format(heading.c_str(), 2),
                                        Format(heading.c_str(), 1)}));

    // Without a proxy the window keeps its plain text.
    proxy.Mode = 0;
    ASSERT_TRUE(T.S->ProxySave(proxy));
    T.Ui.WaitHeadings.clear();
    Fake->Pages[Range(53, 102)] = RangePageHtml({});
    Download();
    EXPECT_EQ(T.Ui.WaitHeadings, std::vector<std::string>{"Загрузка архива тиражей..."});
}

TEST_F(SessionDownloadTest, StakesAreCheckedAgainstTheNewDraws) {
    ASSERT_TRUE(T.S->StakeAddManual({2, 1, "1;2;3;4;5;6;7;8;9;10;11;12", "к"}));
    Fake->Pages[Range(1, 50)] = RangePageHtml(SiteDraws(1, 3));
    EXPECT_EQ(Download().Added, 3);
    ASSERT_EQ(T.S->Stakes().Count(), 1);
    EXPECT_NE(T.S->Stakes().Read(0).Checked, 0);
}

TEST_F(SessionDownloadTest, LoadOnlyDownloadsAtStartAndEnds) {
    TIniFile ini;
    ini.WriteString(DownloadSection, SiteUrlKey, "http://127.0.0.1:1");
    ini.Save(T / MainSettingsFileName);
    TCommandLine cl;
    cl.LoadOnly = true;
    T.Open(cl);
    // Nothing listens on port 1: the batch fails and the answer is No.
    T.S->DownloadSettings().ConnectTimeoutMs = 500;
    EXPECT_EQ(T.Start(), TStartResult::Exit);
    ASSERT_FALSE(T.Ui.Messages.empty());
    EXPECT_EQ(T.Ui.Messages.back().Kind, "confirm");
    EXPECT_EQ(T.Ui.Messages.back().Text.rfind("Ошибка загрузки архива тиражей с сайта: \"", 0), 0u);
}

} // namespace
} // namespace kumby
