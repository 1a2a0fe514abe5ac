// The ripper view's keyboard and mouse: the key capture field that receives the view's keys, the
// translation of Qt keys for the core's key logic and the tile read-out.
#include "ripper/RipperPage.h"

#include "platform/HandlerGuard.h"
#include "ripper/TileSheet.h"
#include "widgets/ImageView.h"
#include "widgets/KeyCapture.h"

#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <array>

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

} // namespace

KeyPress TranslateRipperKey(int key, Qt::KeyboardModifiers modifiers, int digitRowKey) {
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

bool RipperPage::eventFilter(QObject* watched, QEvent* event) {
    // The start zoom waits until the window has given the view its size (a maximised window may get it late).
    if (watched == ImgView32Extract->viewport() && event->type() == QEvent::Resize && StartZoomPending &&
        ImgView32Extract->isVisible())
        RunHandler(UserDialogs(), [this] { ApplyStartZoom(); });
    return false;
}

// Entering the field reads the parameters and shows that the view takes the keys; every key goes to the ripper.
void RipperPage::CaptureViewKeys() {
    CaptureKeys(EditGfxKeyCapture,
                {[this](bool entered) {
                     LabelGfxMapActive->setVisible(entered);
                     if (entered) RunHandler(UserDialogs(), [this] { ReadRipParameters(); });
                 },
                 [this](const QKeyEvent& key) {
                     RunHandler(UserDialogs(), [&] {
                         RipperKeyDown(TranslateRipperKey(key.key(), key.modifiers(), DigitRowKey(key)));
                     });
                 }});
}

void RipperPage::RipperKeyDown(const KeyPress& key) {
    RipControls controls = ReadControls();
    const RipperKeyResult result = tavrik::RipperKeyDown(key, Keys, controls, Work().Ripper, Work().Addresses());
    WriteControls(controls);
    if (result.BitplaneOrderLabel) LabelBitplaneOrder->setText(QString::fromStdString(*result.BitplaneOrderLabel));
    switch (result.Action) {
    case RipperKeyAction::Nothing: break;
    case RipperKeyAction::Rip: ButtonGfxRipClick(); break;
    case RipperKeyAction::RipIgnoringErrors: try { ButtonGfxRipClick();
        } catch (const std::exception&) {
        }
        break;
    case RipperKeyAction::ModeChangedThenRip:
        ModeChanged();
        ButtonGfxRipClick();
        break;
    case RipperKeyAction::CopperlistAction:
        // The key read the parameters before it moved the stop line; the walk must see the new line.
        ReadRipParameters();
        CopperlistAction();
        break;
    case RipperKeyAction::ToggleScaleMode: {
        StartZoomPending = false;
        const QSignalBlocker blocker(ComboBoxGfxScaleMode);
        ComboBoxGfxScaleMode->setCurrentIndex(1 - ComboBoxGfxScaleMode->currentIndex());
    }
        ScaleModeChanged();
        break;
    }
}

// The thickness of the grid lines in the image the view shows (0 when it shows the plain sheet).
int32_t RipperPage::ShownGridThickness() const {
    const Workspace& ws = Work();
    const RipParameters& parameters = ws.Ripper.Parameters;
    const bool grid =
        ShowsGrid(ws.TileSheet, ws.Grid.GridEnabled, parameters.ActualTileWidth, parameters.ActualTileHeight);
    return grid ? ws.Grid.GridThickness : 0;
}

void RipperPage::PointerMoved(QPoint pixel) {
    if (const auto tile = TileUnderPointer(pixel.x(), pixel.y(), Work().Ripper, ShownGridThickness()))
        Services.Status(1, QString::fromStdString(TileReadoutText(*tile)));
}

void RipperPage::PointerPressed(QPoint pixel) {
    EditGfxKeyCapture->setFocus(Qt::MouseFocusReason);
    if (const auto tile = TileUnderPointer(pixel.x(), pixel.y(), Work().Ripper, ShownGridThickness()))
        Services.Status(2, QString::fromStdString(LastTileText(*tile)));
}

} // namespace tavrik
