// The lock that keeps a second program off a profile, on profiles of every kind.
#include <gtest/gtest.h>

#include <filesystem>

#include "assembly/program.h"
#include "assembly/services.h"
#include "platform/config.h"
#include "platform/single_user.h"
#include "runtime/app.h"
#include "support/temp_dir.h"

using platform::FileLock;

TEST(ProfileLock, ProfileIsLockedOrTheFailureReported)
{
    testing_support::TempDir dir;
    runtime::App apps[4];
    auto lock = [&apps, n = 0](const std::string& profile) mutable {
        assembly::installServices(apps[n], std::make_shared<platform::Config>(), { profile, true });
        return assembly::lockProfile(apps[n++]);
    };
    const auto first = lock(dir.file("new/profile"));
    EXPECT_EQ(first->state(), FileLock::Held) << first->error();
    EXPECT_EQ(lock(dir.file("new/profile"))->state(), FileLock::Busy);

    testing_support::writeBytes(dir.path() / "file", "x");
    const auto underAFile = lock(dir.file("file/profile"));
    EXPECT_EQ(underAFile->state(), FileLock::Unavailable);
    EXPECT_NE(underAFile->error().find("file/profile"), std::string::npos) << underAFile->error();
    std::filesystem::create_directory(dir.path() / "shared");
    std::filesystem::permissions(dir.path() / "shared", std::filesystem::perms::all);
    const auto shared = lock(dir.file("shared"));
    EXPECT_EQ(shared->state(), FileLock::Unavailable);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "shared/my documents"));
}
