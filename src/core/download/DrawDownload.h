#pragma once

// The draw download: the draws after the newest one of the archive, fetched from the
// results site in batches, each batch appended and saved before the next is asked for.

#include "download/HttpClient.h"
#include "download/PageText.h"
#include "model/IJobInterface.h"
#include "model/Records.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kumby {

inline constexpr int DownloadBatchSize = 50;
// Where the main settings file keeps the results site's address.
inline constexpr const char* DownloadSection = "DOWNLOAD";
inline constexpr const char* SiteUrlKey = "SiteUrl";
// The wait window's text while the archive downloads.
inline constexpr const char* DownloadWaitText = "Загрузка архива тиражей...";

struct TDownloadSettings {
    std::string SiteUrl; // none built in
    int ConnectTimeoutMs = 5000;
    int ReadTimeoutMs = 10000;
};

// The site address made ready for the page paths (no trailing "/"). Raises Error,
// naming the settings file, when it is missing or not an http:// or https:// address.
std::string CheckSiteUrl(const std::string& url, const std::filesystem::path& settingsFile);
std::string RangePageUrl(const std::string& site, int32_t first, int32_t last);
std::string DrawPageUrl(const std::string& site, int32_t number);

// One batch: the draws to append (oldest first), how many the page listed for it
// and the blocks that were left out, each with a line saying why.
struct TRangeResult {
    std::vector<TDrawRecord> Draws;
    std::size_t Listed = 0;
    std::vector<std::string> Skipped;
};

// What the download needs from the program that owns the archive.
class IDownloadHost {
public:
    virtual ~IDownloadHost() = default;
    virtual IJobInterface& Ui() = 0;
    virtual const TDrawsArray& Draws() const = 0;
    // Appends a batch and saves the archive; false after a reported failure.
    virtual bool AppendDraws(const std::vector<TDrawRecord>& draws) = 0;
    // The proxy of the next request; none for a direct connection.
    virtual std::optional<THttpProxy> ChosenProxy() = 0;
    // After a failed request: drops the proxy the automatic choice had taken; true
    // when another one is left to try at once.
    virtual bool DropChosenProxy() { return false; }
    // Writes the proxy settings when they have not been stored yet.
    virtual void StoreProxy() {}
    // A finished batch, and each draw that was left out, as lines of the log.
    virtual void Log(const std::string& /*line*/) {}
};

// How the program's download command runs.
struct TDownloadOptions {
    std::string SiteUrl; // empty: the address of the settings file
    // Each finished batch and each draw left out, as they happen.
    std::function<void(const std::string&)> Log;
    // Retries of one batch after which a failure ends the download without asking
    // again; -1: as often as the answer is Yes.
    int MaxRetries = -1;
};

struct TDownloadReport {
    int Added = 0;
    int Batches = 0;
    std::vector<std::string> Skipped;
    bool Stopped = false;
    // The download ended on an error the user chose not to retry, or on a failed save.
    bool Failed = false;
};

class TDrawDownloader {
public:
    TDrawDownloader() = default;
    explicit TDrawDownloader(std::unique_ptr<IHttpClient> client) : Client_(std::move(client)) {}

    TDownloadSettings& Settings() { return Settings_; }
    const TDownloadSettings& Settings() const { return Settings_; }
    // Replaces the client (the libcurl one is made on first use).
    void SetClient(std::unique_ptr<IHttpClient> client) { Client_ = std::move(client); }

    // Every draw after the newest of the archive, batch by batch, with the retry
    // question after a failed batch (at most `maxRetries` times for one batch unless
    // it is -1). `site` is a checked address (CheckSiteUrl).
    TDownloadReport DownloadDraws(IDownloadHost& host, const std::string& site, int maxRetries = -1);
    // The draws of one batch that the archive does not have yet; raises Error on a
    // network error, DownloadStopped on Stop.
    TRangeResult DownloadRange(IDownloadHost& host, const std::string& site, int32_t first, int32_t last);
    // A page of the site as CP1251 text.
    std::string HttpGetText(IDownloadHost& host, const std::string& url);

private:
    IHttpClient& Client();

    TDownloadSettings Settings_;
    // The try of the current batch, shown in the wait window beside a proxy.
    int Attempt_ = 1;
    std::unique_ptr<IHttpClient> Client_;
};

// "Ошибка загрузки архива тиражей с сайта: \"%s\"\r\rПовторить попытку?"
std::string DownloadRetryQuestion(const std::string& error);
// The same failure once no retry is left.
std::string DownloadFailedText(const std::string& error);

} // namespace kumby
