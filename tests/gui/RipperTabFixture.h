// A shown main window with its "Tile Ripper" tab, and the memory files and pointer events its tests use.
#pragma once

#include "FormFixture.h"
#include "ripper/RipperPage.h"
#include "widgets/ImageView.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include <cstdint>
#include <string>
#include <vector>

namespace tavrik::test {

class RipperFixture : public FormFixture {
  public:
    explicit RipperFixture(QSize windowSize = QSize(1100, 760)) {
        Create();
        Form->setWindowState(Qt::WindowNoState);
        Form->resize(windowSize);
        Form->show();
        Exposed = QTest::qWaitForWindowExposed(Form.get());
        Form->activateWindow();
        Active = QTest::qWaitForWindowActive(Form.get());
        Tab = &Form->Ripper();
    }

    bool Exposed = false;
    bool Active = false;
    RipperPage* Tab = nullptr;

    TForm1& Window() const { return *Form; }
    Workspace& Work() const { return Form->Work(); }
    const QImage& Shown() const { return Tab->View().Picture(); }

    QString Text(const char* name) const { return Find<QLineEdit>(name)->text(); }
    void SetText(const char* name, const QString& text) const { Find<QLineEdit>(name)->setText(text); }
    void Click(const char* name) const { QTest::mouseClick(Find<QWidget>(name), Qt::LeftButton); }
    void Trigger(const char* name) const { Find<QAction>(name)->trigger(); }

    // Opens a file of the fixture's folder as "Open..." would route it.
    std::string Open(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string path = WriteTestFile(*this, name, bytes);
        Form->OpenChosenFile(path);
        return path;
    }

    // A pointer event over the view at the middle of picture pixel (x, y).
    void SendPointer(QEvent::Type type, QPoint pixel, Qt::MouseButton button = Qt::NoButton) const {
        QWidget* viewport = Tab->View().viewport();
        const QPointF at(Tab->View().PictureToViewport(pixel).center());
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
        QMouseEvent event(type, at, viewport->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }

    // Gives the key capture field the focus the way the user does: a click on the view.
    bool FocusKeyField() const {
        SendPointer(QEvent::MouseButtonPress, QPoint(1, 1), Qt::LeftButton);
        return Find<QLineEdit>("EditGfxKeyCapture")->hasFocus();
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QTest::keyClick(Find<QLineEdit>("EditGfxKeyCapture"), static_cast<Qt::Key>(key), modifiers);
    }
};

// Memory whose bytes are all zero except the ones given as (offset, value).
inline std::vector<uint8_t> MemoryWith(size_t size, std::initializer_list<std::pair<size_t, uint8_t>> bytes) {
    std::vector<uint8_t> memory(size, 0);
    for (const auto& [offset, value] : bytes)
        memory.at(offset) = value;
    return memory;
}

} // namespace tavrik::test
