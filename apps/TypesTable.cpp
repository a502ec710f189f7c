#include "apps/TypesTable.h"

#include "control/Catalogue.h"
#include "control/Enums.h"

#include <algorithm>
#include <cstdio>

namespace plotara::apps {

namespace {

// The group a type is listed in (groups 1 to 7 each list a type once).
std::string groupOf(const String& name) {
    for (const EnumMember& group : chartGroupMembers()) {
        if (group.value == 0) continue;
        const std::vector<String> names = catalogue::groupNames(group.value);
        if (std::find(names.begin(), names.end(), name) != names.end()) return toUtf8(group.name);
    }
    return "";
}

} // namespace

std::string typesTable() {
    std::string out;
    char line[160];
    std::snprintf(line, sizeof line, "%-3s %-26s %-22s %s\n", "No", "Name", "Group",
                  "Player chart files (full, light)");
    out += line;
    for (Long type = 1; type <= catalogue::chartTypeCount; ++type) {
        const String name = catalogue::typeName(type);
        const std::string full = toUtf8(catalogue::ChartMovieFile(1, static_cast<Integer>(type)));
        const std::string light = toUtf8(catalogue::ChartMovieFile(0, static_cast<Integer>(type)));
        const bool noLight = light.empty() || light == "0";
        std::snprintf(line, sizeof line, "%-3d %-26s %-22s %s, %s\n", static_cast<int>(type),
                      toUtf8(name).c_str(), groupOf(name).c_str(), full.c_str(),
                      noLight ? "-" : light.c_str());
        out += line;
    }
    return out;
}

} // namespace plotara::apps
