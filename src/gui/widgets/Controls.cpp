// The control makers of the pages.
#include "widgets/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

namespace tavrik {

QLabel* MakeLabel(QWidget* parent, const QString& name, const char* text) {
    return Named(new QLabel(QString::fromUtf8(text), parent), name);
}

QLineEdit* MakeEdit(QWidget* parent, const QString& name, const char* text, const char* hint, int maxLength) {
    auto* edit = Named(new QLineEdit(parent), name, hint);
    if (maxLength > 0) edit->setMaxLength(maxLength);
    edit->setText(QString::fromUtf8(text));
    return edit;
}

QComboBox* MakeList(QWidget* parent, const QString& name, const QStringList& items, const char* hint, bool editable) {
    auto* list = Named(new QComboBox(parent), name, hint);
    list->addItems(items);
    list->setEditable(editable);
    if (editable) list->setInsertPolicy(QComboBox::NoInsert);
    return list;
}

QCheckBox* MakeCheck(QWidget* parent, const QString& name, const char* caption, const char* hint) {
    return Named(new QCheckBox(QString::fromUtf8(caption), parent), name, hint);
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const char* caption) {
    auto* button = Named(new QPushButton(QString::fromUtf8(caption), parent), name);
    button->setAutoDefault(false);
    return button;
}

QPushButton* MakeEllipsisButton(QWidget* parent, const QString& name) {
    QPushButton* button = MakeButton(parent, name, "...");
    button->setFixedWidth(button->fontMetrics().horizontalAdvance("...") + 20);
    return button;
}

QSlider* MakeSlider(QWidget* parent, const QString& name, const SliderRange& range) {
    auto* slider = Named(new QSlider(Qt::Horizontal, parent), name);
    slider->setRange(range.Minimum, range.Maximum);
    slider->setSingleStep(range.SmallStep);
    slider->setPageStep(range.LargeStep);
    slider->setValue(range.Position);
    return slider;
}

QLineEdit* MakeBlockCountField(QWidget* parent, const QString& name, bool across) {
    QLineEdit* field =
        MakeEdit(parent, name, "1", across ? "Width of the map (in tiles)" : "Height of the map (in tiles)", 2);
    field->setFixedWidth(field->fontMetrics().horizontalAdvance("000") + 14);
    return field;
}

QLineEdit* MakeKeyCaptureField(QWidget* page, const QString& name, const QString& text) {
    auto* field = Named(new QLineEdit(text, page), name);
    field->setMaxLength(3);
    field->setGeometry(0, 0, 40, field->sizeHint().height());
    field->setFocusPolicy(Qt::ClickFocus);
    field->setAttribute(Qt::WA_InputMethodEnabled, false);
    return field;
}

EditableComboText ComboText(const QComboBox* list) {
    const QString text = list->currentText();
    const int index = list->currentIndex();
    return EditableComboText{index >= 0 && list->itemText(index) == text ? index : -1, text.toStdString()};
}

void SetIndex(QComboBox* list, int32_t index) {
    const QSignalBlocker blocker(list);
    if (index >= 0 && index < list->count()) list->setCurrentIndex(index);
}

QHBoxLayout* RowLayout(QWidget* bar) {
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    return layout;
}

void KeepPlaceWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

} // namespace tavrik
