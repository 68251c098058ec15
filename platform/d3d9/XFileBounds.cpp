// The importer's text reader takes a count as a run of digits (wrapping at 32 bits, negated after
// a minus sign) ended by a separator, sizes its array by it and then reads the elements. Telling
// counts from indices or key times needs the whole grammar, so every number the reader could take
// as a count is bounded instead: each element behind a count takes at least a digit and a
// separator, so no count can exceed half the file, and an index is below a vertex count that is
// bounded the same way. Fractions, exponents and numbers not ended by a separator can never be
// read as a count and are left alone.
#include "platform/d3d9/XFileBounds.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

constexpr std::size_t kHeaderBytes = 16;  // "xof 0303txt 0032"
// Far above the game's own mesh (some hundreds of vertices and faces).
constexpr std::uint32_t kMaxCount = 1u << 20;
// Every object opens a brace. The importer nests one call per frame, and compares each of a
// mesh's materials with every face when it splits the mesh.
constexpr std::size_t kMaxObjects = 4096;
constexpr std::uint64_t kMaxSplitSteps = 1ull << 28;
// A texture name's doubled backslashes are halved one per pass over the whole name.
constexpr std::size_t kMaxBackslashes = 1024;

bool Space(unsigned char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool Digit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

// Where the reader's number may begin: after white space, a separator or a brace.
bool NumberMayStart(const unsigned char* data, std::size_t at)
{
    if (at == kHeaderBytes) {
        return true;
    }
    unsigned char before = data[at - 1];
    return Space(before) || before == ',' || before == ';' || before == '{' || before == '}';
}

// The importer's text reader, as far as a material list needs it.
struct TextReader {
    const unsigned char* data;
    std::size_t size;
    std::size_t at;

    // White space, and comments from "#" or "//" to the end of the line.
    void SkipSpace()
    {
        for (std::size_t before = at + 1; before != at;) {
            before = at;
            SkipComment();
        }
    }

    // One white space character, or one comment with its line end.
    void SkipComment()
    {
        if (at < size && Space(data[at])) {
            ++at;
        } else if (at < size && (data[at] == '#' || (data[at] == '/' && at + 1 < size && data[at + 1] == '/'))) {
            while (at < size && data[at] != '\n' && data[at] != '\r') {
                ++at;
            }
            at += at < size;
        }
    }

    // A brace or a separator alone, else everything up to white space or one of them; empty at the end.
    std::string_view Token()
    {
        SkipSpace();
        const std::size_t start = at;
        while (at < size && !Space(data[at])) {
            const unsigned char c = data[at];
            if (c == ';' || c == ',' || c == '{' || c == '}') {
                at += at == start;
                break;
            }
            ++at;
        }
        return {reinterpret_cast<const char*>(data) + start, at - start};
    }

    // Digits, with a minus sign wrapping as an unsigned count does, then a separator.
    bool Int(std::uint32_t* value)
    {
        SkipSpace();
        const bool negative = at < size && data[at] == '-';
        at += negative;
        if (at >= size || !Digit(data[at])) {
            return false;
        }
        *value = 0;
        for (; at < size && Digit(data[at]); ++at) {
            *value = *value * 10u + static_cast<std::uint32_t>(data[at] - '0');
        }
        if (negative) {
            *value = 0u - *value;
        }
        const std::string_view separator = Token();
        return separator == "," || separator == ";";
    }
};

// Whether a material list, read as the importer reads it from just after its name, ends with
// face materials and no material. The importer then looks up a material that is not there.
bool ListsFacesWithoutMaterials(TextReader& r)
{
    std::string_view head = r.Token();
    if (head != "{" && r.Token() != "{") {
        return false;
    }
    std::uint32_t materials = 0, faces = 0, index = 0;
    if (!r.Int(&materials) || !r.Int(&faces)) {
        return false;
    }
    for (std::uint32_t f = 0; f < faces; ++f) {
        if (!r.Int(&index)) {
            return false;
        }
    }
    r.at += r.at < r.size && r.data[r.at] == ';';
    for (;;) {
        std::string_view t = r.Token();
        if (t.empty() || t == "{" || t == "Material") {
            return false;  // the end of the file fails the load; a material is there
        }
        if (t == "}") {
            return faces > 0;
        }
        if (t == ";") {
            continue;
        }
        // Any other object is skipped to its matching brace.
        do {
            t = r.Token();
        } while (!t.empty() && t != "{");
        for (int depth = 1; depth > 0 && !t.empty();) {
            t = r.Token();
            depth += (t == "{") - (t == "}");
        }
        if (t.empty()) {
            return false;
        }
    }
}

// Whether a normals list, read from just after its name, has a face that names a normal beyond
// the list. The importer looks the named normals up unchecked. Only a list read through to such a
// face is refused; anything else is left to the importer.
bool NamesNormalBeyondList(TextReader& r)
{
    std::string_view head = r.Token();
    if (head != "{" && r.Token() != "{") {
        return false;
    }
    std::uint32_t normals = 0, faces = 0, corners = 0, index = 0;
    if (!r.Int(&normals) || normals > kMaxCount) {
        return false;
    }
    // Three components a normal, each a number token ended by a separator (another separator may
    // close the vector).
    for (std::uint64_t component = 0; component < 3ull * normals; ++component) {
        std::string_view t = r.Token();
        if (t.empty() || t == "{" || t == "}") {
            return false;
        }
        if (t == ";" || t == ",") {
            --component;  // a separator that closes a vector or the list
            continue;
        }
        if (r.Token() != ";") {
            return false;
        }
    }
    r.SkipSpace();
    while (r.at < r.size && (r.data[r.at] == ';' || r.data[r.at] == ',')) {
        ++r.at;
        r.SkipSpace();
    }
    if (!r.Int(&faces)) {
        return false;
    }
    for (std::uint32_t f = 0; f < faces; ++f) {
        if (!r.Int(&corners) || corners > kMaxCount) {
            return false;
        }
        for (std::uint32_t c = 0; c < corners; ++c) {
            if (!r.Int(&index)) {
                return false;
            }
            if (index >= normals) {
                return true;
            }
        }
        r.SkipSpace();
        while (r.at < r.size && (r.data[r.at] == ';' || r.data[r.at] == ',')) {
            ++r.at;
            r.SkipSpace();
        }
    }
    return false;
}

}  // namespace

bool XFileWithinBounds(const unsigned char* data, std::size_t size)
{
    if (!data || size < kHeaderBytes || std::memcmp(data, "xof ", 4) != 0 || std::memcmp(data + 8, "txt ", 4) != 0) {
        return false;
    }
    const std::uint64_t fits = size / 2;
    std::size_t objects = 0, backslashes = 0, listSteps = 0, walkFrom = 0, walkTo = 0;
    std::uint64_t largest = 0;
    for (std::size_t i = kHeaderBytes; i < size;) {
        const unsigned char c = data[i];
        if (!Digit(c)) {
            objects += c == '{';
            backslashes += c == '\\';
            // The importer writes a bone's weights to the vertices they name unchecked; the
            // game draws no bones, so a file that has them is refused.
            if (c == 'S' && size - i >= 11 && std::memcmp(data + i, "SkinWeights", 11) == 0) {
                return false;
            }
            if (c == 'M' && size - i >= 11 && std::memcmp(data + i, "MeshNormals", 11) == 0) {
                TextReader list{data, size, i + 11};
                if (NamesNormalBeyondList(list)) {
                    return false;
                }
                listSteps += list.at - i;
                if (listSteps > 2 * size) {
                    return false;
                }
            }
            if (c == 'M' && size - i >= 16 && std::memcmp(data + i, "MeshMaterialList", 16) == 0) {
                // Every occurrence, as the importer may meet any of them. A list ends at its
                // first material, so a file whose lists take longer to read than the file is
                // not one of ours, and the scan stays linear.
                TextReader list{data, size, i + 16};
                if (ListsFacesWithoutMaterials(list)) {
                    return false;
                }
                listSteps += list.at - i;
                if (listSteps > 2 * size) {
                    return false;
                }
            }
            ++i;
            continue;
        }
        const std::size_t start = i;
        std::uint32_t value = 0;
        for (; i < size && Digit(data[i]); ++i) {
            value = value * 10u + static_cast<std::uint32_t>(data[i] - '0');
        }
        const bool negative = start > kHeaderBytes && data[start - 1] == '-';
        if (!NumberMayStart(data, negative ? start - 1 : start)) {
            continue;
        }
        // Where the next token begins, as the reader skips white space and comments. Walks
        // that meet at the start of a line end alike: reusing the last walk's end keeps the scan
        // linear over many numbers in many comment lines.
        std::size_t at = i;
        for (;;) {
            if (at > walkFrom && at <= walkTo && (data[at - 1] == '\n' || data[at - 1] == '\r')) {
                at = walkTo;
                break;
            }
            const std::size_t before = at;
            TextReader step{data, size, at};
            step.SkipComment();
            at = step.at;
            if (at == before) {
                break;
            }
        }
        walkFrom = i;
        walkTo = at;
        if (at >= size || (data[at] != ',' && data[at] != ';')) {
            continue;
        }
        if (negative) {
            value = 0u - value;
        }
        if (value > kMaxCount || value > fits) {
            return false;
        }
        largest = std::max<std::uint64_t>(largest, value);
    }
    return objects <= kMaxObjects && backslashes <= kMaxBackslashes &&
           objects * largest <= kMaxSplitSteps;
}
