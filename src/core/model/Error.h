#pragma once

#include <stdexcept>
#include <string>

namespace kumby {

// The one exception type of the core. Its text is UTF-8 and is shown to the user
// after the operation's own message.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace kumby
