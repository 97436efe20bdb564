#include "stagedesk/core/sd_manifest.h"
#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_sha256.h"
#include "stagedesk/core/sd_text.h"
#include "stagedesk/core/sd_verify.h"

#include "sd_fakes.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QByteArray kAbc =
    "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"; // SHA-256 of "abc"
const QByteArray kEmpty = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

TEST(Sha256, GivesTheStandardDigestsWhetherFedWholeOrInPieces) {
    sd_Sha256 hash;
    hash.Update("abc", 3);
    EXPECT_EQ(hash.HexDigest(), kAbc);
    EXPECT_EQ(hash.HexDigest(), kEmpty); // starts over after a digest
    hash.Update("a", 1);
    hash.Update("bc", 2);
    EXPECT_EQ(hash.HexDigest(), kAbc);
}

TEST(Manifest, IsWrittenAsSha256sumWritesItAndReadBack) {
    const QList<sd_ManifestEntry> entries = {
        {"i386/NTLDR", kAbc}, {"odd\\name", kEmpty}, {"two\nlines", kAbc}};
    const QByteArray text = sd::ManifestText(entries);
    EXPECT_EQ(text, kAbc + "  i386/NTLDR\n\\" + kEmpty + "  odd\\\\name\n\\" + kAbc + "  two\\nlines\n");
    QList<sd_ManifestEntry> read;
    int badLine = 0;
    ASSERT_TRUE(sd::ParseManifest(text, read, badLine));
    ASSERT_EQ(read.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(read[i].path, entries[i].path);
        EXPECT_EQ(read[i].sha256, entries[i].sha256);
    }
}

TEST(Manifest, NamesTheFirstLineThatIsNotOfTheForm) {
    const struct {
        QByteArray text;
        int badLine;
    } cases[] = {
        {kAbc + "  a\n" + kAbc.left(63) + "  b\n", 2}, // a digit short
        {kAbc + " a\n", 1},                            // one blank
        {"\n" + kAbc + "  \n", 2},                     // no file
        {kAbc.left(63) + "g  a\n", 1},                 // not hexadecimal
        {"\\" + kAbc + "  a\\tb\n", 1},                // an escape sha256sum never writes
    };
    for (const auto& c : cases) {
        QList<sd_ManifestEntry> read;
        int badLine = 0;
        EXPECT_FALSE(sd::ParseManifest(c.text, read, badLine)) << c.text.toStdString();
        EXPECT_EQ(badLine, c.badLine) << c.text.toStdString();
    }
    QList<sd_ManifestEntry> read;
    int badLine = 0;
    EXPECT_TRUE(sd::ParseManifest(kAbc.toUpper() + " *binary\r\n", read, badLine)); // sha256sum -b, CRLF
    EXPECT_EQ(read.value(0).path, "binary");
    EXPECT_EQ(read.value(0).sha256, kAbc);
}

TEST(PartialManifest, KeepsDiscsAndStampsAndPassesOverACutLastLine) {
    sd_PartialCopy copy;
    copy.itemFile = "srv 2003.xml";
    copy.completeDiscs = {2, 1};
    copy.files = {{"d1/a b.txt", kAbc, 3, 1700000000123, 1}, {"post\\x", kEmpty, 0, 5, 0}};
    const QByteArray text = sd::PartialText(copy);
    sd_PartialCopy read;
    ASSERT_TRUE(sd::ParsePartial(text, read));
    EXPECT_EQ(read.itemFile, copy.itemFile);
    EXPECT_EQ(read.completeDiscs, copy.completeDiscs);
    ASSERT_EQ(read.files.size(), 2);
    EXPECT_EQ(read.files[0].path, "d1/a b.txt");
    EXPECT_EQ(read.files[0].modifiedMs, 1700000000123);
    EXPECT_EQ(read.files[1].path, "post\\x");
    EXPECT_EQ(read.files[1].disc, 0);

    ASSERT_TRUE(sd::ParsePartial(text + "file 1 3 17", read)); // killed while writing a line
    EXPECT_EQ(read.files.size(), 2);
    EXPECT_FALSE(sd::ParsePartial("something else\nitem x\n", read));
    EXPECT_FALSE(sd::ParsePartial(text + "file 1 x 1 " + kAbc + " y\n", read));
}

struct BytesCase {
    qint64 copied, total, secondsLeft;
    const char* shown;
};

class BytesText : public testing::TestWithParam<BytesCase> {};

TEST_P(BytesText, ShowsAmountsAndTimeLeft) {
    EXPECT_EQ(sd::BytesProgressText(GetParam().copied, GetParam().total, GetParam().secondsLeft),
              GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Progress, BytesText,
    testing::Values(BytesCase{0, 0, -1, "0 bytes of 0 bytes"},
                    BytesCase{1023, 1024, 0, "1023 bytes of 1.0 KB, 0 s left"},
                    BytesCase{1572864, 10485760, 75, "1.5 MB of 10.0 MB, 1 min 15 s left"},
                    BytesCase{1073741824, 5368709120LL, 3725, "1.0 GB of 5.0 GB, 1 h 2 min left"},
                    BytesCase{10, 20, 59, "10 bytes of 20 bytes, 59 s left"}));

// A copied folder and its manifest, then one change to it.
class VerifyFolderTest : public testing::Test {
protected:
    void SetUp() override {
        kit.Write("kit/os/W2K3/i386/NTLDR", "abc");
        kit.Write("kit/os/W2K3/empty.txt", "");
        kit.Write("kit/os/W2K3.sha256", kAbc + "  i386/NTLDR\n" + kEmpty + "  empty.txt\n");
    }
    sd_ItemCheck Check() {
        return sd::VerifyFolder(kit.Path("kit/os/W2K3"), [&](qint64 hashed, qint64 total) {
            lastHashed = hashed;
            lastTotal = total;
        });
    }
    TestKit kit;
    qint64 lastHashed = -1, lastTotal = -1;
};

TEST_F(VerifyFolderTest, AnUntouchedFolderMatchesAndTheProgressEndsAtItsBytes) {
    const sd_ItemCheck check = Check();
    EXPECT_TRUE(check.Matches());
    EXPECT_EQ(check.files, 2);
    EXPECT_EQ(lastHashed, 3);
    EXPECT_EQ(lastTotal, 3);
    EXPECT_EQ(sd::CheckReport(check),
              QStringList{sd::ShownPath(kit.Path("kit/os/W2K3")) + ": all 2 files match"});
}

TEST_F(VerifyFolderTest, NamesEachFileChangedMissingOrAdded) {
    kit.Write("kit/os/W2K3/i386/NTLDR", "abd"); // one byte
    QFile::remove(kit.Path("kit/os/W2K3/empty.txt"));
    kit.Write("kit/os/W2K3/i386/new.dll", "x");
    kit.Write("kit/os/W2K3/~sd0a1b2c3d.tmp", "a copy's leftover");
    const sd_ItemCheck check = Check();
    EXPECT_FALSE(check.Matches());
    EXPECT_EQ(check.changed, QStringList{"i386/NTLDR"});
    EXPECT_EQ(check.missing, QStringList{"empty.txt"});
    EXPECT_EQ(check.added, QStringList{"i386/new.dll"});
    EXPECT_EQ(sd::CheckReport(check),
              (QStringList{sd::ShownPath(kit.Path("kit/os/W2K3")) + ": 1 changed, 1 missing, 1 added",
                           "  changed: i386/NTLDR", "  missing: empty.txt", "  added: i386/new.dll"}));
    EXPECT_EQ(sd::VerifySummary({check, sd_ItemCheck()}), "1 of 2 items differ from their manifests.");
}

TEST_F(VerifyFolderTest, AnUnreadableManifestIsADifferenceNotAMatch) {
    kit.Write("kit/os/W2K3.sha256", "not a manifest\n");
    const sd_ItemCheck check = Check();
    EXPECT_FALSE(check.Matches());
    EXPECT_TRUE(check.error.contains("line 1")) << check.error.toStdString();
}

} // namespace
