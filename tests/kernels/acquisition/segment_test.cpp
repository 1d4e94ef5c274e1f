// Obtaining, attaching and detaching the real segment. The suite runs only
// in the private IPC namespace of scripts/private_ipc.sh, through which ctest
// launches it, and each test starts without the segment.
#include "acquisition/segment.hpp"

#include <sys/shm.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "private_ipc.hpp"

namespace {

using namespace nrx::acquisition;

class PrivateSegmentTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!nrx_test::in_private_ipc_namespace()) {
            GTEST_SKIP() << "not run through scripts/private_ipc.sh; tests that touch the acquisition segment run "
                            "only in a private IPC namespace";
        }
        const int id = shmget(segment_key, 0, 0);
        if (id != -1) {
            ASSERT_EQ(shmctl(id, IPC_RMID, nullptr), 0) << std::strerror(errno);
        }
    }
};

shmid_ds status_of(int id)
{
    shmid_ds status{};
    EXPECT_EQ(shmctl(id, IPC_STAT, &status), 0) << std::strerror(errno);
    return status;
}

TEST_F(PrivateSegmentTest, FirstAttachCreatesTheZeroFilledSegment)
{
    Attachment segment;
    ASSERT_EQ(segment.attach(), nullptr) << std::strerror(errno);
    const shmid_ds status = status_of(segment.id());
    EXPECT_EQ(status.shm_segsz, 67596000u);
    EXPECT_EQ(status.shm_perm.mode & 0777, 0644u);
    EXPECT_EQ(status.shm_perm.__key, 0x39457F73);
    EXPECT_EQ(status.shm_nattch, 1u);
    for (std::int32_t p : {0, 599}) {
        EXPECT_EQ(packet(segment.words(), p)[0], 0);
        EXPECT_EQ(packet(segment.words(), p)[packet_words - 1], 0);
    }
    EXPECT_EQ(segment.detach(), nullptr);
    EXPECT_EQ(segment.words(), nullptr);
    EXPECT_EQ(status_of(segment.id()).shm_nattch, 0u);
}

TEST_F(PrivateSegmentTest, AttachmentsShareTheSegmentAndDetachWhenDestroyed)
{
    int id = -1;
    {
        Attachment writer;
        ASSERT_EQ(writer.attach(), nullptr);
        id = writer.id();
        packet(writer.words(), 599)[packet_words - 1] = 42;
        Attachment reader;
        ASSERT_EQ(reader.attach(), nullptr);
        EXPECT_EQ(reader.id(), id);
        EXPECT_NE(reader.words(), writer.words());
        EXPECT_EQ(packet(reader.words(), 599)[packet_words - 1], 42);
        EXPECT_EQ(status_of(id).shm_nattch, 2u);
    }
    EXPECT_EQ(status_of(id).shm_nattch, 0u);
}

TEST_F(PrivateSegmentTest, TooSmallSegmentWithTheKeyCannotBeObtained)
{
    const int small = shmget(segment_key, 4096, segment_flags);
    ASSERT_NE(small, -1) << std::strerror(errno);
    Attachment segment;
    EXPECT_STREQ(segment.attach(), "shmget");
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(segment.words(), nullptr);
    EXPECT_EQ(status_of(small).shm_segsz, 4096u);
    // A segment of at least the size is fine; the layout uses its start.
    ASSERT_EQ(shmctl(small, IPC_RMID, nullptr), 0);
    ASSERT_NE(shmget(segment_key, segment_bytes + 4096, segment_flags), -1);
    EXPECT_EQ(segment.attach(), nullptr);
}

TEST_F(PrivateSegmentTest, ExclusiveAttachTellsAnExistingSegmentApart)
{
    Attachment first;
    ASSERT_EQ(first.attach(IPC_EXCL), nullptr);
    Attachment second;
    EXPECT_STREQ(second.attach(IPC_EXCL), "shmget");
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(second.attach(), nullptr);
}

}  // namespace
