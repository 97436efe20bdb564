#include "arrayplan/model/ResultCodes.h"

namespace {

const char* const kMessages[] = {
    "Error parsing input policy file.\n",
    "Error parsing input inventory file.\n",
    "Unsupported controller type\n",
    "Unsupported RAID level for controller\n",
    "Unsupported stripe size for controller\n",
    "Number of arrays not supported by controller\n",
    "Number of physical drives in array not supported by controller\n",
    "Number of logical drives specified in array not supported by controller\n",
    "Not enough available drives to allocate hot spares\n",
    "Not enough same size drives to accommodate requested configuration\n",
    "Error opening input policy file.\n",
    "Error opening input inventory file.\n",
    "Error opening output inventory file.\n",
    "Error writing inventory file.\n",
    "Error opening output policy file.\n",
    "Error writing policy file.\n",
    "Partial drive sizing not supported by controller\n",
    "Unknown parameter.\n",
    "No Policy found that applies to input inventory\n",
};

constexpr int kCodeCount = static_cast<int>(sizeof kMessages / sizeof kMessages[0]);

} // namespace

const char* resultMessage(int code) {
    if (code < 1 || code > kCodeCount)
        return "Error in RAID Validation\n";
    return kMessages[code - 1];
}

int failureExitStatus(int code) {
    return code != 0 ? code : kUnclassifiedFailure;
}
