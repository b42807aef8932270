// `vendrak-cli`, started by `vendrak` for help, version and batch runs: what
// needs no graphical side runs here; the window and the pictures are the
// other program's.
#include "app/start.h"

int main(int argc, char** argv)
{
    if (const std::optional<int> status = vendrak::RunWithoutGraphics(argc, argv))
        return *status;
    return vendrak::StartGraphicalProgram(argv);
}
