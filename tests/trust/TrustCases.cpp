#include "TrustCases.h"

#include <iostream>

void PrintFigures(const std::string& line) {
    std::cout << "[ figures  ] " << line << std::endl;
}
