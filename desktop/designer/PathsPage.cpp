#include "desktop/designer/PathsPage.h"

#include "core/ErrorTrap.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace plotara::qt {

PathsPage::PathsPage(QWidget* parent) : QWidget(parent) {
    // No native window of its own (it lives on a tab): its dialogs belong to the active window,
    // the sheet.
    page_ = std::make_unique<xmlOpenDialog>(0);
    xmlOpenDialog& p = *page_;
    setWindowTitle(QString::fromStdWString(xmlOpenDialog::caption()));
    addLabel(p.Label1);
    chartPath_ = addTextBox(p.txtChartPath);
    QPushButton* dirChooser = addButton(p.cmdDirChooser);
    addLabel(p.lblChartExternalDataPath);
    dataPath_ = addTextBox(p.txtChartExternalDataPath);
    QPushButton* xmlOpen = addButton(p.cmdXMLOpen);
    connect(chartPath_, &QLineEdit::textEdited, this, [this](const QString& text) {
        page_->txtChartPath.setText(text.toStdWString());
        afterPageCall();
    });
    connect(dataPath_, &QLineEdit::textEdited, this, [this](const QString& text) {
        page_->txtChartExternalDataPath.setText(text.toStdWString());
        afterPageCall();
    });
    connect(dirChooser, &QPushButton::clicked, this, [this] {
        page_->cmdDirChooser_Click();
        afterPageCall();
    });
    connect(xmlOpen, &QPushButton::clicked, this, [this] {
        page_->cmdXMLOpen_Click();
        afterPageCall();
    });
    // Tab order as the page's table gives it: the focusable controls by their tab index.
    std::vector<std::pair<Long, QWidget*>> order = {
        {p.txtChartPath.layout.tabIndex, chartPath_},
        {p.cmdDirChooser.layout.tabIndex, dirChooser},
        {p.txtChartExternalDataPath.layout.tabIndex, dataPath_},
        {p.cmdXMLOpen.layout.tabIndex, xmlOpen}};
    std::sort(order.begin(), order.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1].second, order[i].second);
    setFixedSize(pixels(xmlOpenDialog::pageWidth), pixels(xmlOpenDialog::pageHeight));
}

PathsPage::~PathsPage() = default;

int PathsPage::pixels(Long twips) const {
    const int dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / 1440.0));
}

void PathsPage::place(QWidget* widget, const ControlLayout& layout) {
    widget->setGeometry(pixels(layout.left), pixels(layout.top), pixels(layout.width),
                        pixels(layout.height));
}

QLabel* PathsPage::addLabel(const Label& label) {
    auto* widget = new QLabel(QString::fromStdWString(label.caption), this);
    widget->setObjectName(QString::fromStdWString(label.name));
    place(widget, label.layout);
    return widget;
}

QLineEdit* PathsPage::addTextBox(TextBox& box) {
    auto* widget = new QLineEdit(QString::fromStdWString(box.text), this);
    widget->setObjectName(QString::fromStdWString(box.name));
    widget->installEventFilter(this);
    place(widget, box.layout);
    return widget;
}

QPushButton* PathsPage::addButton(const CommandButton& button) {
    auto* widget = new QPushButton(QString::fromStdWString(button.caption), this);
    widget->setObjectName(QString::fromStdWString(button.name));
    place(widget, button.layout);
    return widget;
}

bool PathsPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && (watched == chartPath_ || watched == dataPath_)) {
        const bool chart = watched == chartPath_;
        chart ? page_->txtChartPath_GotFocus() : page_->txtChartExternalDataPath_GotFocus();
        const TextBox& box = chart ? page_->txtChartPath : page_->txtChartExternalDataPath;
        auto* edit = static_cast<QLineEdit*>(watched);
        const int start = static_cast<int>(box.selStart);
        const int length = static_cast<int>(box.selLength);
        // After the click that gave the focus has placed the cursor.
        QTimer::singleShot(0, edit, [edit, start, length] { edit->setSelection(start, length); });
    }
    return QWidget::eventFilter(watched, event);
}

void PathsPage::afterPageCall() {
    const QString chart = QString::fromStdWString(page_->txtChartPath.text);
    const QString data = QString::fromStdWString(page_->txtChartExternalDataPath.text);
    if (chartPath_->text() != chart) chartPath_->setText(chart);
    if (dataPath_->text() != data) dataPath_->setText(data);
    if (page_->get_Changed() != reportedChanged_) {
        reportedChanged_ = page_->get_Changed();
        emit changedChanged(reportedChanged_);
    }
}

void PathsPage::setSelectedControls(std::vector<std::shared_ptr<Dispatch>> controls) {
    page_->setSelectedControls(std::move(controls));
    // The boxes show what the page holds, also after an error.
    const auto error = ErrorTrap::capture([&] { page_->SelectionChanged(); });
    afterPageCall();
    if (error) plotara::raise(*error);
}

void PathsPage::applyChanges() {
    const auto error = ErrorTrap::capture([&] {
        page_->ApplyChanges();
        page_->put_Changed(false);
    });
    afterPageCall();
    if (error) plotara::raise(*error);
}

} // namespace plotara::qt
