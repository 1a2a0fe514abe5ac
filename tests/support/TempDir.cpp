// Temporary test folders under the system's temp folder.
#include "support/TempDir.h"

#include <cstdlib>
#include <stdexcept>

namespace tavrik::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrik-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
    Folder = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(Folder, ignored);
}

} // namespace tavrik::test
