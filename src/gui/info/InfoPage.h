// The "Info" tab: the save-state report (MemoInfo) and the copper list listing (MemoCopperlist).
#pragma once

#include <QObject>
#include <QPlainTextEdit>
#include <QWidget>

#include <string>
#include <vector>

namespace tavrik {

class InfoTab : public QObject {
    Q_OBJECT
  public:
    explicit InfoTab(QWidget* page);

    QPlainTextEdit* MemoInfo() const { return Info; }
    QPlainTextEdit* MemoCopperlist() const { return Copperlist; }

    void ClearInfo();
    void SetInfoLines(const std::vector<std::string>& lines);

  private:
    QPlainTextEdit* Info;
    QPlainTextEdit* Copperlist;
};

// A memo as the program's memos are: no word wrap and both scroll bars.
QPlainTextEdit* CreateMemo(QWidget* parent, const char* name);

} // namespace tavrik
