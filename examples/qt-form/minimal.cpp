// The smallest desktop host (docs/desktop.md shows it): a column chart in a window, its links
// reported on standard error.
#include "desktop/PlotaraWidget.h"
#include "desktop/QtOsApi.h"

#include <QApplication>
#include <QDebug>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    plotara::installOsApi(std::make_shared<plotara::qt::QtOsApi>()); // capture and dialogs
    plotara::qt::PlotaraWidget chart;
    plotara::Plotara& control = chart.control();
    control.put_ChartPath(plotara::fromUtf8(PLOTARA_CHARTS_DIR)); // where the chart movies are
    control.put_ChartType(plotara::enumChartNames::column2d);
    plotara::PlotaraData& data = *control.get_Data();
    data.setChartParams(L"caption=Sales;numberPrefix=$");
    data.addChartData(L"310000", L"label=Product B;link=host:showDetail:B,2008");
    data.addChartData(L"464200", L"label=Product C;link=host:showDetail:C,2008");
    QObject::connect(&chart, &plotara::qt::PlotaraWidget::drillDown,
                     [](const QString& action, const QVariant& parameter) {
                         qInfo() << action << parameter.toStringList();
                     });
    chart.resize(640, 400);
    chart.show();
    control.RenderChart();
    return app.exec();
}
