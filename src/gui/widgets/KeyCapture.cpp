// Hands the events of a key capture field to its page.
#include "widgets/KeyCapture.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace tavrik {

namespace {

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

} // namespace tavrik
