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

    // The reads of the database imports, which want each field as text. A recordset may
    // override them to skip the Variant; the defaults go through field().

    // The position of the named column, to hand to fieldText in place of looking the name up on
    // every row; -1 when there is no such column or the recordset finds fields by name only (the
    // default). Cannot fail.
    virtual int columnIndex(const String& name) const;
    // Replaces out by the text of the named column in the current row: "" for Null, otherwise
    // what toText gives for field(name) (numbers in the general form, with the locale's decimal
    // separator). column is columnIndex(name) or -1. Errors as field().
    virtual void fieldText(const String& name, int column, String& out);
};

} // namespace plotara
