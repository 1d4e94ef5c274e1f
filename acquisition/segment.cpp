#include "acquisition/segment.hpp"

#include <sys/shm.h>

namespace nrx::acquisition {

Attachment::~Attachment()
{
    if (words_ != nullptr) {
        shmdt(words_);
    }
}

const char* Attachment::attach(int extra_flags)
{
    id_ = shmget(segment_key, segment_bytes, segment_flags | extra_flags);
    if (id_ == -1) {
        return "shmget";
    }
    void* address = shmat(id_, nullptr, 0);
    if (address == reinterpret_cast<void*>(-1)) {
        return "shmat";
    }
    words_ = static_cast<std::int32_t*>(address);
    return nullptr;
}

const char* Attachment::detach()
{
    void* address = words_;
    words_ = nullptr;
    return shmdt(address) == -1 ? "shmdt" : nullptr;
}

}  // namespace nrx::acquisition
