// Item description files, as bytes, through the XML access and the disc validation.
#include "stagedesk/core/sd_prompt.h"
#include "stagedesk/core/sd_validation.h"
#include "stagedesk/core/sd_xml.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

class SilentPrompt : public sd_prompt {
public:
    Answer Ask(const QString&, const QString&, Buttons, Icon) override { return Answer::Cancel; }
};

// A home folder for the item file and a small disc to validate against, made once.
struct Scratch {
    Scratch() {
        QDir root(folder.path());
        root.mkpath("home/xml");
        root.mkpath("disc/i386");
        Write("disc/CDROM_S.1", "Sample disc 1\r\n");
        Write("disc/DISCID.TXT", "SAMPLE-0042\r\nsecond line\r\n");
        Write("disc/i386/TXTSETUP.SIF", "[Strings]\r\nProductName = \"Sample\"\r\n");
        Write("disc/i386/SETUPP.INI", "[Pid]\r\nPid = 51882335\r\nBuild = 3790\r\n");
    }
    void Write(const QString& relative, const QByteArray& bytes) const {
        QFile file(folder.path() + "/" + relative);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(bytes);
    }
    QString Path(const QString& relative) const { return folder.path() + "/" + relative; }

    QTemporaryDir folder;
};

// The queries the copy engine makes of an item file.
const char* const kQueries[] = {"//media_name",
                                "//name[../media_name]",
                                "//default_path",
                                "//size",
                                "//media_quantity",
                                "//mediaondvd",
                                "//update_media/file",
                                "//check_file/path",
                                "//remove_directory/path",
                                "//cd/post_processing/directory_copy[1]/path",
                                "//dvd/media[@number=1]/media_copy/directory/path"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Scratch scratch;
    scratch.Write("home/xml/item.xml", QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    sd_xml xml(scratch.Path("home"));
    for (const char* query : kQueries) {
        xml.GetXPathXML(query, "item.xml");
        xml.GetMultiXPathXML(query, "item.xml");
    }
    xml.CheckNodeExists("pre_processing", "item.xml");
    SilentPrompt prompt;
    sd_validation validation(xml, prompt);
    for (const char* mediaType : {"cd", "dvd"}) {
        for (int disc = 1; disc <= 3; ++disc)
            validation.PerformValidation("item.xml", scratch.Path("disc"), disc, mediaType);
    }
    return 0;
}
