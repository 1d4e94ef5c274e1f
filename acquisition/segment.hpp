// The acquisition segment: the System V shared-memory buffer in which an
// acquisition process keeps its last 600 packets.
//
// Its key, size, creation flags and layout are the contract with that
// process. The plug-ins, the stand-in acquisition program and the tests all
// take them from this header, and nothing else names the key.
//
// Layout: 600 packets back to back, each 28,165 int32 words in host byte
// order: five header words, then 28,160 samples. The meaning of the header
// words belongs to whoever fills the packets.
#pragma once

#include <sys/ipc.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>

namespace nrx::acquisition {

constexpr key_t segment_key = 0x39457F73;
// Whoever comes first creates the segment (zero-filled), readable by all,
// writable by its owner.
constexpr int segment_flags = IPC_CREAT | 0644;
static_assert(segment_flags == 01644, "IPC_CREAT is 01000 on every supported platform");

constexpr std::int32_t packet_count = 600;
constexpr std::int32_t header_words = 5;
constexpr std::int32_t packet_samples = 28160;
constexpr std::int32_t packet_words = header_words + packet_samples;
constexpr std::size_t packet_bytes = packet_words * sizeof(std::int32_t);
constexpr std::size_t segment_bytes = packet_count * packet_bytes;
static_assert(packet_bytes == 112660 && segment_bytes == 67596000, "the layout is fixed by the acquisition process");

// Packet `index` (zero-based) of a segment whose first word is at `segment`:
// its header words are [0, 5), its samples [5, 28165).
inline std::int32_t* packet(std::int32_t* segment, std::int32_t index)
{
    return segment + static_cast<std::size_t>(index) * packet_words;
}
inline const std::int32_t* packet(const std::int32_t* segment, std::int32_t index)
{
    return segment + static_cast<std::size_t>(index) * packet_words;
}

// One attachment of the segment to this process, detached at the latest when
// the object goes out of scope, so that a call ended by an error never leaves
// the 67 MB mapping behind.
//
//   Attachment segment;
//   if (const char* failed = segment.attach()) ...;   // "shmget" or "shmat"
//   ... segment.words() ...
//   if (const char* failed = segment.detach()) ...;   // "shmdt"
class Attachment {
public:
    Attachment() = default;
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;
    // Detaches if still attached; a failure cannot be reported here.
    ~Attachment();

    // shmget(key, size, flags | extra_flags), then shmat(id, no address hint,
    // 0: read and write). Returns nullptr once attached, otherwise the name of
    // the call that failed, "shmget" or "shmat", with errno telling why; after
    // a failed shmat, id() still names the segment obtained.
    const char* attach(int extra_flags = 0);

    // shmdt. Returns nullptr, or "shmdt" when it fails; either way the object
    // no longer counts itself attached.
    const char* detach();

    int id() const { return id_; }
    // The first word of the attached segment (nullptr when not attached).
    std::int32_t* words() const { return words_; }

private:
    int id_ = -1;
    std::int32_t* words_ = nullptr;
};

}  // namespace nrx::acquisition
