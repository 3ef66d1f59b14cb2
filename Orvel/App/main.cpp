#include "OrvelMain.h"

int main(int argc, char *argv[])
{
    return OrvelMain::main(argc, argv);
}
