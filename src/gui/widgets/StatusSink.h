// Where a page writes its read-outs: a panel of the window's status bar, by number.
#pragma once

#include <QString>

#include <functional>

namespace tavrik {

using StatusSink = std::function<void(int panel, const QString& text)>;

} // namespace tavrik
