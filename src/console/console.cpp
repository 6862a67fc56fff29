#include "console/console.h"

namespace console {

int runConsole(const ConsoleOptions&, std::istream&, std::ostream& out)
{
    out << "error: the console is not built yet\n";
    return 1;
}

}  // namespace console
