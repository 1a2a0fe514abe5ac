// The key capture field of an image view: entering it, leaving it and every key pressed in it go to the
// page's handlers, and nothing typed stays in it. Tab and Shift+Tab still move the focus on. Also the
// translation of the view's keys for the core.
#pragma once

#include "ripper/RipperKeys.h"

#include <functional>

class QKeyEvent;
class QLineEdit;

namespace tavrik {

struct KeyCaptureHandlers {
    std::function<void(bool entered)> FocusChanged;
    std::function<void(const QKeyEvent& key)> KeyDown;
};

void CaptureKeys(QLineEdit* field, KeyCaptureHandlers handlers);

// A key of an image view for the core's key logic: letters, digits (also shifted, by their key on the
// digit row), arrows, page keys and the numeric keypad; anything else is no key.
KeyPress TranslateViewKey(const QKeyEvent& event);

} // namespace tavrik
