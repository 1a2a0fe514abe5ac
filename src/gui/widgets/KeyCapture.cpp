// Hands the events of a key capture field to its page.
#include "widgets/KeyCapture.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <array>
#include <optional>

namespace tavrik {

namespace {

// X11 key codes of the digit row "1" to "9" and "0", where every layout keeps its digits.
constexpr quint32 XcbDigitRowFirst = 10;
constexpr quint32 XcbDigitRowLast = 19;

int DigitRowKey(const QKeyEvent& event) {
    if (QGuiApplication::platformName() != "xcb") return -1;
    const quint32 code = event.nativeScanCode();
    if (code < XcbDigitRowFirst || code > XcbDigitRowLast) return -1;
    return static_cast<int>((code - XcbDigitRowFirst + 1) % 10);
}

// Shift and the digits 0 to 9 on a US keyboard.
constexpr std::array<int, 10> UsShiftedDigits{
    Qt::Key_ParenRight, Qt::Key_Exclam,      Qt::Key_At,        Qt::Key_NumberSign, Qt::Key_Dollar,
    Qt::Key_Percent,    Qt::Key_AsciiCircum, Qt::Key_Ampersand, Qt::Key_Asterisk,   Qt::Key_ParenLeft};

std::optional<KeyCode> KeypadKey(int key) {
    switch (key) {
    case Qt::Key_2: return KeyCode::Numpad2;
    case Qt::Key_4: return KeyCode::Numpad4;
    case Qt::Key_6: return KeyCode::Numpad6;
    case Qt::Key_8: return KeyCode::Numpad8;
    default: return std::nullopt;
    }
}

std::optional<KeyCode> NavigationKey(int key) {
    switch (key) {
    case Qt::Key_Left: return KeyCode::Left;
    case Qt::Key_Right: return KeyCode::Right;
    case Qt::Key_Up: return KeyCode::Up;
    case Qt::Key_Down: return KeyCode::Down;
    case Qt::Key_PageUp: return KeyCode::PageUp;
    case Qt::Key_PageDown: return KeyCode::PageDown;
    default: return std::nullopt;
    }
}

class KeyCaptureFilter : public QObject {
  public:
    KeyCaptureFilter(QLineEdit* field, KeyCaptureHandlers handlers)
        : QObject(field), Field(field), Handlers(std::move(handlers)) {
        field->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut: Handlers.FocusChanged(event->type() == QEvent::FocusIn); return false;
        case QEvent::KeyPress: {
            const auto& key = static_cast<const QKeyEvent&>(*event);
            if (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) return false;
            Handlers.KeyDown(key);
            Field->clear();
            return true;
        }
        default: return false;
        }
    }

  private:
    QLineEdit* Field;
    KeyCaptureHandlers Handlers;
};

} // namespace

void CaptureKeys(QLineEdit* field, KeyCaptureHandlers handlers) { new KeyCaptureFilter(field, std::move(handlers)); }

KeyPress TranslateViewKey(const QKeyEvent& event) {
    const int key = event.key();
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const int digitRowKey = DigitRowKey(event);
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        if (const auto code = KeypadKey(key)) return KeyPress::Of(*code, shift, ctrl);
        if (const auto code = NavigationKey(key)) return KeyPress::Of(*code, shift, ctrl);
        return KeyPress{};
    }
    if (const auto code = NavigationKey(key)) return KeyPress::Of(*code, shift, ctrl);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return KeyPress::OfLetter(static_cast<char>('A' + (key - Qt::Key_A)), shift, ctrl);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return KeyPress::OfDigit(key - Qt::Key_0, shift, ctrl);
    if (digitRowKey >= 0 && digitRowKey <= 9) return KeyPress::OfDigit(digitRowKey, shift, ctrl);
    if (shift) {
        const auto found = std::find(UsShiftedDigits.begin(), UsShiftedDigits.end(), key);
        if (found != UsShiftedDigits.end())
            return KeyPress::OfDigit(static_cast<int>(found - UsShiftedDigits.begin()), shift, ctrl);
    }
    return KeyPress{};
}

} // namespace tavrik
