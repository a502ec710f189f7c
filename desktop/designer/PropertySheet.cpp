#include "desktop/designer/PropertySheet.h"

#include "core/ErrorTrap.h"
#include "core/Text.h"
#include "desktop/MessageBoxes.h"

#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace plotara::qt {

PropertySheet::PropertySheet(std::vector<std::shared_ptr<Dispatch>> selected, const QString& name,
                             QWidget* parent)
    : QDialog(parent), page_(new PathsPage), buttons_(nullptr) {
    setWindowTitle(tr("%1 Properties").arg(name));
    auto* tabs = new QTabWidget(this);
    tabs->addTab(page_, page_->windowTitle());
    buttons_ = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(buttons_, &QDialogButtonBox::accepted, this, &PropertySheet::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &PropertySheet::reject);
    connect(button(QDialogButtonBox::Apply), &QPushButton::clicked, this, [this] { apply(); });
    connect(page_, &PathsPage::changedChanged, button(QDialogButtonBox::Apply),
            &QPushButton::setEnabled);
    button(QDialogButtonBox::Apply)->setEnabled(false);
    page_->setSelectedControls(std::move(selected));
}

QPushButton* PropertySheet::button(QDialogButtonBox::StandardButton which) const {
    return buttons_->button(which);
}

bool PropertySheet::apply() {
    const auto error = ErrorTrap::capture([this] { page_->applyChanges(); });
    if (!error) return true;
    showMessageBox(this,
                   L"Error Number: " + text::decimal(error->number()) + L"\n" + L"Description: " +
                       error->description(),
                   16, windowTitle().toStdWString(), runner_);
    return false;
}

void PropertySheet::accept() {
    if (page_->changed() && !apply()) return;
    QDialog::accept();
}

} // namespace plotara::qt
