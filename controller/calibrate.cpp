#include "controller/calibrate.h"

#include "controller/commands.h"
#include "controller/serial_link.h"
#include "controller/tools.h"
#include "platform/text.h"
#include "records/notice.h"
#include "records/settings.h"

namespace {

constexpr double kFirstApproach = 0.032;  // inches short of the cell on the first move
constexpr double kBackOff = 0.1;          // inches back while the cell still sees the strip
constexpr double kCreep = 0.004;          // inches per step towards the cell

// Non-zero when the photo cell sees the strip.
int photo_cell() {
    put_data(kPhotoCellQuery);
    return wait_for_Slo_Syn();
}

bool give_up(const char* why) {
    Home();
    notice(strprintf("Load Tool: %s; steps per inch stays %.3f", why, settings.steps));
    return false;
}

}  // namespace

bool calibrate_steps() {
    Settings& s = settings;
    if (!(s.unload > kBackOff) || !(s.steps > 0))
        return give_up("the distance between photo cells must be more than 0.1 in. and the "
                       "steps per inch more than 0");
    Home();
    float r = static_cast<float>(s.unload - kFirstApproach);
    strip_move(r);
    float q = s.steps * r;
    int seen = photo_cell();
    if (seen) r = static_cast<float>(s.unload - kBackOff);
    while (seen) {
        if (!(r > 0)) return give_up("the photo cell sees the strip even at home");
        Home();
        strip_move(r);
        seen = photo_cell();
        q = s.steps * r;
        if (seen) r = static_cast<float>(r - kBackOff);
    }
    // Creeping further than the whole distance means the cell will never see the strip.
    for (double crept = 0; !seen; crept += kCreep) {
        if (crept > s.unload) return give_up("the photo cell never saw the strip");
        run_move(static_cast<float>(s.steps * kCreep));
        q = static_cast<float>(q + s.steps * kCreep);
        seen = photo_cell();
    }
    float found = q / s.unload;
    std::string why = out_of_range(found, setting_fields()[0].range);
    if (!why.empty())
        return give_up(("it found " + number_text(found) + " steps per inch; " + why).c_str());
    s.steps = found;
    Home();
    strip_move(s.home);
    return true;
}
