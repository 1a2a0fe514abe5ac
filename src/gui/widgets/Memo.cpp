// Builds memos and their select-all key.
#include "widgets/Memo.h"

#include <QKeyEvent>
#include <QPlainTextEdit>

namespace tavrik {

namespace {

// Ctrl+A selects the whole text of a memo that has no key handler of its own.
class MemoSelectAll : public QObject {
  public:
    explicit MemoSelectAll(QPlainTextEdit* memo) : QObject(memo), Memo(memo) { memo->installEventFilter(this); }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_A || (key->modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier) return false;
        Memo->selectAll();
        return true;
    }

  private:
    QPlainTextEdit* Memo;
};

} // namespace

QPlainTextEdit* CreateMemo(QWidget* parent, const QString& name) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(name);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return memo;
}

void GiveMemosSelectAll(QWidget* root) {
    for (QPlainTextEdit* memo : root->findChildren<QPlainTextEdit*>())
        if (!memo->property("hasKeyHandler").toBool()) {
            memo->setProperty("hasKeyHandler", true);
            new MemoSelectAll(memo);
        }
}

} // namespace tavrik
