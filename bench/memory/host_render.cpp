// A host program as bench/memory/per_point.sh measures it: reads a chart document, hands it to
// the control's setDataXML as one wide String (freeing its own UTF-8 copy first, as a host that
// only keeps the wide text would), and writes the chart the player draws as PNG.
//
//   plotara_host_render TYPE DOCUMENT OUT.png WIDTH HEIGHT      # TYPE: a catalogue name
#include "control/Catalogue.h"
#include "control/Plotara.h"
#include "core/Text.h"
#include "platform/headless/HeadlessContainer.h"
#include "player/ChartPlayer.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    using namespace plotara;
    if (argc != 6) {
        std::fputs("usage: plotara_host_render TYPE DOCUMENT OUT.png WIDTH HEIGHT\n", stderr);
        return 2;
    }
    String document;
    {
        std::ifstream in(argv[2], std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        if (!in && !in.eof()) return 1;
        document = fromUtf8(bytes);
    }
    HeadlessContainer container;
    auto movieHost = std::make_unique<ChartPlayer>();
    ChartPlayer& player = *movieHost;
    Plotara control(container, std::move(movieHost));
    container.bind({[&] { control.onShow(); }, [&] { control.onResize(); },
                    [&] { control.onHide(); }, [&] { control.onAmbientChanged(); }});
    control.InitProperties();
    control.put_ChartPath(fromUtf8(PLOTARA_CHARTS_DIR));
    container.resize(static_cast<Single>(std::stoi(argv[4])),
                     static_cast<Single>(std::stoi(argv[5])));
    control.put_ChartType(
        static_cast<enumChartNames>(catalogue::typeOfName(text::toLower(fromUtf8(argv[1])))));
    // At run time setDataXML renders the chart at once.
    control.put_setDataXML(document);
    if (player.state() != PlayerState::Chart) {
        std::fprintf(stderr, "no chart: %s\n", toUtf8(player.messageText()).c_str());
        return 1;
    }
    return player.savePng(argv[3]) ? 0 : 1;
}
