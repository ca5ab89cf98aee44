#pragma once
// One conversion from the command line: the input opened, the output chosen from the
// arguments and the stored settings, the composition built and written through the output
// graph Convert uses, and the wait for its end.
#include "cli/convert_options.h"
#include "cli/run_report.h"

namespace cli {

// The exit status: 0 when the whole file was written, 1 after saying why it was not, 130
// when Ctrl-C or SIGTERM stopped it (the file keeps what was written). `report` gets the
// points and times used and the last message.
int RunConversion(const ConvertOptions& options, RunReport& report);

} // namespace cli
