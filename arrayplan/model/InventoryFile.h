// The inventory file: read into the controller list, written back with the planned configurations.
#pragma once

#include "arrayplan/model/ResultCodes.h"
#include "foundation/CString.h"
#include "foundation/TextFile.h"

class ControllerList;
class OutputFile;
class RaidConfiguration;
class RaidController;
class RunSettings;

// Fills the settings' machine type and serial number and the list. Success, or InventoryUnparsable (2)
// for unreadable content, ControllerUnsupported (3) for no controllers or a model the catalogue does not
// know.
ResultCode loadInventory(RunSettings& settings, const CString& path, ControllerList& controllers);
// The same for text given as the contents of the inventory file that path names in messages.
ResultCode loadInventoryText(RunSettings& settings, const CString& path, TextContents text,
                             ControllerList& controllers);

// Writes every controller with its configuration into output (opened) and commits it; false when a
// write or the commit fails: the file is then as it was.
[[nodiscard]] bool writeInventory(RunSettings& settings, OutputFile& output,
                                  const ControllerList& controllers);

// The size written for a "FILL" logical drive: the data space of its array left beside the array's
// other logical drives, never below 0.
long long fillSize(const RaidController& controller, const RaidConfiguration& configuration,
                   int logicalIndex);
