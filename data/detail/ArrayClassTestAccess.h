// What the data layer's tests and benchmarks read of the engine beyond its working interface.
#pragma once

#include "data/ArrayClass.h"

namespace plotara {

struct ArrayClassTestAccess {
    // The record's counters.
    static ArrayClass::Counters counters(const ArrayClass& engine) noexcept {
        return engine.counters();
    }
    // Whether packDocument holds the document as UTF-8.
    static bool documentPacked(const ArrayClass& engine) noexcept {
        return engine.packedDocument_ != nullptr;
    }
    // The UTF-8 text packDocument keeps, nullptr when the document is not packed.
    static const std::shared_ptr<const std::string>& packedText(const ArrayClass& engine) noexcept {
        return engine.packedDocument_;
    }
    // Whether XY points in their common form are kept compactly (on by default).
    static void setCompactXY(ArrayClass& engine, bool on) noexcept { engine.compactXY_ = on; }
};

} // namespace plotara
