#include "stagedesk/core/sd_editions.h"

#include "stagedesk/core/sd_xml.h"

namespace {

void ReadEdition(sd_xml& xml, sd_Edition& edition) {
    const QString key = edition.key;
    edition.installed = xml.GetXPathXML("//" + key + "_toolkit_installed", "stagedesk.xml") == "Yes";
    edition.version = xml.GetXPathXML("//" + key + "_toolkit_version", "stagedesk.xml");
    edition.folder = xml.GetXPathXML("//" + key + "_toolkit_dir", "stagedesk.xml");
}

} // namespace

sd_Editions ReadEditions(sd_xml& xml) {
    sd_Editions editions;
    ReadEdition(xml, editions.dos);
    ReadEdition(xml, editions.winpe);
    ReadEdition(xml, editions.linux_);
    return editions;
}
