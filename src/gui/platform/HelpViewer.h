// The help: Markdown pages built into the program, where each numbered help context of a control leads,
// and the viewer the window asks to show a page.
#pragma once

#include <cstdint>
#include <string>

namespace tavrik {

// A place in the help: a page (a file name such as "map-ripper.md") and an anchor on it, the slug of
// one of its headings; an empty anchor is the top of the page.
struct HelpTopic {
    std::string Page;
    std::string Anchor;
    bool operator==(const HelpTopic&) const = default;
};

inline constexpr const char* HelpContentsPage = "README.md";
inline constexpr const char* ChangeLogPage = "CHANGELOG.md";

// The paragraph that explains the controls of a help context; the contents page for an unknown one.
HelpTopic TopicOfHelpContext(int32_t context);

// The anchor a heading gets: lower case, letters, digits, "-" and "_" kept, spaces made "-", the rest
// dropped; so links into a page work alike in the program and where the repository is shown.
std::string HeadingAnchor(const std::string& heading);

class HelpViewer {
  public:
    virtual ~HelpViewer() = default;
    // Whether help can be shown at all on this desktop.
    virtual bool Available() const = 0;
    // Shows the page with the anchor's heading in view; false when the page cannot be loaded.
    virtual bool ShowTopic(const HelpTopic& topic) = 0;
};

} // namespace tavrik
