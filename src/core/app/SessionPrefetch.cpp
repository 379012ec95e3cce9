// Full-set distribution files of the session's methods.

#include "app/Session.h"

namespace kumby {

std::filesystem::path Session::PrefetchFileName(std::size_t method) const {
    return PrefetchFilePath(DataDir(), Registry_.Items(method).MethodCode());
}

bool Session::CreatePrefetchFile(std::size_t /*method*/) {
    return false;
}

std::optional<TPrefetchData> Session::OpenPrefetchFile(std::size_t /*method*/) {
    return std::nullopt;
}

int Session::CreatePrefetchFiles(bool /*force*/, const std::vector<int>& /*groups*/) {
    return 0;
}

void Session::SetPrefetchsEnabled(bool on) {
    View_.PrefetchsEnabled = on;
    WriteViewSwitch("PrefetchsEnabled");
}

} // namespace kumby
