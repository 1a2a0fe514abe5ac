// The "Info" tab: the save-state report (MemoInfo) and the copper list listing (MemoCopperlist).
#pragma once

#include <QWidget>

#include <string>
#include <vector>

class QPlainTextEdit;

namespace tavrik {

class InfoPage : public QWidget {
    Q_OBJECT
  public:
    explicit InfoPage(QWidget* parent = nullptr);

    QPlainTextEdit* MemoInfo() const { return Info; }
    QPlainTextEdit* MemoCopperlist() const { return Copperlist; }

    void ClearInfo();
    void SetInfoLines(const std::vector<std::string>& lines);
    void AddInfoLine(const QString& line);
    void ShowCopperList(const QString& listing);

  private:
    QPlainTextEdit* Info;
    QPlainTextEdit* Copperlist;
};

} // namespace tavrik
