// The check of the created configurations against the controllers' support files.
#pragma once

#include "arrayplan/model/ResultCodes.h"

class ControllerList;
class RunSettings;

// Success when some controller has a configuration and none of their arrays holds more drives than its
// support file allows for the RAID level of the array's first logical drive; 7 when one does; 10 when
// no controller has a configuration. An array that no logical drive uses has no level to look up and
// is not limited here. A configuration whose logical drives are all "1" or "VOLUME" loses its stripe
// size, which those levels do not use.
ResultCode checkConfigCreated(const RunSettings& settings, ControllerList& controllers);
