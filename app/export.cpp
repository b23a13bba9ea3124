// zel --export-dxf: the drawing's figures, as read, written as an R12 DXF
// drawing that any CAD program reads, one file per job.
#include <cstdio>
#include <string>

#include "app/modes.h"
#include "import/export.h"
#include "import/shapes.h"
#include "records/settings.h"

int run_export(const CommandLine& cl) {
    // Reading the drawing uses Close Figure alone.
    if (int status = read_drawing(cl, "exported", {&Settings::closed_figure}); status != 0)
        return status;
    if (std::string why = export_r12(cl.export_path); !why.empty()) {
        std::fprintf(stderr, "zel: %s was not written: %s\n", cl.export_path.c_str(), why.c_str());
        return 1;
    }
    std::printf("%d figure%s written to %s\n", shapes.objects, shapes.objects == 1 ? "" : "s",
                cl.export_path.c_str());
    return 0;
}
