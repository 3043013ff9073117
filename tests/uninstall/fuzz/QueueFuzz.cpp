// libFuzzer target over the receive queue: chunks appended and bytes and lines read in an order the
// input chooses, held against a plain string doing the same.
#include "FuzzCheck.h"

#include "uninstall/ReceiveQueue.h"

using uninstall::TReceiveQueue;
using uninstall_fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TReceiveQueue queue;
    std::string model;
    size_t at = 0;
    // Each step: an operation byte, then what it needs.
    while (at < size) {
        const uint8_t operation = data[at++];
        const size_t amount = operation >> 2;
        switch (operation & 3) {
        case 0: {
            const size_t take = std::min(amount, size - at);
            const std::string chunk(reinterpret_cast<const char*>(data + at), take);
            at += take;
            queue.Append(chunk);
            model += chunk;
            break;
        }
        case 1: {
            std::string out(amount, '\0');
            const size_t copied = queue.ReadBuf(out.data(), amount);
            Check(copied == std::min(amount, model.size()), "ReadBuf copies what it can");
            Check(out.compare(0, copied, model, 0, copied) == 0, "ReadBuf copies the head");
            model.erase(0, copied);
            break;
        }
        default: {
            const char delimiter = at < size ? static_cast<char>(data[at++]) : '\n';
            const size_t found = model.find(delimiter);
            Check(queue.Contains(delimiter) == (found != std::string::npos), "Contains finds the delimiter");
            const std::string line = queue.ReadLine(delimiter);
            if (found == std::string::npos) {
                Check(line.empty(), "no delimiter: no line");
            } else {
                Check(line == model.substr(0, found), "the line is what comes before the delimiter");
                model.erase(0, found + 1);
            }
            break;
        }
        }
        Check(queue.Count() == model.size(), "Count is the bytes queued");
    }
    std::string rest;
    for (size_t i = 0; i < queue.ChunkCount(); ++i)
        rest += queue.Chunk(i);
    Check(rest == model, "the chunks hold the unread bytes in order");
    return 0;
}
