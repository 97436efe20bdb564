// The window's check of the copied kit against its manifests (Tools > Verify Kit...): a progress
// dialog in bytes while a worker hashes, then a message with the summary and, as its details, what
// each item found.
#pragma once

#include <QString>

class QWidget;
class sd_xml;

namespace sd {

void ShowKitVerification(QWidget* parent, sd_xml& xml, const QString& baseDirectory);

} // namespace sd
