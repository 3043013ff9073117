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
    // The same into line, whose room is reused: false, and line untouched, without a delimiter.
    bool ReadLine(char delimiter, std::string& line);
    bool Contains(char delimiter) const;
    // The queued bytes, chunk by chunk, for inspection.
    std::string Chunk(size_t index) const;
    void Clear() noexcept;

private:
    // The index of the first chunk that may hold delimiter: a search resumes where the last one for
    // the same delimiter stopped, so that a line arriving in many small chunks is not searched from
    // its start after every chunk.
    size_t FirstChunkToSearch(char delimiter) const;
    void SearchedUpTo(char delimiter, size_t chunk) const;
    void DropHeadChunk();

    std::deque<std::string> FChunks;
    // Bytes of the head chunk already read: a chunk read in part keeps only its unread rest.
    size_t FHeadRead = 0;
    size_t FCount = 0;
    // The chunks before FSearchedChunks (counted from the head) hold no FSearchedDelimiter.
    mutable char FSearchedDelimiter = 0;
    mutable size_t FSearchedChunks = 0;
};

} // namespace uninstall
