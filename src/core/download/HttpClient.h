#pragma once

// The HTTP client of the draw download, behind an interface so that the download
// can be driven by a fake in tests.

#include "model/Error.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kumby {

struct THttpProxy {
    std::string Host;
    int Port = 80;
    std::string UserName; // empty: no authentication
    std::string Password;
};

struct THttpRequest {
    std::string Url; // http:// or https://
    int ConnectTimeoutMs = 5000;
    // The longest wait for the next bytes of the answer.
    int ReadTimeoutMs = 10000;
    // None: a direct connection (proxies of the environment are not used either).
    std::optional<THttpProxy> Proxy;
    std::vector<std::pair<std::string, std::string>> Headers;
    // A longer body is refused: a page of the site is far smaller.
    std::size_t MaxBodyBytes = 64u << 20;
};

// Raised when the idle callback asked to stop.
class DownloadStopped : public Error {
public:
    DownloadStopped() : Error("Загрузка прервана") {}
};

class IHttpClient {
public:
    virtual ~IHttpClient() = default;
    // The body of a GET, decompressed; redirects are followed and cookies kept for later
    // requests. Raises Error on any network or HTTP error. `idle` runs while waiting;
    // when it returns false the request ends with DownloadStopped.
    virtual std::string Get(const THttpRequest& request, const std::function<bool()>& idle) = 0;
};

// The libcurl client.
std::unique_ptr<IHttpClient> MakeCurlHttpClient();

} // namespace kumby
