// The libcurl client and the whole download against a server on 127.0.0.1.

#include "LocalSite.h"
#include "SitePages.h"
#include "download/DrawDownload.h"
#include "model/Cp1251.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <atomic>
#include <chrono>

namespace kumby {
namespace {

using testing::RangePageHtml;
using testing::SiteDraw;
using testing::SiteDraws;
using testing::TLocalSite;
using testing::TSiteDraw;
using testing::TSiteRequest;
using testing::TSiteResponse;
using testing::TTestSession;

std::string Gzip(const std::string& text) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(deflateBound(&z, text.size()) + 32, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    z.avail_in = static_cast<uInt>(text.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

THttpRequest Request(const std::string& url) {
    THttpRequest r;
    r.Url = url;
    r.ConnectTimeoutMs = 1000;
    r.ReadTimeoutMs = 300;
    r.Headers = {{"Accept", "text/html"}, {"User-Agent", "Kumby test"}};
    return r;
}

TEST(CurlHttpClientTest, GzipRedirectsAndCookiesKeptBetweenRequests) {
    TLocalSite site([](const TSiteRequest& r) {
        TSiteResponse a;
        if (r.Target == "/start") {
            a.Status = 302;
            a.Headers = {{"Location", "/page"}, {"Set-Cookie", "visit=1; Path=/"}};
        } else if (r.Target == "/page") {
            a.Headers = {{"Content-Encoding", "gzip"}, {"Content-Type", "text/html; charset=utf-8"}};
            a.Body = Gzip("<p>Тираж</p>");
        } else {
            a.Body = "plain";
        }
        return a;
    });
    const auto client = MakeCurlHttpClient();
    EXPECT_EQ(client->Get(Request(site.Url() + "/start"), {}), "<p>Тираж</p>");
    EXPECT_EQ(client->Get(Request(site.Url() + "/later"), {}), "plain");

    const std::vector<TSiteRequest> seen = site.Requests();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].Headers.at("accept"), "text/html");
    EXPECT_EQ(seen[0].Headers.at("user-agent"), "Kumby test");
    // Only encodings that libcurl decodes are offered.
    EXPECT_NE(seen[0].Headers.at("accept-encoding").find("gzip"), std::string::npos);
    EXPECT_EQ(seen[0].Headers.at("accept-encoding").find("sdch"), std::string::npos);
    EXPECT_EQ(seen[1].Headers.at("cookie"), "visit=1");
    EXPECT_EQ(seen[2].Headers.at("cookie"), "visit=1");
}

TEST(CurlHttpClientTest, FailuresRaiseWithTheirCause) {
    TLocalSite site([](const TSiteRequest& r) {
        TSiteResponse a;
        if (r.Target == "/error")
            a.Status = 500;
        if (r.Target == "/stall")
            a.Stall = true;
        if (r.Target == "/big")
            a.Body = std::string(2000, 'x');
        return a;
    });
    const auto client = MakeCurlHttpClient();
    struct TCase {
        std::string Path;
        std::string Text;
    } cases[] = {
        {"/error", "HTTP 500"},
        {"/stall", "Превышено время ожидания ответа сервера (300 мс)"},
        {"/big", "длиннее 1000 байт"},
    };
    for (const TCase& c : cases) {
        THttpRequest request = Request(site.Url() + c.Path);
        request.MaxBodyBytes = 1000;
        const auto start = std::chrono::steady_clock::now();
        try {
            client->Get(request, {});
            ADD_FAILURE() << c.Path;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.Text), std::string::npos) << e.what();
        }
        // The stall ends with the read time-out, not with the server.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.Path;
    }
    // Nothing listens there.
    EXPECT_THROW(client->Get(Request("http://127.0.0.1:1/"), {}), Error);
    // Only http and https.
    EXPECT_THROW(client->Get(Request("file:///etc/passwd"), {}), Error);
}

TEST(CurlHttpClientTest, StopWhileWaiting) {
    TLocalSite site([](const TSiteRequest&) {
        TSiteResponse a;
        a.Stall = true;
        return a;
    });
    THttpRequest request = Request(site.Url() + "/");
    request.ReadTimeoutMs = 60000;
    int calls = 0;
    EXPECT_THROW(MakeCurlHttpClient()->Get(request, [&] { return ++calls < 3; }), DownloadStopped);
}

TEST(CurlHttpClientTest, ProxyWithUserAndPassword) {
    TLocalSite proxy([](const TSiteRequest&) {
        TSiteResponse a;
        a.Body = "via proxy";
        return a;
    });
    THttpRequest request = Request("http://site.invalid/12x24/archive/0001");
    request.Proxy = THttpProxy{"127.0.0.1", proxy.Port(), "user", "secret"};
    EXPECT_EQ(MakeCurlHttpClient()->Get(request, {}), "via proxy");
    const std::vector<TSiteRequest> seen = proxy.Requests();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Target, "http://site.invalid/12x24/archive/0001");
    EXPECT_EQ(seen[0].Headers.at("proxy-authorization"), "Basic dXNlcjpzZWNyZXQ=");
}

// The whole download from an empty folder: a gzip-encoded full batch with draws to
// leave out and one whose numbers come from its own page behind a redirect, then a
// batch of 49 that first fails with 500 and then stalls, each answered with a retry.
TEST(LocalSiteDownloadTest, EmptyFolderFillsInBatchesThroughFailuresAndStalls) {
    std::vector<TSiteDraw> first = SiteDraws(1, 50);
    first[0].Date = "Пн, 01.02.2021 в 20:00"; // 50: cut to 16 characters
    first[1].Nbsp = true;                     // 49
    first[2].NoNumbersBlock = true;           // 48: the single draw page
    TSiteDraw twice = SiteDraw(30);
    twice.Numbers[0] = twice.Numbers[1]; // a second, broken listing of 30
    first.insert(first.begin() + 21, twice);
    TSiteDraw duplicate = SiteDraw(31); // listed again, whole
    first.insert(first.begin() + 22, duplicate);
    std::vector<TSiteDraw> second = SiteDraws(51, 99);
    second.push_back(SiteDraw(12)); // older than the batch

    std::atomic<int> secondBatchCalls{0};
    std::atomic<std::size_t> onDiskAtSecondBatch{0};
    TTestSession T;
    const std::filesystem::path archive = T / DrawsFileName;
    TLocalSite site([&](const TSiteRequest& r) {
        TSiteResponse a;
        if (r.Target == "/12x24/archive?mode=draw&firstDraw=0001&lastDraw=0050") {
            a.Headers = {{"Content-Encoding", "gzip"}};
            a.Body = Gzip(RangePageHtml(first));
        } else if (r.Target == "/12x24/archive/0048") {
            a.Status = 301;
            a.Headers = {{"Location", "/draws/48.html"}};
        } else if (r.Target == "/draws/48.html") {
            a.Body = testing::SingleDrawPageHtml({2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24});
        } else if (r.Target == "/12x24/archive?mode=draw&firstDraw=0051&lastDraw=0100") {
            const int call = ++secondBatchCalls;
            if (call == 1) {
                TDrawsArray saved;
                LoadDrawArchive(archive, saved);
                onDiskAtSecondBatch = saved.size();
                a.Status = 500;
            } else if (call == 2) {
                a.Stall = true;
            } else {
                a.Body = RangePageHtml(second);
            }
        } else {
            a.Status = 404;
        }
        return a;
    });

    ASSERT_EQ(T.Start(), TStartResult::Ready);
    T.S->DownloadSettings().SiteUrl = site.Url();
    T.S->DownloadSettings().ReadTimeoutMs = 300;
    T.Ui.Answers = {true, true};
    std::vector<std::string> log;
    TDownloadOptions options;
    options.Log = [&](const std::string& line) { log.push_back(line); };
    const TDownloadReport r = T.S->DownloadDraws(options);

    EXPECT_EQ(r.Added, 99);
    EXPECT_FALSE(r.Failed);
    EXPECT_EQ(onDiskAtSecondBatch.load(), 50u);
    EXPECT_EQ(secondBatchCalls.load(), 3);
    TDrawsArray saved;
    LoadDrawArchive(archive, saved);
    ASSERT_EQ(saved.size(), 99u);
    for (int i = 0; i < 99; ++i)
        ASSERT_EQ(saved[static_cast<std::size_t>(i)].Number, i + 1);
    EXPECT_EQ(saved[49].DateTextUtf8(), "Пн, 01.02.2021 в");
    EXPECT_EQ(saved[48].Numbers[0], SiteDraw(49).Numbers[0]);
    EXPECT_EQ(saved[47].Numbers[11], 24);
    EXPECT_EQ(saved[29].Numbers[0], SiteDraw(30).Numbers[0]);
    ASSERT_EQ(r.Skipped.size(), 2u);
    EXPECT_EQ(r.Skipped[0].rfind("Пропущен тираж 30: числа", 0), 0u);
    EXPECT_EQ(r.Skipped[1], "Пропущен тираж 31: он уже есть в архиве");
    EXPECT_EQ(log.back(), "Тиражи 51 - 100: добавлено 49");

    std::vector<std::string> questions;
    for (const auto& m : T.Ui.Messages)
        if (m.Kind == "confirm")
            questions.push_back(m.Text);
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_NE(questions[0].find("HTTP 500"), std::string::npos);
    EXPECT_NE(questions[1].find("Превышено время ожидания"), std::string::npos);
}

} // namespace
} // namespace kumby
