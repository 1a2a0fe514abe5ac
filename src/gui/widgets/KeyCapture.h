// The key capture field of an image view: entering it, leaving it and every key pressed in it go to the
// page's handlers, and nothing typed stays in it. Tab and Shift+Tab still move the focus on.
#pragma once

#include <functional>

class QKeyEvent;
class QLineEdit;

namespace tavrik {

struct KeyCaptureHandlers {
    std::function<void(bool entered)> FocusChanged;
    std::function<void(const QKeyEvent& key)> KeyDown;
};

void CaptureKeys(QLineEdit* field, KeyCaptureHandlers handlers);

} // namespace tavrik
