// The parts of winsim_reset, one for each area that keeps simulated machine state.
#pragma once

namespace winsim {

void reset_services();
void reset_version();
void reset_spooler();
void reset_engine();
void reset_engine_front();
void reset_objects();
void reset_draw_log();
void reset_modules();
void reset_activation();
void reset_user_interface(); // windows, dialogs, drawing objects, sheets

} // namespace winsim
