#include "drvstage/Run.h"
#include "foundation/platform/CommandLine.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> arguments = ProgramArguments(argc, argv);
    std::vector<const char*> values;
    for (const std::string& argument : arguments)
        values.push_back(argument.c_str());
    values.push_back(nullptr);
    return RunDrvstage(static_cast<int>(arguments.size()), values.data());
}
