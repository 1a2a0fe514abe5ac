// The help: an HTML help folder "TavrikHelp" (one page per topic, "<topic>.html", and "index.html")
// opened in the desktop browser.
#pragma once

#include "platform/DesktopServices.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tavrik {

inline constexpr const char* HelpFolderName = "TavrikHelp";

class HelpViewer {
  public:
    virtual ~HelpViewer() = default;
    // Whether help can be shown at all on this desktop.
    virtual bool Available() const = 0;
    // Opens the help folder at a numbered topic.
    virtual void ShowTopic(const std::string& helpFolder, int32_t context) = 0;
};

// The help folder in the current folder, or in "!Help" there, or the same two beside the program.
std::optional<std::string> FindHelpFolder(const std::string& programFolder);

// The page of a topic: "<context>.html" when the folder has it, else the folder's "index.html".
std::string HelpTopicPage(const std::string& helpFolder, int32_t context);

// Shows help pages in the desktop's browser; available when the desktop has a URL opener.
class BrowserHelpViewer : public HelpViewer {
  public:
    explicit BrowserHelpViewer(DesktopServices& desktop) : Desktop(desktop) {}
    bool Available() const override;
    void ShowTopic(const std::string& helpFolder, int32_t context) override;

  private:
    DesktopServices& Desktop;
};

} // namespace tavrik
