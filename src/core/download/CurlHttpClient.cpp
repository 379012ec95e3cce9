// The libcurl client: one easy handle for the life of the client, so that its
// cookies carry over to the next request, driven through a multi handle so that
// the wait is cut into short slices for the window and Stop.

#include "download/HttpClient.h"

#include "model/VexoUtils.h"

#include <curl/curl.h>

#include <chrono>
#include <mutex>

namespace kumby {

namespace {

using TClock = std::chrono::steady_clock;

// How long one wait for the socket lasts before the window gets its turn.
constexpr int PollSliceMs = 50;

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
            throw Error("Не удалось инициализировать библиотеку libcurl");
    });
}

struct TTransfer {
    std::string Body;
    std::size_t MaxBodyBytes = 0;
    bool TooLarge = false;
    TClock::time_point LastActivity;
    bool Connected = false;
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<TTransfer*>(user);
    const std::size_t bytes = size * count;
    t->LastActivity = TClock::now();
    if (t->Body.size() + bytes > t->MaxBodyBytes) {
        t->TooLarge = true;
        return 0;
    }
    t->Body.append(data, bytes);
    return bytes;
}

// The connection stands and the request goes out: the read time-out starts here.
int OnConnected(void* user, char*, char*, int, int) {
    auto* t = static_cast<TTransfer*>(user);
    t->Connected = true;
    t->LastActivity = TClock::now();
    return CURL_PREREQFUNC_OK;
}

std::size_t OnHeader(char*, std::size_t size, std::size_t count, void* user) {
    static_cast<TTransfer*>(user)->LastActivity = TClock::now();
    return size * count;
}

class TCurlHttpClient : public IHttpClient {
public:
    TCurlHttpClient() {
        InitCurlOnce();
        Easy_ = curl_easy_init();
        Multi_ = curl_multi_init();
        if (!Easy_ || !Multi_) {
            Cleanup();
            throw Error("Не удалось инициализировать библиотеку libcurl");
        }
    }
    ~TCurlHttpClient() override { Cleanup(); }
    TCurlHttpClient(const TCurlHttpClient&) = delete;
    TCurlHttpClient& operator=(const TCurlHttpClient&) = delete;

    std::string Get(const THttpRequest& request, const std::function<bool()>& idle) override {
        TTransfer transfer;
        transfer.MaxBodyBytes = request.MaxBodyBytes;
        char errorText[CURL_ERROR_SIZE] = {};
        curl_slist* headers = nullptr;
        for (const auto& [name, value] : request.Headers)
            headers = curl_slist_append(headers, (name + ": " + value).c_str());

        // Resetting keeps the cookies of the handle.
        curl_easy_reset(Easy_);
        curl_easy_setopt(Easy_, CURLOPT_URL, request.Url.c_str());
        curl_easy_setopt(Easy_, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(Easy_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(Easy_, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(Easy_, CURLOPT_MAXREDIRS, 10L);
        // The cookie engine, once: it outlives the reset, and this libcurl keeps
        // (and never frees) the file name of every call.
        if (!CookiesOn_) {
            curl_easy_setopt(Easy_, CURLOPT_COOKIEFILE, "");
            CookiesOn_ = true;
        }
        // Empty: every encoding this libcurl can decode, and no other.
        curl_easy_setopt(Easy_, CURLOPT_ACCEPT_ENCODING, "");
        curl_easy_setopt(Easy_, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(request.ConnectTimeoutMs));
        curl_easy_setopt(Easy_, CURLOPT_FORBID_REUSE, 1L);
        curl_easy_setopt(Easy_, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(Easy_, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(Easy_, CURLOPT_ERRORBUFFER, errorText);
        curl_easy_setopt(Easy_, CURLOPT_WRITEFUNCTION, OnBody);
        curl_easy_setopt(Easy_, CURLOPT_WRITEDATA, &transfer);
        curl_easy_setopt(Easy_, CURLOPT_HEADERFUNCTION, OnHeader);
        curl_easy_setopt(Easy_, CURLOPT_HEADERDATA, &transfer);
        curl_easy_setopt(Easy_, CURLOPT_PREREQFUNCTION, OnConnected);
        curl_easy_setopt(Easy_, CURLOPT_PREREQDATA, &transfer);
        if (request.Proxy) {
            curl_easy_setopt(Easy_, CURLOPT_PROXY, request.Proxy->Host.c_str());
            curl_easy_setopt(Easy_, CURLOPT_PROXYPORT, static_cast<long>(request.Proxy->Port));
            if (!request.Proxy->UserName.empty()) {
                curl_easy_setopt(Easy_, CURLOPT_PROXYUSERNAME, request.Proxy->UserName.c_str());
                curl_easy_setopt(Easy_, CURLOPT_PROXYPASSWORD, request.Proxy->Password.c_str());
            }
        } else {
            // Not even a proxy named by the environment.
            curl_easy_setopt(Easy_, CURLOPT_PROXY, "");
        }

        curl_multi_add_handle(Multi_, Easy_);
        transfer.LastActivity = TClock::now();
        CURLcode result = CURLE_OK;
        bool timedOut = false;
        bool stopped = false;
        for (;;) {
            int running = 0;
            curl_multi_perform(Multi_, &running);
            int queued = 0;
            bool done = false;
            while (CURLMsg* msg = curl_multi_info_read(Multi_, &queued))
                if (msg->msg == CURLMSG_DONE && msg->easy_handle == Easy_) {
                    result = msg->data.result;
                    done = true;
                }
            if (done || running == 0)
                break;
            if (idle && !idle()) {
                stopped = true;
                break;
            }
            // Until the connection stands, libcurl's connect time-out rules.
            if (transfer.Connected &&
                TClock::now() - transfer.LastActivity > std::chrono::milliseconds(request.ReadTimeoutMs)) {
                timedOut = true;
                break;
            }
            curl_multi_poll(Multi_, nullptr, 0, PollSliceMs, nullptr);
        }
        long status = 0;
        curl_easy_getinfo(Easy_, CURLINFO_RESPONSE_CODE, &status);
        curl_multi_remove_handle(Multi_, Easy_);
        curl_easy_setopt(Easy_, CURLOPT_HTTPHEADER, nullptr);
        curl_slist_free_all(headers);

        if (stopped)
            throw DownloadStopped();
        if (timedOut)
            throw Error(Format("Превышено время ожидания ответа сервера (%d мс): %s", request.ReadTimeoutMs,
                               request.Url.c_str()));
        if (transfer.TooLarge)
            throw Error(
                Format("Ответ сервера длиннее %zu байт: %s", request.MaxBodyBytes, request.Url.c_str()));
        if (result != CURLE_OK)
            throw Error(
                Format("%s: %s", errorText[0] ? errorText : curl_easy_strerror(result), request.Url.c_str()));
        if (status >= 400)
            throw Error(Format("Сервер ответил кодом HTTP %ld: %s", status, request.Url.c_str()));
        return std::move(transfer.Body);
    }

private:
    void Cleanup() {
        if (Multi_)
            curl_multi_cleanup(Multi_);
        if (Easy_)
            curl_easy_cleanup(Easy_);
        Multi_ = nullptr;
        Easy_ = nullptr;
    }

    CURL* Easy_ = nullptr;
    CURLM* Multi_ = nullptr;
    bool CookiesOn_ = false;
};

} // namespace

std::unique_ptr<IHttpClient> MakeCurlHttpClient() {
    return std::make_unique<TCurlHttpClient>();
}

} // namespace kumby
