#include "download/DrawDownload.h"

#include "draws/DrawArchive.h"
#include "model/Cp1251.h"
#include "model/GameConstants.h"
#include "model/VexoUtils.h"

#include <algorithm>
#include <unordered_set>

namespace kumby {

namespace {

const std::vector<std::pair<std::string, std::string>>& RequestHeaders() {
    static const std::vector<std::pair<std::string, std::string>> headers{
        {"Accept", "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"},
        {"User-Agent", "Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
                       "Chrome/47.0.2526.80 Safari/537.36"},
    };
    return headers;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && FindNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

} // namespace

std::string CheckSiteUrl(const std::string& url, const std::filesystem::path& settingsFile) {
    std::string site = Trim(url);
    if (site.empty())
        throw Error(
            Format("Адрес сайта с результатами тиражей не задан. Укажите его в файле настроек \"%s\": "
                   "раздел [%s], ключ %s, например:\r\r[%s]\r%s=https://example.org",
                   settingsFile.string().c_str(), DownloadSection, SiteUrlKey, DownloadSection, SiteUrlKey));
    const bool web = StartsWithNoCase(site, "https://") || StartsWithNoCase(site, "http://");
    if (!web || site.find_first_of(" \t\r\n") != std::string::npos)
        throw Error(
            Format("Адрес сайта с результатами тиражей \"%s\" должен начинаться с https:// или http:// "
                   "(файл настроек \"%s\", раздел [%s], ключ %s).",
                   site.c_str(), settingsFile.string().c_str(), DownloadSection, SiteUrlKey));
    while (!site.empty() && site.back() == '/')
        site.pop_back();
    return site;
}

std::string RangePageUrl(const std::string& site, int32_t first, int32_t last) {
    return site + Format("/12x24/archive?mode=draw&firstDraw=%.4d&lastDraw=%.4d", first, last);
}

std::string DrawPageUrl(const std::string& site, int32_t number) {
    return site + Format("/12x24/archive/%.4d", number);
}

std::string DownloadFailedText(const std::string& error) {
    return "Ошибка загрузки архива тиражей с сайта: \"" + error + "\"";
}

std::string DownloadRetryQuestion(const std::string& error) {
    return "Ошибка загрузки архива тиражей с сайта: \"" + error + "\"\r\rПовторить попытку?";
}

IHttpClient& TDrawDownloader::Client() {
    if (!Client_)
        Client_ = MakeCurlHttpClient();
    return *Client_;
}

std::string TDrawDownloader::HttpGetText(IDownloadHost& host, const std::string& url) {
    THttpRequest request;
    request.Url = url;
    request.ConnectTimeoutMs = Settings_.ConnectTimeoutMs;
    request.ReadTimeoutMs = Settings_.ReadTimeoutMs;
    request.Proxy = host.ChosenProxy();
    request.Headers = RequestHeaders();
    IJobInterface& ui = host.Ui();
    ui.SetWaitHeading(request.Proxy ? Format("%s\r\r%s", DownloadWaitText,
                                             Format("Попытка %d, proxy %s : %d", Attempt_,
                                                    request.Proxy->Host.c_str(), request.Proxy->Port)
                                                 .c_str())
                                    : std::string(DownloadWaitText));
    const std::string body = Client().Get(request, [&ui] {
        ui.PumpEvents();
        return !ui.StopRequested();
    });
    return Utf8ToCp1251(body);
}

TRangeResult TDrawDownloader::DownloadRange(IDownloadHost& host, const std::string& site, int32_t first,
                                            int32_t last) {
    IJobInterface& ui = host.Ui();
    ui.SetStatus(Format("Загрузка тиражей %d - %d...", first, last));
    ui.PumpEvents();
    const TRangePage page = ReadRangePage(HttpGetText(host, RangePageUrl(site, first, last)), first);

    TRangeResult result;
    result.Listed = page.Listed();
    for (const std::string& reason : page.Skipped)
        result.Skipped.push_back("Пропущен " + reason);
    const TDrawsArray& archive = host.Draws();
    std::unordered_set<int32_t> taken;
    std::vector<TDrawRecord> newestFirst;
    for (const TPageDraw& draw : page.Draws) {
        TPageNumbers numbers{};
        if (draw.Numbers) {
            numbers = *draw.Numbers;
        } else {
            ui.PumpEvents();
            if (ui.StopRequested())
                throw DownloadStopped();
            ui.SetStatus(Format("Загрузка тиража %d...", draw.Number));
            const std::optional<TPageNumbers> single =
                ReadSingleDrawPage(HttpGetText(host, DrawPageUrl(site, draw.Number)));
            if (!single) {
                result.Skipped.push_back(
                    Format("Пропущен тираж %d: на странице тиража нет чисел", draw.Number));
                continue;
            }
            numbers = *single;
        }
        if (const std::string problem = DrawNumbersProblem(numbers); !problem.empty()) {
            result.Skipped.push_back(Format("Пропущен тираж %d: %s", draw.Number, problem.c_str()));
            continue;
        }
        if (FindDrawIndex(archive, draw.Number) >= 0 || !taken.insert(draw.Number).second) {
            result.Skipped.push_back(Format("Пропущен тираж %d: он уже есть в архиве", draw.Number));
            continue;
        }
        TDrawRecord record;
        record.Number = draw.Number;
        for (std::size_t i = 0; i < numbers.size(); ++i)
            record.Numbers[i] = static_cast<uint8_t>(numbers[i]);
        record.DateText.AssignBytes(draw.DateText);
        newestFirst.push_back(record);
    }
    // The site lists the newest draw first; the archive keeps the oldest first.
    result.Draws.assign(newestFirst.rbegin(), newestFirst.rend());
    return result;
}

TDownloadReport TDrawDownloader::DownloadDraws(IDownloadHost& host, const std::string& site, int maxRetries) {
    IJobInterface& ui = host.Ui();
    TDownloadReport report;
    int retries = 0;
    Attempt_ = 1;
    int64_t next = NextDrawNumber(host.Draws(), 0);
    while (next <= MaxDrawNumber) {
        ui.PumpEvents();
        if (ui.StopRequested()) {
            report.Stopped = true;
            break;
        }
        const auto first = static_cast<int32_t>(next);
        const auto last =
            static_cast<int32_t>(std::min<int64_t>(next + DownloadBatchSize - 1, MaxDrawNumber));
        TRangeResult batch;
        try {
            batch = DownloadRange(host, site, first, last);
        } catch (const DownloadStopped&) {
            report.Stopped = true;
            break;
        } catch (const std::exception& e) {
            if (host.DropChosenProxy()) {
                ++Attempt_;
                continue;
            }
            if ((maxRetries < 0 || retries < maxRetries) &&
                ui.Confirm(DownloadRetryQuestion(e.what()), TConfirmKind::ErrorQuestion)) {
                ++retries;
                ++Attempt_;
                continue;
            }
            if (maxRetries >= 0 && retries >= maxRetries)
                ui.ShowError(DownloadFailedText(e.what()));
            report.Failed = true;
            break;
        }
        retries = 0;
        Attempt_ = 1;
        host.StoreProxy();
        for (const std::string& line : batch.Skipped) {
            host.Log(line);
            report.Skipped.push_back(line);
        }
        if (batch.Listed == 0)
            break;
        if (!batch.Draws.empty() && !host.AppendDraws(batch.Draws)) {
            report.Failed = true;
            break;
        }
        report.Added += static_cast<int>(batch.Draws.size());
        ++report.Batches;
        host.Log(Format("Тиражи %d - %d: добавлено %zu", first, last, batch.Draws.size()));
        // A batch that left draws out still goes on while the page listed a full one.
        if (batch.Listed < static_cast<std::size_t>(DownloadBatchSize))
            break;
        next = std::max<int64_t>(NextDrawNumber(host.Draws(), 0), int64_t{last} + 1);
    }
    return report;
}

} // namespace kumby
