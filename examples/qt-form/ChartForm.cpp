#include "examples/qt-form/ChartForm.h"

#include "apps/ChartSession.h"
#include "apps/SampleDatabase.h"
#include "control/Catalogue.h"
#include "core/ErrorTrap.h"
#include "core/FilePath.h"
#include "desktop/QtText.h"
#include "desktop/designer/PropertySheet.h"
#include "platform/FilePropertyBag.h"
#include "platform/sqlite/SqliteRecordset.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include <algorithm>

namespace plotara::example {

namespace {

const String controlName = L"Plotara1";

QString describe(const QVariant& parameter) {
    return parameter.isNull() ? QStringLiteral("(none)") : parameter.toStringList().join(", ");
}

// Revenue by month and product, one row per month.
const wchar_t* const revenueQuery =
    L"SELECT month, Laptops, Tablets, Phones FROM revenue_by_product ORDER BY month_no";

} // namespace

ChartForm::ChartForm(QWidget* parent)
    : QWidget(parent), chart_(new qt::PlotaraWidget), types_(new QComboBox),
      log_(new QPlainTextEdit) {
    setWindowTitle(tr("Plotara: sales by month"));
    chart_->setObjectName(qt::toQString(controlName));
    chart_->setMinimumSize(480, 320);
    log_->setReadOnly(true);
    log_->setMaximumBlockCount(500);
    auto* fill = new QPushButton(tr("&Fill from sample database"));
    auto* properties = new QPushButton(tr("&Properties..."));
    connect(fill, &QPushButton::clicked, this, &ChartForm::fillFromDatabase);
    connect(properties, &QPushButton::clicked, this, &ChartForm::openProperties);

    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(tr("Chart type:")));
    side->addWidget(types_);
    side->addWidget(fill);
    side->addWidget(properties);
    side->addWidget(new QLabel(tr("Events:")));
    side->addWidget(log_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(chart_, 3);
    layout->addLayout(side, 1);

    connectEvents();
    loadForm();
    // Without a saved folder or a machine-wide default, the chart movies the program ships with.
    if (chart_->control().get_ChartPath().empty())
        chart_->control().put_ChartPath(fromUtf8(apps::findChartsDir("")));
    // The chooser lists every chart type of the catalogue and starts at the control's own.
    for (const String& name : chart_->control().GetChartArray(enumChartGroup::All))
        types_->addItem(qt::toQString(name));
    types_->setCurrentText(
        qt::toQString(catalogue::typeName(static_cast<Long>(chart_->control().get_ChartType()))));
    connect(types_, &QComboBox::currentIndexChanged, this, &ChartForm::chooseType);
    QSettings settings;
    restoreGeometry(settings.value("window/geometry").toByteArray());
}

QString ChartForm::formFile() {
    const QSettings settings;
    return QFileInfo(settings.fileName()).absolutePath() + QStringLiteral("/qt-form.plotara");
}

void ChartForm::connectEvents() {
    using qt::PlotaraWidget;
    connect(chart_, &PlotaraWidget::shown, this, [this] { log("Show"); });
    connect(chart_, &PlotaraWidget::resized, this, [this] { log("Resize"); });
    connect(chart_, &PlotaraWidget::hidden, this, [this] { log("Hide"); });
    connect(chart_, &PlotaraWidget::chartLoaded, this, [this] { log("ChartLoaded"); });
    connect(chart_, &PlotaraWidget::chartRendered, this, [this] { log("ChartRendered"); });
    connect(chart_, &PlotaraWidget::drillDown, this,
            [this](const QString& action, const QVariant& parameter) {
                log(QStringLiteral("DrillDown %1: %2").arg(action, describe(parameter)));
            });
}

void ChartForm::log(const QString& line) {
    log_->appendPlainText(line);
}

QStringList ChartForm::logLines() const {
    return log_->toPlainText().split(u'\n', Qt::SkipEmptyParts);
}

void ChartForm::loadForm() {
    const auto path = toPath(qt::fromQString(formFile()));
    const auto error = ErrorTrap::capture([&] {
        if (!QFileInfo::exists(formFile())) return; // a new form: the initial properties stay
        FilePropertyBag form = FilePropertyBag::load(path);
        chart_->control().ReadProperties(form.control(controlName));
        log(tr("Properties read from %1").arg(formFile()));
    });
    if (error) log(tr("Properties not read: %1").arg(qt::toQString(error->description())));
}

void ChartForm::saveForm() {
    QDir().mkpath(QFileInfo(formFile()).absolutePath()); // a first run has no settings folder yet
    const auto error = ErrorTrap::capture([&] {
        FilePropertyBag form(toPath(qt::fromQString(formFile())));
        chart_->control().WriteProperties(form.addControl(controlName));
        form.save();
    });
    if (error) log(tr("Properties not saved: %1").arg(qt::toQString(error->description())));
}

void ChartForm::selectType(enumChartNames type) {
    const QString name = qt::toQString(catalogue::typeName(static_cast<Long>(type)));
    if (types_->currentText() == name)
        fillFromDatabase(); // the chooser does not signal a choice it already shows
    else
        types_->setCurrentText(name);
}

void ChartForm::chooseType(int index) {
    const String name = qt::fromQString(types_->itemText(index));
    chart_->control().put_ChartType(static_cast<enumChartNames>(catalogue::typeOfName(name)));
    log(tr("Chart type %1").arg(types_->itemText(index)));
    fillFromDatabase();
}

void ChartForm::fillFromDatabase() {
    Plotara& control = chart_->control();
    const auto singles = control.GetChartArray(enumChartGroup::Single_Series);
    const Long number = static_cast<Long>(control.get_ChartType());
    const String type = catalogue::typeName(number);
    const bool single = std::find(singles.begin(), singles.end(), type) != singles.end();
    if (number == 26 || number == 27 || number == 29 || number == 30) {
        // Stacked multi-series and XY charts need other data: they show their sample.
        control.put_setDataXML(control.GetSampleXML());
        return;
    }
    const auto error = ErrorTrap::capture([&] {
        auto database = apps::openSampleDatabase();
        auto rows = database->query(revenueQuery);
        PlotaraData& data = *control.get_Data();
        data.setChartParams(L"caption=Revenue by month;numberPrefix=$;showValues=0");
        const std::vector<String> products = {L"Laptops", L"Tablets", L"Phones"};
        if (single) {
            for (; !rows->eof(); rows->MoveNext()) {
                const String month = toText(rows->field(L"month"));
                double total = 0;
                for (const String& product : products)
                    total += rows->field(product).asDouble();
                data.addChartData(std::to_wstring(static_cast<long>(total)),
                                  L"label=" + month + L";link=host:showMonth:" + month);
            }
        } else {
            data.addCategoryFromDatabase(*rows, L"month");
            for (const String& product : products) {
                data.addDataset(product);
                for (rows->MoveFirst(); !rows->eof(); rows->MoveNext()) {
                    const String month = toText(rows->field(L"month"));
                    data.addChartData(toText(rows->field(product)),
                                      L"link=host:showMonth:" + month + L"," + product);
                }
            }
        }
        control.RenderChart();
    });
    if (error) log(tr("Not filled: %1").arg(qt::toQString(error->description())));
}

void ChartForm::openProperties() {
    // The widget owns its control: the sheet gets it without taking a share of it.
    std::vector<std::shared_ptr<Dispatch>> selected = {
        std::shared_ptr<Dispatch>(std::shared_ptr<Dispatch>(), &chart_->control())};
    const auto error = ErrorTrap::capture([&] {
        qt::PropertySheet sheet(std::move(selected), chart_->objectName(), this);
        sheet.exec();
    });
    if (error) log(tr("Properties: %1").arg(qt::toQString(error->description())));
}

void ChartForm::closeEvent(QCloseEvent* event) {
    saveForm();
    QSettings settings;
    settings.setValue("window/geometry", saveGeometry());
    event->accept();
}

} // namespace plotara::example
