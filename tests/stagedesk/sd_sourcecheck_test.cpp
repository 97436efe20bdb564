// A source that the copy would remove before reading it is refused on the paths page.
#include "stagedesk/core/sd_destination.h"
#include "stagedesk/core/sd_xml.h"

#include "sd_fakes.h"

#include <QFile>
#include <functional>
#include <gtest/gtest.h>

namespace {

TEST(SourceCheck, ASourceThatTheCopyRemovesIsRefusedWithBothFolders) {
    struct Case {
        const char* what;
        const char* source;  // below the kit's folder
        const char* removed; // the folder named by the refusal, or "" when the source is accepted
        QString itemBefore;  // item elements before its disc
        std::function<void(TestKit&)> arrange = {};
    };
    const QString pre = "<pre_processing><remove_directory><path>%sdroot%\\os\\%osdir%.old</path>"
                        "</remove_directory></pre_processing>";
    const std::vector<Case> cases = {
        {"the existing target itself", "kit/os/DEST", "kit/os/DEST", ""},
        {"a folder inside the existing target", "kit/os/DEST/media/i386", "kit/os/DEST", ""},
        {"inside a target that the item keeps", "kit/os/DEST/media", "", "<skip_path_check/>"},
        {"a neighbour whose name starts alike", "kit/os/DEST2/media", "", ""},
        {"a folder that holds the target", "kit/os", "", ""},
        {"inside a folder that pre-processing removes", "kit/os/DEST.old/media", "kit/os/DEST.old", pre},
        {"a link into the existing target", "link", "kit/os/DEST", "",
         [](TestKit& kit) { QFile::link(kit.Path("kit/os/DEST/media"), kit.Path("link")); }},
#ifdef __linux__
        // Another folder on a file system that tells letter case apart.
        {"a folder whose name differs in letter case", "kit/os/dest/media", "", ""},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestKit kit;
        kit.Item("item.xml", "<item>" + c.itemBefore + "<cd><media number=\"1\"/></cd></item>");
        for (const char* folder : {"kit/os/DEST/media/i386", "kit/os/DEST2/media", "kit/os/DEST.old/media"})
            kit.Write(QString(folder) + "/f.txt", "x");
#ifdef __linux__
        kit.Write("kit/os/dest/media/f.txt", "x");
#endif
        if (c.arrange)
            c.arrange(kit);
        sd_xml xml(kit.Home());
        ScriptedPrompt prompt;
        FakePlatform platform;
        const sd_CopyJob job{kit.Home(), "item.xml", kit.Path(c.source), "DEST", "os", kit.Base(), "dostk"};
        const bool refused = *c.removed != '\0';
        EXPECT_EQ(sd::AcceptSource(platform, xml, job, prompt), !refused);
        if (!refused) {
            EXPECT_TRUE(prompt.asked.empty());
            continue;
        }
        ASSERT_EQ(prompt.Count(sd::kSourceRemovedCaption), 1);
        EXPECT_EQ(prompt.asked[0].text, "The selected directory:\n\n" + kit.Path(c.source) +
                                            "\n\nis, or lies inside, the directory:\n\n" +
                                            kit.Path(c.removed) +
                                            "\n\nwhich the copy removes before it reads from the source. "
                                            "Please choose a different directory.");
    }
}

} // namespace
