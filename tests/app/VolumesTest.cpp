#include "app/Volumes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace athanor::test {
namespace {

TEST(VolumesTest, SubFoldersOfTheMountParentsAndNetworkMountsAreFoundOnceEach) {
    TempDir dir;
    const auto media = dir / "media";
    const auto mnt = dir / "mnt";
    std::filesystem::create_directories(media / "USB STICK");
    std::filesystem::create_directories(media / "CARD");
    std::filesystem::create_directories(mnt / "share");
    std::ofstream(media / "not-a-folder.txt") << "x";
    {
        std::ofstream table(dir / "mounts");
        table << "/dev/sda1 / ext4 rw 0 0\n"
              << "server:/export " << (mnt / "share").string() << " nfs4 rw 0 0\n"
              << "//nas/docs /srv/nas\\040docs cifs rw 0 0\n"
              << "tmpfs /tmp tmpfs rw 0 0\n"
              << "garbage\n";
    }
    VolumeSources sources;
    sources.mountTable = dir / "mounts";
    sources.mountParents = {media, mnt, dir / "missing"};
    const auto volumes = findVolumes(sources);
    // Sorted by path: /srv before the temporary folder.
    ASSERT_EQ(volumes.size(), 4u);
    EXPECT_EQ(volumes[0].path, std::filesystem::path("/srv/nas docs"));
    EXPECT_TRUE(volumes[0].network);
    EXPECT_EQ(volumes[1].label, "CARD");
    EXPECT_EQ(volumes[2].label, "USB STICK");
    EXPECT_FALSE(volumes[2].network);
    EXPECT_EQ(volumes[3].path, mnt / "share");
    EXPECT_TRUE(volumes[3].network);
}

TEST(VolumesTest, NothingMountedIsAnEmptyListNotAnError) {
    VolumeSources sources;
    sources.mountTable = "/nonexistent/mounts";
    sources.mountParents = {"/nonexistent/media"};
    EXPECT_TRUE(findVolumes(sources).empty());
    EXPECT_EQ(decodeMountField("a\\040b\\011c\\"), std::string("a b\tc\\"));
}

}  // namespace
}  // namespace athanor::test
