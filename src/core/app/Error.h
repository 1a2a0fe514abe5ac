// The one exception type of the core: failures the user is told about in an error dialog.
#pragma once

#include <stdexcept>
#include <string>

namespace tavrik {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace tavrik
