#include "tools/FormTool.h"

#include <iostream>

int main(int argc, char** argv)
{
    return fw::RunFormTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
