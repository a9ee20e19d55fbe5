#include "core/audio/SampleBlocks.h"

#include <algorithm>

SampleBlocks::SampleBlocks(int blockLength) : blockLength_(std::max(blockLength, 1))
{
    filling_.reserve(blockLength_);
}

void SampleBlocks::push(QByteArrayView samples)
{
    qsizetype offset = 0;
    while (offset < samples.size()) {
        const qsizetype room = blockLength_ - filling_.size();
        const qsizetype n = std::min(room, samples.size() - offset);
        filling_.append(samples.data() + offset, n);
        offset += n;
        if (filling_.size() == blockLength_) {
            completed_.swap(filling_);
            filling_.clear();
            done_ = true;
        }
    }
}

bool SampleBlocks::take(QByteArray *block)
{
    if (!done_)
        return false;
    *block = completed_;
    done_ = false;
    return true;
}

void SampleBlocks::clear()
{
    filling_.clear();
    completed_.clear();
    done_ = false;
}
