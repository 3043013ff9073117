// Writes an uncompressed AVI: a moving test pattern with a frame counter over a 440 Hz tone.
// Usage: MakeSampleAvi OUT.avi [seconds=10] [width=320] [height=240] [fps=25]
// Plain C++ so that it runs wherever the build runs it.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kSampleRate = 44100;
constexpr int kChannels = 2;
constexpr int kBitsPerSample = 16;

struct Options {
    std::string path;
    int seconds = 10;
    int width = 320;
    int height = 240;
    int fps = 25;
};

class ByteWriter {
public:
    void u8(uint8_t v) { bytes.push_back(v); }
    void u16(uint16_t v) {
        u8(v & 0xFF);
        u8(v >> 8);
    }
    void u32(uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void fourcc(const char* c) {
        for (int i = 0; i < 4; ++i)
            u8(static_cast<uint8_t>(c[i]));
    }
    void raw(const std::vector<uint8_t>& data) { bytes.insert(bytes.end(), data.begin(), data.end()); }
    // Opens a chunk and returns where its size goes.
    size_t openChunk(const char* id) {
        fourcc(id);
        size_t at = bytes.size();
        u32(0);
        return at;
    }
    size_t openList(const char* listType, const char* name) {
        size_t at = openChunk(listType);
        fourcc(name);
        return at;
    }
    void closeChunk(size_t sizeAt) {
        uint32_t size = static_cast<uint32_t>(bytes.size() - sizeAt - 4);
        for (int i = 0; i < 4; ++i)
            bytes[sizeAt + i] = static_cast<uint8_t>(size >> (8 * i));
        if (size & 1)
            u8(0);
    }
    std::vector<uint8_t> bytes;
};

// 5 x 7 digit glyphs, one row per byte, bit 4 leftmost.
constexpr uint8_t kDigits[10][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
};

class Frame {
public:
    Frame(int width, int height) : w(width), h(height), stride((width * 3 + 3) & ~3), pixels(stride * height) {}

    void set(int x, int y, uint8_t r, uint8_t g, uint8_t b) {
        if (x < 0 || y < 0 || x >= w || y >= h)
            return;
        // DIBs are stored bottom-up, BGR.
        uint8_t* p = &pixels[(h - 1 - y) * stride + x * 3];
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
    void fillRect(int x0, int y0, int cx, int cy, uint8_t r, uint8_t g, uint8_t b) {
        for (int y = y0; y < y0 + cy; ++y)
            for (int x = x0; x < x0 + cx; ++x)
                set(x, y, r, g, b);
    }
    void drawNumber(int number, int x, int y, int scale) {
        std::string text = std::to_string(number);
        for (char c : text) {
            const uint8_t* glyph = kDigits[c - '0'];
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (glyph[row] & (0x10 >> col))
                        fillRect(x + col * scale, y + row * scale, scale, scale, 255, 255, 255);
            x += 6 * scale;
        }
    }

    const int w, h, stride;
    std::vector<uint8_t> pixels;
};

std::vector<uint8_t> drawFrame(const Options& o, int index) {
    static constexpr uint8_t bars[8][3] = {{192, 192, 192}, {192, 192, 0}, {0, 192, 192}, {0, 192, 0},
                                           {192, 0, 192},   {192, 0, 0},   {0, 0, 192},   {16, 16, 16}};
    Frame f(o.width, o.height);
    int shift = index * 4;
    for (int x = 0; x < o.width; ++x) {
        const uint8_t* c = bars[((x + shift) * 8 / o.width) % 8];
        f.fillRect(x, 0, 1, o.height * 2 / 3, c[0], c[1], c[2]);
    }
    for (int x = 0; x < o.width; ++x) {
        uint8_t v = static_cast<uint8_t>(x * 255 / std::max(1, o.width - 1));
        f.fillRect(x, o.height * 2 / 3, 1, o.height - o.height * 2 / 3, v, v, v);
    }
    // A box bouncing across the lower band shows motion at a glance.
    int span = std::max(1, o.width - o.height / 6);
    int period = 2 * span;
    int pos = (index * 6) % period;
    int boxX = pos < span ? pos : period - pos;
    f.fillRect(boxX, o.height * 2 / 3, o.height / 6, o.height / 6, 230, 60, 40);
    int scale = std::max(1, o.height / 40);
    f.fillRect(4, 4, 6 * scale * 5 + 4, 7 * scale + 4, 0, 0, 0);
    f.drawNumber(index, 6, 6, scale);
    return f.pixels;
}

std::vector<uint8_t> toneSamples(int firstSample, int count) {
    std::vector<uint8_t> out;
    out.reserve(count * kChannels * 2);
    for (int i = 0; i < count; ++i) {
        double t = static_cast<double>(firstSample + i) / kSampleRate;
        auto v = static_cast<int16_t>(std::lround(8000.0 * std::sin(2.0 * 3.14159265358979 * 440.0 * t)));
        for (int c = 0; c < kChannels; ++c) {
            out.push_back(static_cast<uint8_t>(v & 0xFF));
            out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
        }
    }
    return out;
}

struct IndexEntry {
    const char* id;
    uint32_t offset;
    uint32_t size;
};

void writeHeaders(ByteWriter& out, const Options& o, uint32_t frames, uint32_t frameBytes) {
    const uint32_t audioBytesPerSec = kSampleRate * kChannels * kBitsPerSample / 8;
    size_t hdrl = out.openList("LIST", "hdrl");
    size_t avih = out.openChunk("avih");
    out.u32(1000000 / o.fps);                         // microseconds per frame
    out.u32(frameBytes * o.fps + audioBytesPerSec);   // max bytes per second
    out.u32(0);                                       // padding granularity
    out.u32(0x10);                                    // AVIF_HASINDEX
    out.u32(frames);
    out.u32(0);                                       // initial frames
    out.u32(2);                                       // streams
    out.u32(frameBytes);                              // suggested buffer size
    out.u32(o.width);
    out.u32(o.height);
    for (int i = 0; i < 4; ++i)
        out.u32(0);
    out.closeChunk(avih);

    size_t videoList = out.openList("LIST", "strl");
    size_t strh = out.openChunk("strh");
    out.fourcc("vids");
    out.fourcc("DIB ");
    out.u32(0);
    out.u16(0);
    out.u16(0);
    out.u32(0);
    out.u32(1);      // scale
    out.u32(o.fps);  // rate
    out.u32(0);
    out.u32(frames);
    out.u32(frameBytes);
    out.u32(0xFFFFFFFF);
    out.u32(0);
    out.u16(0);
    out.u16(0);
    out.u16(static_cast<uint16_t>(o.width));
    out.u16(static_cast<uint16_t>(o.height));
    out.closeChunk(strh);
    size_t strf = out.openChunk("strf");
    out.u32(40);
    out.u32(o.width);
    out.u32(o.height);
    out.u16(1);
    out.u16(24);
    out.u32(0);  // BI_RGB
    out.u32(frameBytes);
    for (int i = 0; i < 4; ++i)
        out.u32(0);
    out.closeChunk(strf);
    out.closeChunk(videoList);

    size_t audioList = out.openList("LIST", "strl");
    strh = out.openChunk("strh");
    out.fourcc("auds");
    out.u32(0);
    out.u32(0);
    out.u16(0);
    out.u16(0);
    out.u32(0);
    out.u32(kChannels * kBitsPerSample / 8);  // scale: one sample frame
    out.u32(audioBytesPerSec);                // rate
    out.u32(0);
    out.u32(static_cast<uint32_t>(o.seconds) * kSampleRate);
    out.u32(audioBytesPerSec);
    out.u32(0xFFFFFFFF);
    out.u32(kChannels * kBitsPerSample / 8);
    for (int i = 0; i < 4; ++i)
        out.u16(0);
    out.closeChunk(strh);
    strf = out.openChunk("strf");
    out.u16(1);  // WAVE_FORMAT_PCM
    out.u16(kChannels);
    out.u32(kSampleRate);
    out.u32(audioBytesPerSec);
    out.u16(kChannels * kBitsPerSample / 8);
    out.u16(kBitsPerSample);
    out.closeChunk(strf);
    out.closeChunk(audioList);
    out.closeChunk(hdrl);
}

bool parseArgs(int argc, char** argv, Options& o) {
    if (argc < 2)
        return false;
    o.path = argv[1];
    int* fields[] = {&o.seconds, &o.width, &o.height, &o.fps};
    for (int i = 2; i < argc && i < 6; ++i)
        *fields[i - 2] = std::atoi(argv[i]);
    return o.seconds > 0 && o.seconds <= 3600 && o.width >= 16 && o.width <= 4096 && o.height >= 16 &&
           o.height <= 4096 && o.fps > 0 && o.fps <= 120;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parseArgs(argc, argv, o)) {
        std::fprintf(stderr, "usage: MakeSampleAvi OUT.avi [seconds] [width] [height] [fps]\n");
        return 2;
    }
    const uint32_t frames = static_cast<uint32_t>(o.seconds * o.fps);
    const uint32_t frameBytes = static_cast<uint32_t>(((o.width * 3 + 3) & ~3) * o.height);

    ByteWriter out;
    size_t riff = out.openList("RIFF", "AVI ");
    writeHeaders(out, o, frames, frameBytes);

    std::vector<IndexEntry> index;
    size_t movi = out.openList("LIST", "movi");
    // Index offsets count from the 'movi' fourcc to each chunk's fourcc.
    const size_t moviFourcc = movi + 4;
    int samplesWritten = 0;
    for (uint32_t i = 0; i < frames; ++i) {
        size_t at = out.openChunk("00db");
        out.raw(drawFrame(o, static_cast<int>(i)));
        out.closeChunk(at);
        index.push_back({"00db", static_cast<uint32_t>(at - 4 - moviFourcc), frameBytes});

        int samplesDue = static_cast<int>((static_cast<int64_t>(i) + 1) * kSampleRate / o.fps);
        std::vector<uint8_t> audio = toneSamples(samplesWritten, samplesDue - samplesWritten);
        samplesWritten = samplesDue;
        at = out.openChunk("01wb");
        out.raw(audio);
        out.closeChunk(at);
        index.push_back({"01wb", static_cast<uint32_t>(at - 4 - moviFourcc), static_cast<uint32_t>(audio.size())});
    }
    out.closeChunk(movi);

    size_t idx1 = out.openChunk("idx1");
    for (const IndexEntry& e : index) {
        out.fourcc(e.id);
        out.u32(0x10);  // AVIIF_KEYFRAME
        out.u32(e.offset);
        out.u32(e.size);
    }
    out.closeChunk(idx1);
    out.closeChunk(riff);

    std::ofstream file(o.path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.bytes.data()), static_cast<std::streamsize>(out.bytes.size()));
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", o.path.c_str());
        return 1;
    }
    return 0;
}
