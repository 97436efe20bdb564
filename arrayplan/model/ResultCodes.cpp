#include "arrayplan/model/ResultCodes.h"

#include <iterator>

namespace {

struct CodeMessage {
    ResultCode code;
    const char* message;
};

const CodeMessage kMessages[] = {
    {ResultCode::PolicyUnparsable, "Error parsing input policy file.\n"},
    {ResultCode::InventoryUnparsable, "Error parsing input inventory file.\n"},
    {ResultCode::ControllerUnsupported, "Unsupported controller type\n"},
    {ResultCode::RaidLevelUnsupported, "Unsupported RAID level for controller\n"},
    {ResultCode::StripeSizeUnsupported, "Unsupported stripe size for controller\n"},
    {ResultCode::ArrayCountUnsupported, "Number of arrays not supported by controller\n"},
    {ResultCode::ArrayDrivesUnsupported, "Number of physical drives in array not supported by controller\n"},
    {ResultCode::LogicalDrivesUnsupported,
     "Number of logical drives specified in array not supported by controller\n"},
    {ResultCode::NoDrivesForHotSpares, "Not enough available drives to allocate hot spares\n"},
    {ResultCode::NotEnoughSameSizeDrives,
     "Not enough same size drives to accommodate requested configuration\n"},
    {ResultCode::InputPolicyUnopenable, "Error opening input policy file.\n"},
    {ResultCode::InputInventoryUnopenable, "Error opening input inventory file.\n"},
    {ResultCode::OutputInventoryUnopenable, "Error opening output inventory file.\n"},
    {ResultCode::InventoryUnwritable, "Error writing inventory file.\n"},
    {ResultCode::OutputPolicyUnopenable, "Error opening output policy file.\n"},
    {ResultCode::PolicyUnwritable, "Error writing policy file.\n"},
    {ResultCode::PartialSizingUnsupported, "Partial drive sizing not supported by controller\n"},
    {ResultCode::UnknownParameter, "Unknown parameter.\n"},
    {ResultCode::NoPolicyApplies, "No Policy found that applies to input inventory\n"},
};

} // namespace

const char* resultMessage(ResultCode code) {
    for (const CodeMessage& entry : kMessages) {
        if (entry.code == code)
            return entry.message;
    }
    return "Error in RAID Validation\n";
}

int failureExitStatus(ResultCode code) {
    return code != ResultCode::Success ? codeNumber(code) : kUnclassifiedFailure;
}
