// The "Map Ripper" tab's controls, the "Map 2" tab's own view and key field, and CloneMapTab, which
// builds the rest of the "Map 2" tab as copies of the first tab's controls.
#pragma once

#include "app/Dialogs.h"

#include <QObject>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>

namespace tavrik {

class TImgView32;

// Connects one control to its handlers. The same binder serves a first-tab control and its copy, so a
// copy gets the actions of the control it was copied from.
using ControlBinder = std::function<void(QWidget* control)>;
// Binders by the name of the "Map Ripper" tab's control.
using MapHandlerTable = std::map<QString, ControlBinder>;

// The controls that stay on the first tab only.
inline constexpr const char* MapControlsNotCloned[] = {"ImgView32Map", "EditMapKeyCapture", "ComboBoxMapTileSize",
                                                       "LabelMapTileSize"};

class MapTab : public QObject {
    Q_OBJECT
  public:
    // Builds the controls of the "Map Ripper" tab on mapPage and the view and key field of the
    // "Map 2" tab on map2Page; CloneMapTab fills in the rest of map2Page.
    MapTab(QWidget* mapPage, QWidget* map2Page, Dialogs& dialogs);

    QWidget* MapPage() const { return Page; }
    QWidget* Map2Page() const { return Page2; }
    // The view of map 1 or map 2.
    TImgView32* View(int mapNumber) const { return mapNumber == 2 ? View2 : View1; }

    MapHandlerTable& Handlers() { return HandlerTable; }
    const MapHandlerTable& Handlers() const { return HandlerTable; }

  private:
    void BuildMapControls();
    void BuildMap2Controls();
    void RegisterHandlers();
    void WireSourceControls() const;

    QWidget* Page;
    QWidget* Page2;
    TImgView32* View1 = nullptr;
    TImgView32* View2 = nullptr;
    Dialogs& UserDialogs;
    MapHandlerTable HandlerTable;
};

// For each control placed directly on source, in order, except MapControlsNotCloned: a control of the
// same class on target with the source's stored properties, named with every "Map" replaced by "Map2";
// with copyHandlers the copy is wired like its source. A failure for one control is reported and the
// copying goes on. New names must be unique among the children of owner (the main window).
void CloneMapTab(QWidget* source, QWidget* target, bool copyHandlers, const MapHandlerTable& handlers, Dialogs& dialogs,
                 QWidget* owner);

// Connects a control (of either tab) with the binder of the first tab's control sourceName, if there is one.
void WireControl(const MapHandlerTable& handlers, QWidget* control, const QString& sourceName);

// The copy's name: every "Map" becomes "Map2" (case-sensitive); an unchanged name is reported and gets "_".
QString CloneControlName(const QString& sourceName, Dialogs& dialogs);

} // namespace tavrik
