#include <unistd.h>

#include "sectoredit/cli/terminal.h"

namespace sectoredit::cli {

bool StderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }

}  // namespace sectoredit::cli
