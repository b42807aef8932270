// The program with the window, started by `vendrak`: everything else lives
// in the application library.
#include "app/sub_main.h"

int main(int argc, char** argv)
{
    return vendrak::Main(argc, argv);
}
