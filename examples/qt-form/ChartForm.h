// The example form: a PlotaraWidget with a chart-type chooser, a button that fills the chart from
// the built-in sample database, a button that opens the property sheet and an event log. The
// control's properties are kept in a form file next to the application's QSettings.
#pragma once

#include "desktop/PlotaraWidget.h"

#include <QWidget>

class QComboBox;
class QPlainTextEdit;

namespace plotara::example {

class ChartForm : public QWidget {
    Q_OBJECT
public:
    // Loads the saved control properties (or starts with the initial ones) and the window's
    // settings. A form file that cannot be read is reported in the log and left alone.
    explicit ChartForm(QWidget* parent = nullptr);

    qt::PlotaraWidget& chart() noexcept { return *chart_; }
    // The log's lines.
    QStringList logLines() const;
    // Chooses the chart type in the chooser, which fills the chart anew.
    void selectType(enumChartNames type);
    // Fills Data from the sample database for the chosen chart type and renders.
    void fillFromDatabase();
    // Opens the property sheet modally.
    void openProperties();
    // Where the control's properties are saved: the application's settings folder.
    static QString formFile();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void log(const QString& line);
    void connectEvents();
    void loadForm();
    void saveForm();
    void chooseType(int index);

    qt::PlotaraWidget* chart_;
    QComboBox* types_;
    QPlainTextEdit* log_;
};

} // namespace plotara::example
