// Private profile (INI) files: sections and keys ignore case, a missing file, section, key or an
// empty value gives the default, and a write keeps every other line. A rewrite replaces the file
// whole (through a link, keeping its permissions), so it is never left half written; a write that
// changes nothing leaves the file alone.
#include <errno.h>
#include <sys/stat.h>

#include <cctype>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win32/FileReplacement.h"
#include "platform/win32/RegularFile.h"
#include "platform/win32/Win32Kernel.h"

namespace {

std::mutex g_profileMutex;

std::string Trim(const std::string& s)
{
    std::size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) {
        return "";
    }
    std::size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

bool SameName(const std::string& a, const char* b)
{
    std::string bb = b;
    if (a.size() != bb.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(bb[i]))) {
            return false;
        }
    }
    return true;
}

// A settings file is a few lines; anything larger is not one and is neither read nor replaced.
constexpr std::size_t kMaxProfileBytes = 1 << 20;

enum class ReadResult { Read, Missing, Unreadable };

// The file as lines, each with its own line ending kept.
ReadResult ReadLines(const std::string& path, std::vector<std::string>* lines)
{
    std::string text;
    if (!ReadRegularFile(path, kMaxProfileBytes, &text)) {
        // A link to a file not yet made counts as missing: the write makes the file it names.
        struct stat info{};
        return stat(path.c_str(), &info) != 0 && errno == ENOENT ? ReadResult::Missing : ReadResult::Unreadable;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t nl = text.find('\n', start);
        if (nl == std::string::npos) {
            lines->push_back(text.substr(start));
            break;
        }
        lines->push_back(text.substr(start, nl - start + 1));
        start = nl + 1;
    }
    return ReadResult::Read;
}

// "[name]" gives name; anything else is not a section header.
bool SectionName(const std::string& line, std::string* name)
{
    std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[') {
        return false;
    }
    std::size_t close = t.find(']');
    if (close == std::string::npos) {
        return false;
    }
    *name = Trim(t.substr(1, close - 1));
    return true;
}

// "key=value" gives both; comments and lines without '=' give false.
bool KeyValue(const std::string& line, std::string* key, std::string* value)
{
    std::string t = Trim(line);
    if (t.empty() || t[0] == ';') {
        return false;
    }
    std::size_t eq = t.find('=');
    if (eq == std::string::npos) {
        return false;
    }
    *key = Trim(t.substr(0, eq));
    *value = Trim(t.substr(eq + 1));
    if (value->size() >= 2 && (value->front() == '"' || value->front() == '\'') && value->back() == value->front()) {
        *value = value->substr(1, value->size() - 2);
    }
    return true;
}

bool FindValue(const std::vector<std::string>& lines, const char* section, const char* key, std::string* value)
{
    bool inSection = false;
    for (const auto& line : lines) {
        std::string name, k, v;
        if (SectionName(line, &name)) {
            inSection = SameName(name, section);
        } else if (inSection && KeyValue(line, &k, &v) && SameName(k, key)) {
            *value = v;
            return true;
        }
    }
    return false;
}

}  // namespace

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR fileName)
{
    if (!section || !key || !fileName) {
        return static_cast<UINT>(defaultValue);
    }
    std::lock_guard lock(g_profileMutex);
    std::vector<std::string> lines;
    std::string value;
    if (ReadLines(Win32HostPath(fileName), &lines) != ReadResult::Read || !FindValue(lines, section, key, &value) || value.empty()) {
        return static_cast<UINT>(defaultValue);
    }
    // An optional sign and the leading decimal digits; anything after them is ignored.
    std::size_t i = 0;
    bool negative = false;
    if (value[i] == '-' || value[i] == '+') {
        negative = value[i] == '-';
        ++i;
    }
    std::uint32_t result = 0;
    for (; i < value.size() && std::isdigit(static_cast<unsigned char>(value[i])); ++i) {
        result = result * 10u + static_cast<std::uint32_t>(value[i] - '0');
    }
    return negative ? static_cast<UINT>(0u - result) : static_cast<UINT>(result);
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName)
{
    if (!section || !fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard lock(g_profileMutex);
    std::string path = Win32HostPath(fileName);
    std::vector<std::string> lines;
    ReadResult read = ReadLines(path, &lines);
    if (read == ReadResult::Unreadable) {
        // Whatever is there (a folder, a pipe, a huge file) is the user's: it is not replaced.
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    std::string original;
    for (const auto& l : lines) {
        original += l;
    }

    // Where the section starts and where its last key line ends.
    int sectionLine = -1;
    int lastInSection = -1;
    int keyLine = -1;
    bool inSection = false;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        std::string name, k, v;
        if (SectionName(lines[i], &name)) {
            inSection = SameName(name, section);
            if (inSection && sectionLine < 0) {
                sectionLine = i;
                lastInSection = i;
            } else if (inSection) {
                inSection = false;  // only the first section of that name counts
            }
        } else if (inSection) {
            if (KeyValue(lines[i], &k, &v)) {
                lastInSection = i;
                if (key && keyLine < 0 && SameName(k, key)) {
                    keyLine = i;
                }
            }
        }
    }

    auto ending = [&](int i) {
        const std::string& l = lines[static_cast<std::size_t>(i)];
        if (l.size() >= 2 && l[l.size() - 2] == '\r') {
            return std::string("\r\n");
        }
        return std::string("\n");
    };

    if (!key) {
        // A null key removes the whole section.
        if (sectionLine >= 0) {
            int end = sectionLine + 1;
            std::string name;
            while (end < static_cast<int>(lines.size()) && !SectionName(lines[end], &name)) {
                ++end;
            }
            lines.erase(lines.begin() + sectionLine, lines.begin() + end);
        }
    } else if (!value) {
        if (keyLine >= 0) {
            lines.erase(lines.begin() + keyLine);
        }
    } else {
        std::string entry = std::string(key) + "=" + value;
        if (keyLine >= 0) {
            lines[keyLine] = entry + ending(keyLine);
        } else if (sectionLine >= 0) {
            if (!lines[lastInSection].empty() && lines[lastInSection].back() != '\n') {
                lines[lastInSection] += "\n";
            }
            lines.insert(lines.begin() + lastInSection + 1, entry + "\n");
        } else {
            if (!lines.empty() && !lines.back().empty() && lines.back().back() != '\n') {
                lines.back() += "\n";
            }
            lines.push_back("[" + std::string(section) + "]\n");
            lines.push_back(entry + "\n");
        }
    }

    std::string text;
    for (const auto& l : lines) {
        text += l;
    }
    if (read == ReadResult::Read && text == original) {
        return TRUE;  // nothing changed: the file is not rewritten
    }
    if (!ReplaceRegularFile(path, text.data(), text.size())) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return TRUE;
}
