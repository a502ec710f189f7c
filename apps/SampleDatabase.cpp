#include "apps/SampleDatabase.h"

namespace plotara::apps {

std::shared_ptr<SqliteDatabase> openSampleDatabase() {
    auto db = SqliteDatabase::open(L":memory:", SqliteDatabase::Mode::Create);
    db->execute(fromUtf8(sampleSql));
    return db;
}

} // namespace plotara::apps
