#include "drvstage/DestinationSafety.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

DestinationRisk Check(const fs::path& source, const fs::path& destination, bool empties = true) {
    return CheckDestination(source.string().c_str(), destination.string().c_str(), empties);
}

TEST(DestinationSafety, RefusesEveryOverlapWithTheSource) {
    TempDir dir;
    fs::path source = dir.Path() / "set";
    fs::create_directories(source / "drv1");
    fs::create_directories(dir.Path() / "elsewhere");

    EXPECT_EQ(Check(source, source), DestinationRisk::OverlapsSource);
    EXPECT_EQ(Check(source, source.string() + "/"), DestinationRisk::OverlapsSource);
    EXPECT_EQ(Check(source, source / "drv1"), DestinationRisk::OverlapsSource);
    EXPECT_EQ(Check(source, source / "new" / "out", false), DestinationRisk::OverlapsSource)
        << "a destination still to be created inside the source";
    EXPECT_EQ(Check(source, dir.Path()), DestinationRisk::OverlapsSource);
    EXPECT_EQ(Check(source / "drv1", dir.Path(), false), DestinationRisk::OverlapsSource);

    EXPECT_EQ(Check(source, dir.Path() / "elsewhere"), DestinationRisk::None);
    EXPECT_EQ(Check(source, dir.Path() / "set2"), DestinationRisk::None) << "a name that merely begins alike";
    EXPECT_EQ(Check(source / "drv1", source / "drv2"), DestinationRisk::None);
}

TEST(DestinationSafety, FollowsLinksLikeTheSystem) {
    TempDir dir;
    fs::path source = dir.Path() / "set";
    fs::create_directories(source / "drv1");
    fs::create_directories(dir.Path() / "links");
    fs::create_directory_symlink(source / "drv1", dir.Path() / "links" / "into");
    fs::create_directory_symlink(dir.Path(), dir.Path() / "links" / "above");

    EXPECT_EQ(Check(source, dir.Path() / "links" / "into"), DestinationRisk::OverlapsSource);
    EXPECT_EQ(Check(source, dir.Path() / "links" / "into" / "sub"), DestinationRisk::OverlapsSource);
    EXPECT_EQ(Check(source, dir.Path() / "links" / "above"), DestinationRisk::OverlapsSource);
    EXPECT_EQ(Check(dir.Path() / "links" / "into", source), DestinationRisk::OverlapsSource);
}

TEST(DestinationSafety, RootsCannotBeEmptiedButMayReceiveAdsDrivers) {
    TempDir dir;
    fs::path source = dir.Path() / "set";
    fs::create_directories(source);
    fs::create_directory_symlink("/", dir.Path() / "root");

    EXPECT_EQ(Check(source, "/"), DestinationRisk::FileSystemRoot);
    EXPECT_EQ(Check(source, "//"), DestinationRisk::FileSystemRoot);
    EXPECT_EQ(Check(source, dir.Path() / "root"), DestinationRisk::FileSystemRoot);
    EXPECT_EQ(Check(source, "/", false), DestinationRisk::OverlapsSource) << "the root holds the source";
    EXPECT_EQ(Check(source, dir.Path() / "root", false), DestinationRisk::OverlapsSource);
    EXPECT_FALSE(DestinationRiskMessage(DestinationRisk::FileSystemRoot, "/s", "/").IsEmpty());
}

} // namespace
