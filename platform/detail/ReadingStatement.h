// Tells statements that only read (SELECT, WITH ... SELECT, VALUES) from those that may change a
// database, for connections that must never write: the command line's queries.
#pragma once

#include "core/String.h"

namespace plotara {

// Whether the SQL text is one statement that reads: after blanks and comments ("--" to the end
// of the line, "/* */") it starts with SELECT, WITH or VALUES (any letter case, optionally inside
// parentheses), no further statement follows a ";", and outside quoted texts and identifiers it
// has no word that writes or changes the connection (INSERT, UPDATE, DELETE, INTO, CREATE, DROP,
// ALTER, ATTACH, PRAGMA, VACUUM and the like). Errs on the side of refusing.
bool isReadingStatement(StringView sql);

} // namespace plotara
