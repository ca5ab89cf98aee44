#pragma once
// One conversion from the command line: the input opened, the output chosen from the
// arguments and the stored settings, the composition built and written through the output
// graph Convert uses, and the wait for its end.
#include "cli/convert_options.h"

namespace cli {

// The exit status: 0 when the whole file was written, 1 after saying why it was not, 130
// when Ctrl-C or SIGTERM stopped it (the file keeps what was written).
int RunConversion(const ConvertOptions& options);

} // namespace cli
