#pragma once

// A small HTTP server on 127.0.0.1 for the download tests: one connection at a time,
// each answered by the test's handler, which may also stall the answer.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace kumby::testing {

struct TSiteRequest {
    std::string Method;
    std::string Target;                         // as sent: a path, or a whole URL through a proxy
    std::map<std::string, std::string> Headers; // names in lower case
};

struct TSiteResponse {
    int Status = 200;
    std::vector<std::pair<std::string, std::string>> Headers;
    std::string Body;
    // Nothing is sent: the connection is held until the client gives up.
    bool Stall = false;
};

class TLocalSite {
public:
    using THandler = std::function<TSiteResponse(const TSiteRequest&)>;

    explicit TLocalSite(THandler handler) : Handler_(std::move(handler)) {
        Listen_ = ::socket(AF_INET, SOCK_STREAM, 0);
        if (Listen_ < 0)
            throw std::runtime_error("socket");
        const int yes = 1;
        ::setsockopt(Listen_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        socklen_t len = sizeof addr;
        if (::bind(Listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            ::listen(Listen_, 16) != 0 ||
            ::getsockname(Listen_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
            ::close(Listen_);
            throw std::runtime_error("bind");
        }
        Port_ = ntohs(addr.sin_port);
        Thread_ = std::thread([this] { Run(); });
    }
    ~TLocalSite() {
        Stop_ = true;
        Thread_.join();
        ::close(Listen_);
    }
    TLocalSite(const TLocalSite&) = delete;
    TLocalSite& operator=(const TLocalSite&) = delete;

    int Port() const { return Port_; }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(Port_); }
    std::vector<TSiteRequest> Requests() const {
        std::lock_guard lock(Mutex_);
        return Requests_;
    }

private:
    bool WaitReadable(int fd, int ms) const {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, ms) > 0;
    }

    void Run() {
        while (!Stop_) {
            if (!WaitReadable(Listen_, 20))
                continue;
            const int fd = ::accept(Listen_, nullptr, nullptr);
            if (fd < 0)
                continue;
            Serve(fd);
            ::close(fd);
        }
    }

    void Serve(int fd) {
        std::string head;
        char buf[4096];
        while (head.find("\r\n\r\n") == std::string::npos) {
            if (Stop_ || !WaitReadable(fd, 2000))
                return;
            const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n <= 0)
                return;
            head.append(buf, static_cast<std::size_t>(n));
        }
        TSiteRequest request;
        std::size_t lineEnd = head.find("\r\n");
        const std::string first = head.substr(0, lineEnd);
        const std::size_t sp1 = first.find(' ');
        const std::size_t sp2 = first.rfind(' ');
        request.Method = first.substr(0, sp1);
        request.Target = first.substr(sp1 + 1, sp2 - sp1 - 1);
        std::size_t pos = lineEnd + 2;
        while ((lineEnd = head.find("\r\n", pos)) != std::string::npos && lineEnd > pos) {
            const std::string line = head.substr(pos, lineEnd - pos);
            const std::size_t colon = line.find(':');
            std::string name = line.substr(0, colon);
            for (char& c : name)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            std::size_t v = colon + 1;
            while (v < line.size() && line[v] == ' ')
                ++v;
            request.Headers[name] = line.substr(v);
            pos = lineEnd + 2;
        }
        {
            std::lock_guard lock(Mutex_);
            Requests_.push_back(request);
        }
        const TSiteResponse response = Handler_(request);
        if (response.Stall) {
            // Until the client hangs up (or the server ends).
            while (!Stop_)
                if (WaitReadable(fd, 20) && ::recv(fd, buf, sizeof buf, 0) <= 0)
                    return;
            return;
        }
        std::string out = "HTTP/1.1 " + std::to_string(response.Status) + " X\r\n";
        for (const auto& [name, value] : response.Headers)
            out += name + ": " + value + "\r\n";
        out += "Content-Length: " + std::to_string(response.Body.size()) + "\r\nConnection: close\r\n\r\n";
        out += response.Body;
        std::size_t sent = 0;
        while (sent < out.size()) {
            const ssize_t n = ::send(fd, out.data() + sent, out.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                return;
            sent += static_cast<std::size_t>(n);
        }
    }

    THandler Handler_;
    int Listen_ = -1;
    int Port_ = 0;
    std::atomic<bool> Stop_{false};
    mutable std::mutex Mutex_;
    std::vector<TSiteRequest> Requests_;
    std::thread Thread_;
};

} // namespace kumby::testing
