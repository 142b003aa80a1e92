// Any text given as a wall file either reads as a wall, which writes back to a text that reads
// as the same wall, or is refused with a message; nothing else.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "wallfile/wallfile.h"

using namespace wallcalc;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const wallfile::Wall wall = wallfile::fromJson(text, "fuzz.wall");
        if (!(wallfile::fromJson(wallfile::toJson(wall), "again.wall") == wall)) std::abort();
    } catch (const wallfile::WallFileError& error) {
        if (std::string_view(error.what()).empty()) std::abort();
    }
    return 0;
}
