// Whether a person watches the command line's progress.
#pragma once

namespace sectoredit::cli {

bool StderrIsTerminal();

}  // namespace sectoredit::cli
