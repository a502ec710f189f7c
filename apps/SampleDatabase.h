// The sample database built into the program: monthly sales, response times and customer
// segments, created in memory from the text of examples/sample.sql.
#pragma once

#include "platform/sqlite/SqliteDatabase.h"

#include <memory>

namespace plotara::apps {

// The SQL text of examples/sample.sql.
extern const char* const sampleSql;

// A new in-memory database holding the sample tables and views, restricted to reading. Raises
// the database error if the built-in script fails, which only a broken build can cause.
std::shared_ptr<SqliteDatabase> openSampleDatabase();

} // namespace plotara::apps
