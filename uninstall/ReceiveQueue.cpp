#include "uninstall/ReceiveQueue.h"

#include <algorithm>
#include <cstring>

namespace uninstall {

void TReceiveQueue::Append(std::string chunk) {
    if (chunk.empty())
        return;
    FCount += chunk.size();
    FChunks.push_back(std::move(chunk));
}

size_t TReceiveQueue::ReadBuf(char* destination, size_t n) {
    size_t copied = 0;
    while (copied < n && !FChunks.empty()) {
        const std::string& head = FChunks.front();
        const size_t unread = head.size() - FHeadRead;
        const size_t take = std::min(unread, n - copied);
        std::memcpy(destination + copied, head.data() + FHeadRead, take);
        copied += take;
        if (take == unread) {
            DropHeadChunk();
        } else {
            FHeadRead += take;
        }
    }
    FCount -= copied;
    return copied;
}

size_t TReceiveQueue::FirstChunkToSearch(char delimiter) const {
    return delimiter == FSearchedDelimiter ? std::min(FSearchedChunks, FChunks.size()) : 0;
}

void TReceiveQueue::SearchedUpTo(char delimiter, size_t chunk) const {
    FSearchedDelimiter = delimiter;
    FSearchedChunks = chunk;
}

void TReceiveQueue::DropHeadChunk() {
    FChunks.pop_front();
    FHeadRead = 0;
    if (FSearchedChunks > 0)
        --FSearchedChunks;
}

bool TReceiveQueue::Contains(char delimiter) const {
    for (size_t i = FirstChunkToSearch(delimiter); i < FChunks.size(); ++i)
        if (FChunks[i].find(delimiter, i == 0 ? FHeadRead : 0) != std::string::npos) {
            SearchedUpTo(delimiter, i);
            return true;
        }
    SearchedUpTo(delimiter, FChunks.size());
    return false;
}

std::string TReceiveQueue::ReadLine(char delimiter) {
    std::string line;
    ReadLine(delimiter, line);
    return line;
}

bool TReceiveQueue::ReadLine(char delimiter, std::string& line) {
    if (!Contains(delimiter))
        return false;
    // Contains stopped at the chunk holding the delimiter; the chunks before it are read whole.
    size_t length = 0;
    for (size_t i = 0; i < FSearchedChunks; ++i)
        length += FChunks[i].size() - (i == 0 ? FHeadRead : 0);
    const size_t start = FSearchedChunks == 0 ? FHeadRead : 0;
    length += FChunks[FSearchedChunks].find(delimiter, start) - start;
    line.resize(length);
    ReadBuf(line.data(), length);
    char skipped;
    ReadBuf(&skipped, 1);
    return true;
}

std::string TReceiveQueue::Chunk(size_t index) const {
    if (index >= FChunks.size())
        return {};
    return FChunks[index].substr(index == 0 ? FHeadRead : 0);
}

void TReceiveQueue::Clear() noexcept {
    FChunks.clear();
    FHeadRead = 0;
    FCount = 0;
    FSearchedChunks = 0;
}

} // namespace uninstall
