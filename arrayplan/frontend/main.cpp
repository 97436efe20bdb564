#include "arrayplan/frontend/ARRAYPLANSupport.h"

#include <memory>
#include <new>

int main(int argc, char** argv) {
    std::unique_ptr<ARRAYPLANSupport> support(new (std::nothrow) ARRAYPLANSupport());
    if (!support) {
        RunSettings::printPlain("Fatal Error Initializing Validation RAID Support \n");
        return 255;
    }
    return support->run(argc, argv);
}
