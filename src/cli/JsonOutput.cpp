// Writing tavrik-cli's JSON documents.
#include "JsonOutput.h"

#include <iostream>

namespace tavrik::cli {

void PrintJson(const JsonObject& value) {
    std::cout << value.dump(-1, ' ', false, JsonObject::error_handler_t::replace) << "\n";
}

} // namespace tavrik::cli
