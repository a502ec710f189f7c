// Reads the rows of a query into a table of text cells, which the command line lays out for the
// chart like a CSV file's (apps/TableFill.h), by the --category, --value and --series columns.
#pragma once

#include "apps/CellTable.h"
#include "core/String.h"
#include "platform/Recordset.h"

#include <vector>

namespace plotara::apps {

// Every row of the result as text: Null as "", numbers in their general form with a decimal
// point whatever the locale, texts as they are. The table names itself "the query result" and
// counts rows from 1. The recordset's errors reach the caller.
CellTable readQueryTable(Recordset& rows, const std::vector<String>& columns);

} // namespace plotara::apps
