// Where the help contexts lead, and the anchors of headings.
#include "platform/HelpViewer.h"

#include <array>
#include <cctype>
#include <utility>

namespace tavrik {

namespace {

struct ContextTopic {
    int32_t Context;
    HelpTopic Topic;
};

const std::array<ContextTopic, 10>& ContextTopics() {
    static const std::array<ContextTopic, 10> topics{{
        {1000, {"tile-ripper.md", "bitplanes-and-mode"}},
        {1001, {"tile-ripper.md", "mask-planes"}},
        {1002, {"tile-ripper.md", "modes"}},
        {1003, {"palettes.md", "ecs-aga-and-copperlist"}},
        {2000, {"map-ripper.md", ""}},
        {2001, {"map-ripper.md", "mask"}},
        {2002, {"map-ripper.md", "shift"}},
        {2003, {"map-ripper.md", "replacement-tiles"}},
        {2004, {"map-ripper.md", "flips"}},
        {2005, {"map-ripper.md", "game-rules"}},
    }};
    return topics;
}

} // namespace

HelpTopic TopicOfHelpContext(int32_t context) {
    for (const ContextTopic& entry : ContextTopics())
        if (entry.Context == context) return entry.Topic;
    return {HelpContentsPage, ""};
}

std::string HeadingAnchor(const std::string& heading) {
    std::string anchor;
    for (const char c : heading) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '_')
            anchor += static_cast<char>(std::tolower(byte));
        else if (c == ' ')
            anchor += '-';
    }
    return anchor;
}

} // namespace tavrik
