// The about box: the product name with the version, and what the program is for.
#pragma once

#include <QDialog>

#include <memory>
#include <string>

namespace tavrik {

// The box's product-name label ("ProductName") shows productName.
std::unique_ptr<QDialog> CreateAboutBox(QWidget* parent, const std::string& productName);

} // namespace tavrik
