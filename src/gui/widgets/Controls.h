// Makers of the controls the pages hold: each gets its object name (the name the tests and the help
// contexts use), its caption or default text and its hint in one call.
#pragma once

#include "ripper/RipControls.h"

#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QWidget;

namespace tavrik {

// Names a control and gives it its hint (none for an empty one).
template <typename Control> Control* Named(Control* control, const QString& name, const char* hint = "") {
    control->setObjectName(name);
    if (*hint != '\0') control->setToolTip(QString::fromUtf8(hint));
    return control;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const char* text);
QLineEdit* MakeEdit(QWidget* parent, const QString& name, const char* text, const char* hint = "", int maxLength = 0);
// A drop-down list; an editable one keeps typed text out of its items.
QComboBox* MakeList(QWidget* parent, const QString& name, const QStringList& items, const char* hint = "",
                    bool editable = false);
QCheckBox* MakeCheck(QWidget* parent, const QString& name, const char* caption, const char* hint = "");
QPushButton* MakeButton(QWidget* parent, const QString& name, const char* caption);
// The narrow "..." button beside a file name field.
QPushButton* MakeEllipsisButton(QWidget* parent, const QString& name);

struct SliderRange {
    int Minimum = 0;
    int Maximum = 0;
    int SmallStep = 1;
    int LargeStep = 1;
    int Position = 0;
};
QSlider* MakeSlider(QWidget* parent, const QString& name, const SliderRange& range);

// A "tiles per block" count, across or down: "1" at start, two digits at most, as narrow as that allows.
QLineEdit* MakeBlockCountField(QWidget* parent, const QString& name, bool across);

// The field that receives the keys meant for an image view: at most 3 characters, directly on the page
// outside every layout, so that the window can move it out of sight.
QLineEdit* MakeKeyCaptureField(QWidget* page, const QString& name, const QString& text);

// An editable combo box as the core reads it: the selected item, or -1 when the text was typed.
EditableComboText ComboText(const QComboBox* list);
// Selects an item without running the list's change handler; an index outside the items changes nothing.
void SetIndex(QComboBox* list, int32_t index);

// The row of controls of one bar, without margins.
QHBoxLayout* RowLayout(QWidget* bar);

// Hidden without giving up its place, so showing and hiding it moves nothing else.
void KeepPlaceWhenHidden(QWidget* widget);

} // namespace tavrik
