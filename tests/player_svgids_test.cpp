// The renumbering of cairo's process-wide surface ids in SVG documents.
#include "player/draw/SvgIds.h"

#include <gtest/gtest.h>

namespace plotara::player {
namespace {

TEST(SvgIdsTest, SurfaceIdsAndTheirReferencesCountFromOne) {
    const std::pair<std::string, std::string> cases[] = {
        {R"x(<g id="surface29"><path/></g>)x", R"x(<g id="surface1"><path/></g>)x"},
        // References follow their ids; a second surface gets 2 whatever its old number.
        {R"x(<g id="surface40"/><use xlink:href="#surface7"/><g id="surface7"/>)x"
         R"x(<rect fill="url(#surface40)"/>)x",
         R"x(<g id="surface1"/><use xlink:href="#surface2"/><g id="surface2"/>)x"
         R"x(<rect fill="url(#surface1)"/>)x"},
        // Chart text that merely looks like an id stays as written.
        {R"x(<text>surface12 #surface3</text><g id="surface5"/>)x",
         R"x(<text>surface12 #surface3</text><g id="surface1"/>)x"},
        {R"x(<g id="surfaceX"/>surface)x", R"x(<g id="surfaceX"/>surface)x"},
        {"", ""},
    };
    for (const auto& [input, expected] : cases) {
        std::string svg = input;
        renumberSurfaceIds(svg);
        EXPECT_EQ(svg, expected) << input;
    }
}

} // namespace
} // namespace plotara::player
