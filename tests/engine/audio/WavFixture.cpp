#include "tests/engine/audio/WavFixture.h"

#include <fstream>

namespace {

void Put32(WavFixture::Bytes& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

void Put16(WavFixture::Bytes& b, std::uint16_t v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

}  // namespace

WavFixture::Bytes WavFixture::FormatChunk(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                                          std::uint16_t bits, bool withExtraSize)
{
    Bytes body;
    std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
    Put16(body, tag);
    Put16(body, channels);
    Put32(body, rate);
    Put32(body, rate * align);
    Put16(body, align);
    Put16(body, bits);
    if (withExtraSize) {
        Put16(body, 0);
    }
    return Chunk("fmt ", body);
}

WavFixture::Bytes WavFixture::Chunk(const char id[4], const Bytes& body, std::uint32_t declaredSize)
{
    Bytes b(id, id + 4);
    Put32(b, declaredSize == 0xFFFFFFFFu ? static_cast<std::uint32_t>(body.size()) : declaredSize);
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1) {
        b.push_back(0);
    }
    return b;
}

WavFixture::Bytes WavFixture::Riff(const char form[4], const std::vector<Bytes>& chunks, std::uint32_t riffSize)
{
    Bytes inner(form, form + 4);
    for (const Bytes& c : chunks) {
        inner.insert(inner.end(), c.begin(), c.end());
    }
    Bytes b{'R', 'I', 'F', 'F'};
    Put32(b, riffSize == 0xFFFFFFFFu ? static_cast<std::uint32_t>(inner.size()) : riffSize);
    b.insert(b.end(), inner.begin(), inner.end());
    return b;
}

WavFixture::Bytes WavFixture::Pcm16(const std::vector<std::int16_t>& samples)
{
    Bytes b;
    for (std::int16_t s : samples) {
        Put16(b, static_cast<std::uint16_t>(s));
    }
    return b;
}

WavFixture::Bytes WavFixture::Mono16(std::uint32_t rate, const std::vector<std::int16_t>& samples)
{
    return Riff("WAVE", {FormatChunk(1, 1, rate, 16), Chunk("data", Pcm16(samples))});
}

void WavFixture::Write(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
