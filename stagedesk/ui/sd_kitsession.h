// What the windows share: the configurator's folder, the window thread's access to the configuration,
// the message boxes shown over each window, the file system, and the desktop service that opens documents and
// web pages.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

class sd_xml;
class sd_WindowBoxes;
class sd_platform;

struct sd_KitSession {
    QString homeDirectory; // holds the "xml" folder
    sd_xml& xml;
    sd_WindowBoxes& boxes; // called on the window's thread only; each window asks over itself
    sd_platform& platform;
    std::function<bool(const QUrl&)> openUrl; // false when nothing could open the address
};
