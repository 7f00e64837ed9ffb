#include <io.h>

#include <cstdio>

#include "sectoredit/cli/terminal.h"

namespace sectoredit::cli {

bool StderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

}  // namespace sectoredit::cli
