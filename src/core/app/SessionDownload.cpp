// The draw download as a command of the program: the archive, the proxy settings and
// the stakes check around the downloader of download/.

#include "Session.h"

#include "model/VexoUtils.h"

namespace kumby {

namespace {

// The warning lists the draws left out this far; the log has them all.
constexpr std::size_t ListedSkips = 20;

} // namespace

// The session as the downloader sees it.
class TSessionDownloadHost : public IDownloadHost {
public:
    TSessionDownloadHost(Session& session, const TDownloadOptions& options)
        : S_(session), Options_(options) {}

    IJobInterface& Ui() override { return S_.Ui_; }
    const TDrawsArray& Draws() const override { return S_.Draws_; }

    bool AppendDraws(const std::vector<TDrawRecord>& draws) override {
        TDrawsArray before = S_.Draws_;
        S_.Draws_.insert(S_.Draws_.end(), draws.begin(), draws.end());
        return S_.CommitDraws(std::move(before));
    }

    std::optional<THttpProxy> ChosenProxy() override {
        const TProxy& p = S_.Proxy_;
        if (p.Mode == 2 && !Trim(p.Server).empty())
            return THttpProxy{Trim(p.Server), p.Port, p.UserName, p.Password};
        // Without a proxy search of its own the automatic mode goes direct once the
        // found list is empty.
        if (p.Mode == 1 && !p.Found.empty())
            return FoundProxy(p.Found.front());
        return std::nullopt;
    }

    bool DropChosenProxy() override {
        TProxy& p = S_.Proxy_;
        if (p.Mode != 1 || p.Found.empty())
            return false;
        p.Found.erase(p.Found.begin());
        return !p.Found.empty();
    }

    void StoreProxy() override {
        if (!S_.Proxy_.Loaded)
            S_.WriteProxySettings();
    }

    void Log(const std::string& line) override {
        if (Options_.Log)
            Options_.Log(line);
    }

private:
    // "host:port", or a host alone on port 80.
    static THttpProxy FoundProxy(const std::string& text) {
        THttpProxy proxy;
        const std::size_t colon = text.rfind(':');
        int32_t port = 0;
        if (colon != std::string::npos && TryParseInt(text.substr(colon + 1), port) && port > 0 &&
            port < 65536) {
            proxy.Host = text.substr(0, colon);
            proxy.Port = port;
        } else {
            proxy.Host = text;
        }
        return proxy;
    }

    Session& S_;
    const TDownloadOptions& Options_;
};

TDownloadReport Session::DownloadDraws(const TDownloadOptions& options) {
    TDownloadReport report;
    report.Failed = true;
    if (!CheckDrawsWritable())
        return report;
    std::string site;
    try {
        site = CheckSiteUrl(options.SiteUrl.empty() ? Downloader_.Settings().SiteUrl : options.SiteUrl,
                            DataPath(MainSettingsFileName));
    } catch (const std::exception& e) {
        Ui_.ShowError(e.what());
        return report;
    }
    {
        TBusyScope busy(*this, DownloadWaitText);
        // The wait window carries the Stop that the downloader polls between pages.
        Ui_.SetProgress(0, IUserInterface::WaitTotal);
        TSessionDownloadHost host(*this, options);
        try {
            report = Downloader_.DownloadDraws(host, site, options.MaxRetries);
        } catch (const std::exception& e) {
            report.Failed = true;
            ShowOperationError("Ошибка загрузки архива тиражей с сайта!\r\r%s", e);
        }
        // Closed before the stakes check: a Stop pressed for the download is not its Stop.
        Ui_.SetProgress(0, 0);
        Proxy_.Found.clear();
        if (report.Added > 0 && Stakes_.IsOpen())
            StakesCheck();
    }
    if (!report.Skipped.empty() && !options.Log) {
        std::string lines;
        for (std::size_t i = 0; i < report.Skipped.size() && i < ListedSkips; ++i)
            lines += "\r" + report.Skipped[i];
        if (report.Skipped.size() > ListedSkips)
            lines += "\r...";
        Ui_.ShowWarning(Format("При загрузке пропущены тиражи с некорректными данными (%zu):\r%s",
                               report.Skipped.size(), lines.c_str()));
    }
    return report;
}

bool Session::WriteProxySettings() {
    try {
        TBusyScope busy(*this, "Сохранение файла конфигурации...");
        const std::filesystem::path path = DataPath(MainSettingsFileName);
        TIniFile ini = TIniFile::Load(path);
        WriteProxyGroup(ini, Proxy_);
        ini.Save(path);
        Proxy_.Loaded = true;
        return true;
    } catch (const std::exception& e) {
        ShowOperationError("Ошибка записи в файл конфигурации!\r\r%s", e);
        return false;
    }
}

bool Session::ProxySave(const TProxy& proxy) {
    Proxy_.Mode = proxy.Mode <= 2 ? proxy.Mode : 0;
    Proxy_.Server = proxy.Mode == 1 ? std::string() : proxy.Server;
    Proxy_.Port = proxy.Mode == 1 ? 80 : proxy.Port;
    Proxy_.UserName = proxy.Mode == 1 ? std::string() : proxy.UserName;
    Proxy_.Password = proxy.Mode == 1 ? std::string() : proxy.Password;
    Proxy_.Found.clear();
    Proxy_.Loaded = false;
    return WriteProxySettings();
}

} // namespace kumby
