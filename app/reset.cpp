#include "app/reset.h"

#include "controller/commands.h"
#include "controller/replay.h"
#include "controller/serial_link.h"
#include "import/dxf.h"
#include "import/shapes.h"
#include "planning/walls.h"
#include "platform/clock.h"
#include "platform/exit.h"
#include "platform/idle.h"
#include "platform/serial.h"
#include "records/interrupted.h"
#include "records/job.h"
#include "records/lettering.h"
#include "records/notice.h"
#include "records/prodlog.h"
#include "records/progdir.h"
#include "records/progress.h"
#include "records/settings.h"
#include "records/units.h"
#include "sequencing/resume.h"
#include "sequencing/state.h"
#include "shell/jobs.h"
#include "shell/preferences.h"
#include "shell/status.h"
#include "shell/window_state.h"
#include "shell/work.h"

namespace {

// What belongs to the drawing on screen: its figures, what the reader noted
// about it, and the walls planned from it.
void reset_drawing() {
    reset_shapes();
    reset_dxf();
    reset_wall_list();
}

}  // namespace

void reset_all_state() {
    run_program_end_steps();
    reset_settings();
    reset_unit_setting();
    reset_lettering();
    reset_counters();
    reset_job_options();
    reset_message_line();
    directory.clear();
    reset_drawing();
    reset_seq_state();
    reset_com();
    reset_command_strings();
    reset_window_state();
    reset_status_line();
    reset_preferences();
    reset_work();
    reset_progress();
    reset_idle();
    reset_interrupted();
    reset_ledger();
    reset_resume();
    reset_jobs();
    recover_from_lost_controller(false);
    set_serial_device(nullptr);
    set_clock(nullptr);
    set_program_exit(nullptr);
}
