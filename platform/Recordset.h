// Row source for the database imports: the query result a host hands to the data object.
#pragma once

#include "core/Variant.h"

namespace plotara {

class Recordset {
public:
    virtual ~Recordset() = default;
    // Moves to the first row; an implementation that cannot rewind raises an Error.
    virtual void MoveFirst() = 0;
    // Moves to the next row; Error 3021-style failures are the implementation's when past EOF.
    virtual void MoveNext() = 0;
    virtual bool eof() const = 0; // after the last row (and at once for an empty result)
    virtual bool bof() const = 0; // before the first row (and at once for an empty result)
    // The value of the named column in the current row (Fields.Item(name).Value); an Error with
    // the database's message when there is no such column or no current row.
    virtual Variant field(const String& name) = 0;
};

} // namespace plotara
