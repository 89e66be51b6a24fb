// winsim_reset: the host's way back to a fresh machine between tests.
#include "reset.h"

#include <winsim_host.h>

extern "C" void winsim_reset(void) {
    winsim::reset_engine_front();
    winsim::reset_spooler();
    winsim::reset_engine();
    winsim::reset_objects();
    winsim::reset_draw_log();
    winsim::reset_version();
    winsim::reset_services();
    winsim::reset_user_interface();
    winsim::reset_modules();
    winsim::reset_activation();
}
