// Shared helpers of the data-layer tests.
#pragma once

#include "core/String.h"
#include "core_test_support.h"
#include "data/PlotaraData.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace plotara::test {

// Joins document lines with CR LF, the way the builder separates elements.
inline String lines(std::initializer_list<const wchar_t*> parts) {
    String out;
    bool first = true;
    for (const wchar_t* part : parts) {
        if (!first) out += L"\r\n";
        out += part;
        first = false;
    }
    return out;
}

// A data object whose chart type is set as the control would set it.
inline std::unique_ptr<PlotaraData> chart(int chartType) {
    auto data = std::make_unique<PlotaraData>();
    data->setChartTypeNumber(std::to_wstring(chartType));
    return data;
}

// Calls recorded on a fresh data object of a chart type, and the whole document they give.
struct Recipe {
    const char* name;
    int chartType;
    void (*record)(PlotaraData&);
    String document;
};

inline void expectDocuments(std::initializer_list<Recipe> recipes) {
    for (const Recipe& r : recipes) {
        auto data = chart(r.chartType);
        r.record(*data);
        EXPECT_EQ(data->getXML(), r.document) << r.name;
    }
}

} // namespace plotara::test
