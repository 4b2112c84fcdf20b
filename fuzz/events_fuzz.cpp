// Arbitrary bytes as windows opened and closed on the page and as the numbers an event is made
// of: ids stay the least free and distinct, and an event reaches its own window or none.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_rules.hpp"
#include "runtime/web/page_protocol.hpp"

using namespace numerak;
using numerak::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    web::WindowIds ids;
    std::vector<int> open;
    std::size_t at = 0;
    for (; at < size && data[at] != 0xFF; ++at) {
        if (data[at] & 1 || open.empty()) {
            const int id = ids.take();
            int least = 1;
            while (std::find(open.begin(), open.end(), least) != open.end()) ++least;
            require(id == least, "a new window takes the least id free");
            open.push_back(id);
        } else {
            const auto which = static_cast<std::size_t>(data[at] >> 1) % open.size();
            ids.give(open[which]);
            open.erase(open.begin() + static_cast<std::ptrdiff_t>(which));
        }
    }
    int words[3] = {};
    std::memcpy(words, data + std::min(at, size), std::min(size - std::min(at, size), sizeof words));
    const web::PageEvent e{words[0], words[1], (words[2] & 1) != 0};
    const web::PageEvent back = web::unpackEvent(web::packEvent(e));
    if (back.window != 0)
        require(back.window == e.window && back.control == e.control, "an event reaches its own window");
    if (e.window > 0 && e.window <= web::MostInEvent && e.control >= 0 && e.control <= web::MostInEvent)
        require(back.window == e.window && back.control == e.control && back.closeBox == e.closeBox,
                "an event within range comes back whole");
    const web::PageEvent any = web::unpackEvent(words[0]);  // whatever the page hands back
    require(any.control >= 0 && any.control <= web::MostInEvent, "an unpacked control is in range");
    return 0;
}
