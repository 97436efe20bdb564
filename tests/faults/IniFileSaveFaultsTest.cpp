// Saving an INI document with each file-system call failing in turn: the file is either the new document
// or, with a failed save, exactly the old one, and no temporary file is left beside it.
#include "FaultSweep.h"

#include "foundation/IniFile.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Call = MemoryFileSystem::Call;

const char* const kPath = "/cfg/drvinfo.ini";
const std::string kOld = "; driver information\n[Driver Information]\nSupported Systems = 8837,8840\n"
                         "Category = Storage\n";

class IniFileSaveFaults : public ::testing::Test {
protected:
    // Loads the old file and edits it; the save is what the sweep fails.
    void Prepare(MemoryFileSystem& fileSystem) {
        fileSystem.AddFile(kPath, kOld);
        document_ = std::make_unique<IniFile>(CurrentFileSystem(), kPath, true);
        document_->SetValue("Driver Information", "Supported Systems", "8840", false, false);
        document_->SetValue("Driver Information", "Added", "yes", false, false);
    }

    std::unique_ptr<IniFile> document_;
};

TEST_F(IniFileSaveFaults, TheFileIsTheOldOrTheNewDocumentAndNothingElseIsLeft) {
    std::string expected;
    std::vector<InjectedFault> faults =
        CallsMadeBy([this](MemoryFileSystem& fileSystem) { Prepare(fileSystem); },
                    [this] { ASSERT_TRUE(document_->Save(CurrentFileSystem(), kPath)); });
    for (Call call : {Call::OpenForWriting, Call::Write, Call::Sync, Call::Close, Call::RenameFile})
        EXPECT_GT(CountOf(faults, call), 0) << "no call of a kind swept";
    {
        MemoryFileSystem fileSystem;
        ScopedFileSystem scoped(fileSystem);
        Prepare(fileSystem);
        ASSERT_TRUE(document_->Save(CurrentFileSystem(), kPath));
        expected = fileSystem.Content(kPath);
        document_.reset();
    }
    ASSERT_NE(expected, kOld);

    for (const InjectedFault& fault : faults) {
        SCOPED_TRACE(Describe(fault));
        MemoryFileSystem fileSystem;
        ScopedFileSystem scoped(fileSystem);
        Prepare(fileSystem);
        fileSystem.FailCall(fault.call, fault.nth);
        bool saved = document_->Save(CurrentFileSystem(), kPath);

        EXPECT_EQ(fileSystem.Content(kPath), saved ? expected : kOld);
        EXPECT_EQ(FilesBelow(fileSystem, "/cfg").size(), 1u) << "a temporary file was left";
        EXPECT_EQ(document_->IsDirty(), !saved);
        document_.reset(); // a failed save is retried here, with nothing failing any more
        EXPECT_EQ(fileSystem.Content(kPath), expected);
    }
}

TEST(IniFileUnreadable, ADocumentWhoseFileCouldNotBeReadIsNeverSavedOverIt) {
    MemoryFileSystem fileSystem;
    ScopedFileSystem scoped(fileSystem);
    fileSystem.AddFile(kPath, kOld);
    fileSystem.FailCall(Call::OpenForReading, 1);
    {
        IniFile document(CurrentFileSystem(), kPath, true);
        EXPECT_TRUE(document.IsUnreadable());
        document.SetValue("Driver Information", "Supported Systems", "8840", false, false);
        EXPECT_FALSE(document.Save(CurrentFileSystem(), kPath));
        EXPECT_FALSE(document.Flush());
        EXPECT_TRUE(document.Save(CurrentFileSystem(),
                                  "/cfg/elsewhere.ini")); // another file may take what the document holds
    }
    EXPECT_EQ(fileSystem.Content(kPath), kOld); // not even on destruction
    EXPECT_EQ(fileSystem.Content("/cfg/elsewhere.ini"), "[Driver Information]\nSupported Systems = 8840\n");

    // A file that is not there yet is simply created.
    IniFile created(CurrentFileSystem(), "/cfg/new.ini", true);
    EXPECT_FALSE(created.IsUnreadable());
    created.SetValue("Main", "Supported Systems", "7100", false, false);
    EXPECT_TRUE(created.Flush());
    EXPECT_TRUE(fileSystem.IsFile("/cfg/new.ini"));
}

} // namespace
