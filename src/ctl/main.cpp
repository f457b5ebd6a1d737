#include <iostream>

#include "ctl/ctl_commands.h"

int main(int argc, char* argv[])
{
    return tavrix::ctl::RunCtl(argc, argv, std::cout, std::cerr);
}
