#include "apps/DatabaseFill.h"

#include "core/Number.h"
#include "core/Variant.h"

namespace plotara::apps {

namespace {

std::string cellText(const Variant& value) {
    switch (value.type()) {
    case Variant::Type::Null:
    case Variant::Type::Empty:
        return std::string();
    case Variant::Type::Integer:
    case Variant::Type::Long:
        return std::to_string(value.asLong());
    case Variant::Type::Single:
    case Variant::Type::Double:
        return toUtf8(number::formatDouble(value.asDouble(), L'.'));
    default:
        return toUtf8(toText(value));
    }
}

} // namespace

CellTable readQueryTable(Recordset& rows, const std::vector<String>& columns) {
    CellTable table;
    table.origin = "the query result";
    table.rowWord = "row";
    for (const String& column : columns)
        table.header.push_back(toUtf8(column));
    rows.MoveFirst();
    while (!rows.eof()) {
        std::vector<std::string> row;
        row.reserve(columns.size());
        for (const String& column : columns)
            row.push_back(cellText(rows.field(column)));
        table.addRow(row);
        rows.MoveNext();
    }
    return table;
}

} // namespace plotara::apps
