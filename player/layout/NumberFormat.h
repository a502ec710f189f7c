// Number texts as the document asks for them: prefix, suffix, decimals, thousands separators,
// and an optional K/M/B scale.
#pragma once

#include "player/model/Attributes.h"

#include <string>

namespace plotara::player {

struct NumberFormat {
    std::string prefix, suffix;
    int decimals = -1;          // -1: as many as needed, at most 2
    bool forceDecimals = false; // keep trailing zeros up to decimals
    bool thousands = true;      // 1,234,567
    bool scale = false;         // 1.2K, 3.4M, 5.6B

    // The text of a value; "" for a missing value. Cannot fail; magnitudes of 1e15 and beyond
    // use the scientific form.
    std::string format(double value) const;
    // The same with a given number of decimals (axis ticks choose theirs from the step).
    std::string format(double value, int decimalsOverride) const;
};

// The format of the primary (or, with secondary, the secondary) value axis from the chart's
// attributes: numberPrefix, numberSuffix (sNumberPrefix, sNumberSuffix), decimals (or
// decimalPrecision), forceDecimals, formatNumber, formatNumberScale. Cannot fail.
NumberFormat numberFormatOf(const Attributes& chart, bool secondary = false);

// Decimals needed to tell ticks `step` apart (0 for whole steps, at most 10). Cannot fail.
int decimalsForStep(double step);

} // namespace plotara::player
