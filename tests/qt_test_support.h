// Shared set-up of the desktop tests: a shown PlotaraWidget that plays the real chart movies,
// a column chart with links, and a modal runner that answers dialogs from a script.
#pragma once

#include "core/ErrorTrap.h"
#include "core_test_support.h"
#include "desktop/PlotaraWidget.h"
#include "desktop/QtText.h"

#include <QDialog>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>

namespace plotara::test {

// Answers modal dialogs in order: each step sees the dialog and returns its result. A dialog
// with no step left is cancelled (QDialog::Rejected) and counted.
struct ScriptedDialogs {
    std::deque<std::function<int(QDialog&)>> steps;
    std::vector<QString> seen; // the window title of every dialog, in order
    int unanswered = 0;

    qt::ModalRunner runner() {
        return [this](QDialog& dialog) {
            seen.push_back(dialog.windowTitle());
            if (steps.empty()) {
                ++unanswered;
                return static_cast<int>(QDialog::Rejected);
            }
            auto step = std::move(steps.front());
            steps.pop_front();
            return step(dialog);
        };
    }
};

// Three products with sales, B and C linked to the host function showDetail.
inline void fillSales(Plotara& control) {
    PlotaraData& data = *control.get_Data();
    data.setChartParams(L"caption=Sales;numberPrefix=$;animation=0");
    data.addChartData(L"120000", L"label=Product A");
    data.addChartData(L"310000", L"label=Product B;link=host:showDetail:Product B,2008");
    data.addChartData(L"464200", L"label=Product C;link=host:showDetail:Product C,2008;"
                                 L"toolText=Product C: $464,200");
}

// A widget of the size on a shown top-level window, with the chart folder of the build.
struct WidgetRig {
    QWidget window;
    qt::PlotaraWidget* widget;
    ScriptedDialogs dialogs;

    explicit WidgetRig(QSize size = {480, 320}) : widget(new qt::PlotaraWidget(&window)) {
        widget->setObjectName(QStringLiteral("Plotara1"));
        widget->setModalRunner(dialogs.runner());
        widget->control().put_ChartPath(fromUtf8(PLOTARA_CHARTS_DIR));
        widget->setGeometry(QRect(QPoint(10, 10), size));
        window.resize(size + QSize(20, 20));
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    qt::PlotaraWidget& operator*() { return *widget; }
    qt::PlotaraWidget* operator->() { return widget; }
    // The column chart of fillSales, rendered.
    void renderSales() {
        widget->control().put_ChartType(enumChartNames::column2d);
        fillSales(widget->control());
        widget->control().RenderChart();
    }
    // The widget position of the centre of a plot element (found by the player's hit test).
    std::optional<QPoint> elementAt(player::HitKind kind, int pointIndex) {
        qt::WindowPlayer& player = widget->moviePlayer();
        const QRect client = widget->contentsRect();
        for (int y = 0; y < client.height(); y += 3)
            for (int x = 0; x < client.width(); x += 3) {
                const HitInfo hit = player.hoverAt(x, y);
                if (hit.hit && hit.kind == kind && hit.pointIndex == pointIndex) {
                    // Step to the middle of the element's run on this row.
                    int right = x;
                    while (right + 1 < client.width() &&
                           player.hoverAt(right + 1, y + 4).pointIndex == pointIndex)
                        ++right;
                    return client.topLeft() + QPoint((x + right) / 2, y + 4);
                }
            }
        return std::nullopt;
    }
};

} // namespace plotara::test
