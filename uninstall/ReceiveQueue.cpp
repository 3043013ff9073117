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
            FChunks.pop_front();
            FHeadRead = 0;
        } else {
            FHeadRead += take;
        }
    }
    FCount -= copied;
    return copied;
}

bool TReceiveQueue::Contains(char delimiter) const {
    for (size_t i = 0; i < FChunks.size(); ++i)
        if (FChunks[i].find(delimiter, i == 0 ? FHeadRead : 0) != std::string::npos)
            return true;
    return false;
}

std::string TReceiveQueue::ReadLine(char delimiter) {
    size_t length = 0;
    bool found = false;
    for (size_t i = 0; i < FChunks.size() && !found; ++i) {
        const size_t start = i == 0 ? FHeadRead : 0;
        const size_t at = FChunks[i].find(delimiter, start);
        found = at != std::string::npos;
        length += (found ? at : FChunks[i].size()) - start;
    }
    if (!found)
        return {};
    std::string line(length, '\0');
    ReadBuf(line.data(), length);
    char skipped;
    ReadBuf(&skipped, 1);
    return line;
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
}

} // namespace uninstall
