// The ripper view's keyboard and mouse: the key capture field that receives the view's keys and the
// tile read-out.
#include "ripper/RipperPage.h"

#include "platform/HandlerGuard.h"
#include "ripper/TileSheet.h"
#include "widgets/ImageView.h"
#include "widgets/KeyCapture.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <array>

namespace tavrik {

bool RipperPage::eventFilter(QObject* watched, QEvent* event) {
    // The start zoom waits until the window has given the view its size (a maximised window may get it late).
    // It looks once the events of the resize have run: the first resize a view sees when the window is shown
    // carries the size of an earlier layout, not the one the window is shown at.
    if (watched == ImgView32Extract->viewport() && event->type() == QEvent::Resize && StartZoomPending &&
        ImgView32Extract->isVisible())
        QTimer::singleShot(0, this, [this] {
            if (StartZoomPending) RunHandler(UserDialogs(), [this] { ApplyStartZoom(); });
        });
    if (watched == ImgView32Extract->viewport() && event->type() == QEvent::Leave) PointerPixel.reset();
    return false;
}

// Entering the field reads the parameters and shows that the view takes the keys; every key goes to the ripper.
void RipperPage::CaptureViewKeys() {
    CaptureKeys(EditGfxKeyCapture, {[this](bool entered) {
                                        LabelGfxMapActive->setVisible(entered);
                                        if (entered) RunHandler(UserDialogs(), [this] { ReadRipParameters(); });
                                    },
                                    [this](const QKeyEvent& key) {
                                        RunHandler(UserDialogs(), [&] { RipperKeyDown(TranslateViewKey(key)); });
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
    PointerPixel = pixel;
    if (const auto tile = TileUnderPointer(pixel.x(), pixel.y(), Work().Ripper, ShownGridThickness()))
        Services.Status(1, QString::fromStdString(TileReadoutText(*tile)));
}

void RipperPage::PointerPressed(QPoint pixel) {
    EditGfxKeyCapture->setFocus(Qt::MouseFocusReason);
    if (const auto tile = TileUnderPointer(pixel.x(), pixel.y(), Work().Ripper, ShownGridThickness()))
        Services.Status(2, QString::fromStdString(LastTileText(*tile)));
}

} // namespace tavrik
