// What the desktop does for the program: opening a file with its associated application, starting a program.
#pragma once

#include <string>

namespace tavrik {

class DesktopServices {
  public:
    virtual ~DesktopServices() = default;
    // Opens the file (or a URL) with the application the desktop associates with it; false on failure.
    virtual bool OpenDocument(const std::string& pathOrUrl) = 0;
    // Starts a program without parameters; false on failure.
    virtual bool StartProgram(const std::string& path) = 0;
};

class QtDesktopServices : public DesktopServices {
  public:
    bool OpenDocument(const std::string& pathOrUrl) override;
    bool StartProgram(const std::string& path) override;
};

} // namespace tavrik
