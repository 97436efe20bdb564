// The toolkit editions installed beside the configurator, as its configuration file records them.
#pragma once

#include <QString>

class sd_xml;

struct sd_Edition {
    explicit sd_Edition(const char* editionKey) : key(editionKey) {}

    const char*
        key; // "dos", "winpe", "linux": prefix of its "_toolkit_dir", "_toolkit_version", "_installed"
    bool installed = false;
    QString version; // "//<key>_toolkit_version"
    QString folder;  // "//<key>_toolkit_dir", relative to the configurator's parent folder
};

struct sd_Editions {
    sd_Edition dos{"dos"};
    sd_Edition winpe{"winpe"};
    sd_Edition linux_{"linux"};

    bool AnyInstalled() const { return dos.installed || winpe.installed || linux_.installed; }
};

// Reads the three editions from the configuration file ("_installed" equal to "Yes").
sd_Editions ReadEditions(sd_xml& xml);
