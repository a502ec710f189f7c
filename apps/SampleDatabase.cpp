#include "apps/SampleDatabase.h"

namespace plotara::apps {

std::shared_ptr<SqliteDatabase> openSampleDatabase() {
    auto db = SqliteDatabase::open(":memory:", SqliteDatabase::Mode::Create);
    db->execute(fromUtf8(sampleSql));
    // Queries of the command line read; none may write the sample or create a file.
    db->restrictToReading();
    return db;
}

} // namespace plotara::apps
