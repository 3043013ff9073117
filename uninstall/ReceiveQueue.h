// Data a socket received and its owner has not read yet, as an ordered list of chunks.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

namespace uninstall {

class TReceiveQueue {
public:
    void Append(std::string chunk);
    // Number of queued bytes.
    size_t Count() const noexcept { return FCount; }
    size_t ChunkCount() const noexcept { return FChunks.size(); }
    // Copies up to n bytes from the head into destination and removes them; returns the number copied.
    size_t ReadBuf(char* destination, size_t n);
    // The bytes before the next delimiter, which is removed too. Without a delimiter in the queue the
    // result is empty and nothing is removed.
    std::string ReadLine(char delimiter);
    bool Contains(char delimiter) const;
    // The queued bytes, chunk by chunk, for inspection.
    std::string Chunk(size_t index) const;
    void Clear() noexcept;

private:
    std::deque<std::string> FChunks;
    // Bytes of the head chunk already read: a chunk read in part keeps only its unread rest.
    size_t FHeadRead = 0;
    size_t FCount = 0;
};

} // namespace uninstall
