// The help window: the built-in Markdown pages with their contents, a search field, back and forward.
#pragma once

#include "platform/HelpViewer.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;
class QToolButton;

namespace tavrik {

class HelpWindow : public QWidget, public HelpViewer {
    Q_OBJECT
  public:
    // The pages lie under pageRoot, a resource folder ending in "/".
    explicit HelpWindow(const QString& pageRoot = ":/help/", QWidget* parent = nullptr);

    bool Available() const override;
    bool ShowTopic(const HelpTopic& topic) override;

    // The contents page first, then the pages its lists link to, in their order.
    const QStringList& Pages() const { return PageNames; }
    QTextBrowser* Browser() const { return View; }

  private:
    void BuildControls();
    void ReadPages();
    void FillContents();
    void OpenContentsItem(int row);
    void SearchPages(const QString& text);
    void MarkCurrentPage();
    QString PageTitle(const QString& page) const;

    QString Root;
    QStringList PageNames;
    QMap<QString, QString> PageTexts;
    QToolButton* BackButton = nullptr;
    QToolButton* ForwardButton = nullptr;
    QLineEdit* SearchField = nullptr;
    QListWidget* Contents = nullptr;
    QTextBrowser* View = nullptr;
};

} // namespace tavrik
