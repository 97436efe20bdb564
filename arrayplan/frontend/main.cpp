#include "arrayplan/fleet/FleetCheck.h"
#include "arrayplan/frontend/ARRAYPLANSupport.h"
#include "foundation/Console.h"
#include "foundation/platform/CommandLine.h"
#include "foundation/platform/FileSystem.h"

#include <memory>
#include <new>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::unique_ptr<ARRAYPLANSupport> support(new (std::nothrow)
                                                  ARRAYPLANSupport(Console::Instance(), CurrentFileSystem()));
    if (!support) {
        Console::Instance().Out("Fatal Error Initializing Validation RAID Support \n");
        return 255;
    }
    std::vector<std::string> arguments = ProgramArguments(argc, argv);
    std::vector<const char*> values;
    for (const std::string& argument : arguments)
        values.push_back(argument.c_str());
    values.push_back(nullptr);
    int count = static_cast<int>(arguments.size());
    CommandLine fleet;
    if (readFleetCommandLine(count, values.data(), fleet))
        return runFleetCheck(Console::Instance(), CurrentFileSystem(), fleet);
    return support->run(count, values.data());
}
