// What the data layer's tests and benchmarks read of the engine beyond its working interface.
#pragma once

#include "data/ArrayClass.h"

namespace plotara {

struct ArrayClassTestAccess {
    // The record's counters. Cannot fail.
    static ArrayClass::Counters counters(const ArrayClass& engine) noexcept {
        return engine.counters();
    }
    // Whether packDocument holds the document as UTF-8. Cannot fail.
    static bool documentPacked(const ArrayClass& engine) noexcept { return engine.documentPacked_; }
    // The packed document's bytes shared with the copy its caller offered. Cannot fail.
    static std::size_t packedSharedBytes(const ArrayClass& engine) noexcept {
        return engine.packedDocument_.sharedBytes();
    }
    // Whether XY points in their common form are kept compactly (on by default). Cannot fail.
    static void setCompactXY(ArrayClass& engine, bool on) noexcept { engine.compactXY_ = on; }
};

} // namespace plotara
