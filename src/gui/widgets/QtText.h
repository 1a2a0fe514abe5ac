// Text between the core and the widgets: the core keeps UTF-8 std::string, Qt keeps QString.
#pragma once

#include <QString>
#include <QStringList>

#include <array>

#include <string>
#include <string_view>

namespace tavrik {

inline QString QText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A list of the core's item texts, as a combo box takes them.
template <size_t N> QStringList QTexts(const std::array<std::string_view, N>& texts) {
    QStringList list;
    for (const std::string_view text : texts)
        list << QText(text);
    return list;
}

inline std::string StdText(const QString& text) { return text.toStdString(); }

} // namespace tavrik
