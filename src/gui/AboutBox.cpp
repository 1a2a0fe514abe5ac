// Builds the about box.
#include "AboutBox.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QLabel>
#include <QVBoxLayout>

namespace tavrik {

std::unique_ptr<QDialog> CreateAboutBox(QWidget* parent, const std::string& productName) {
    auto box = std::make_unique<QDialog>(parent);
    box->setObjectName("AboutBox");
    box->setWindowTitle("About");
    box->setModal(true);

    auto* name = new QLabel(QString::fromStdString(productName), box.get());
    name->setObjectName("ProductName");
    QFont nameFont = name->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.4);
    name->setFont(nameFont);

    auto* comments = new QLabel("Rips graphics, palettes and tile maps of Amiga games out of memory snapshots "
                                "and WinUAE save states.",
                                box.get());
    comments->setObjectName("Comments");
    comments->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, box.get());
    QObject::connect(buttons, &QDialogButtonBox::accepted, box.get(), &QDialog::accept);

    auto* layout = new QVBoxLayout(box.get());
    layout->addWidget(name);
    layout->addWidget(comments);
    layout->addWidget(buttons);
    box->setMinimumWidth(360);
    return box;
}

} // namespace tavrik
