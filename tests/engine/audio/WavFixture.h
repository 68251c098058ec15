#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Builds WAV files chunk by chunk, so that a test can make well-formed and broken ones.
class WavFixture {
public:
    using Bytes = std::vector<std::uint8_t>;

    static Bytes FormatChunk(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                             bool withExtraSize = true);
    static Bytes Chunk(const char id[4], const Bytes& body, std::uint32_t declaredSize = 0xFFFFFFFFu);
    // A RIFF of the form type holding the chunks; riffSize overrides the declared size.
    static Bytes Riff(const char form[4], const std::vector<Bytes>& chunks, std::uint32_t riffSize = 0xFFFFFFFFu);
    // 16-bit mono PCM samples as little-endian bytes.
    static Bytes Pcm16(const std::vector<std::int16_t>& samples);
    // A whole 16-bit mono PCM file.
    static Bytes Mono16(std::uint32_t rate, const std::vector<std::int16_t>& samples);

    static void Write(const std::string& path, const Bytes& bytes);
};
