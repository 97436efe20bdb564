// Names of the files that the configurator writes before they get their real names: a copied file and
// a saved XML file are written under such a name in their own folder and renamed when complete, so a
// killed or failed write never leaves a cut file under a real name.
//
// The names have one shape, "~sd" + 8 hexadecimal digits + ".tmp", so that a later run can tell its own
// leftovers from the user's files and remove them.
#pragma once

#include <QString>

class sd_platform;

namespace sd {

// A fresh temporary name in folder (a full path); another call gives another name.
QString TemporaryPathIn(const QString& folder);

// Whether a file name (no folder) has the shape of the names above: "~sd0a1b2c3d.tmp" yes,
// "~sdnotes.tmp" and "~sd0a1b2c3d.tmp.bak" no.
bool IsTemporaryName(const QString& fileName);

// Removes the files of that shape directly inside folder: what an interrupted run left. Best effort: a
// leftover that cannot be removed stays, and does no harm under its temporary name.
void RemoveTemporariesIn(sd_platform& platform, const QString& folder);

} // namespace sd
