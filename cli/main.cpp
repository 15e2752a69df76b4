#include <iostream>
#include <string>
#include <vector>

#include "kelvara_cli.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const int code = RunKelvara(args, std::cout, std::cerr);
    std::cout.flush();
    return code;
}
