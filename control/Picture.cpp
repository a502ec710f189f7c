#include "control/Picture.h"

#include "control/PlotaraOcxModule.h"
#include "core/Error.h"

namespace plotara {

Picture::Picture(Long handle, Long width, Long height, std::vector<std::uint32_t> pixels,
                 std::vector<std::uint32_t> palette)
    : handle_(handle), width_(width), height_(height), pixels_(std::move(pixels)),
      palette_(std::move(palette)) {
    if (width < 0 || height < 0 ||
        pixels_.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        raise(errors::invalidProcedureCall());
}

void Picture::saveAsBmp(const String&) const {
    raise(notAvailableYet(L"Picture.saveAsBmp"));
}

} // namespace plotara
