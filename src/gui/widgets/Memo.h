// The program's memos: no word wrap, both scroll bars, and Ctrl+A selecting the whole text.
#pragma once

#include <QString>

class QPlainTextEdit;
class QWidget;

namespace tavrik {

QPlainTextEdit* CreateMemo(QWidget* parent, const QString& name);

// Gives every memo below root that has no key handler of its own the Ctrl+A select-all handler.
void GiveMemosSelectAll(QWidget* root);

} // namespace tavrik
